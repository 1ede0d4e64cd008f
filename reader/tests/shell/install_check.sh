#!/bin/sh
# Installs the build into a temporary prefix and checks it as a desktop and a
# software centre would read it. Skipped (77) without the two validators.
set -eu
build=$1
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

desktop=$(echo "$prefix"/share/applications/*.desktop)
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml

# The launcher starts the installed program with the file it is given, and
# is offered for plain text; its icon is in the theme.
test "$(sed -n 's/^Exec=//p' "$desktop")" = "$prefix/bin/Quirelle %f"
grep -qx 'MimeType=text/plain;' "$desktop"
test -x "$prefix/bin/Quirelle"
test -f "$prefix/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$desktop").svg"
# Translations where the installed program looks, the toolkit's included.
test -f "$prefix/share/quirelle/Locale/en_US/quirelle_en_US.qm"
test -f "$prefix/share/quirelle/Locale/zh_CN/qtbase_zh_CN.qm"
# The installed program uses the installed library, not the build tree's.
ldd "$prefix/bin/Quirelle" | grep "libZkKit\.so" | grep -q "=> $prefix/"
echo "install into $prefix checked"
