#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run the reader,
# but only those that are missing, so a prepared machine needs no network.
set -euo pipefail

# qttranslations5-l10n: the toolkit's own dialogs in the window's language;
# desktop-file-utils and appstream check the files installed for desktops;
# libuchardet-dev tells the encodings of files without a mark apart;
# libcurl4-openssl-dev speaks HTTP and HTTPS for the update check and the
# advertisement panel; libpcre2-dev matches regular expressions of the
# user's own within bounds; libopencc-dev and libopencc-data (its
# configurations and dictionaries) show a book in simplified or traditional
# characters; qtkeychain-qt5-dev keeps the sync password in
# the desktop's keyring; rclone serves WebDAV on 127.0.0.1 for the sync
# tests and the end-to-end check.
packages=(
    cmake make g++ pkg-config
    qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev
    qttranslations5-l10n desktop-file-utils appstream libuchardet-dev
    libcurl4-openssl-dev libpcre2-dev libopencc-dev libopencc-data qtkeychain-qt5-dev rclone
)
case "${1:-}" in
# A CJK font so the Chinese interface is readable on a fresh desktop.
--run) packages+=(fonts-wqy-microhei) ;;
# A real X server to drive the installed program in, keyboard and mouse
# input, screenshots, and the locale definitions to start it under.
--e2e) packages+=(fonts-wqy-microhei xvfb xdotool imagemagick locales) ;;
# clang and its libFuzzer, ASan and UBSan runtimes.
--fuzz) packages+=(clang libclang-rt-dev) ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "This script installs them on Debian or Ubuntu only; see README.md for other systems." >&2
    exit 1
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
