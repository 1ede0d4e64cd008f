#!/usr/bin/env bash
# End-to-end check of the installed reader, driven as a person would drive it.
#
#   tools/e2e.sh [build folder]        (make e2e runs it after building)
#
# Installs the build into a temporary prefix, starts the program from the
# Exec line of its .desktop file under a private X server, once under a
# Chinese and once under an English locale, and with xdotool opens a GBK
# novel through the real file dialog, opens a second file, reopens the first
# from the recent-files menu, forces UTF-8 and back to ANSI from the encoding
# menu, adds a bookmark from the context menu, reopens the file where it was
# left, goes to its start and jumps to the bookmark, chooses it again while
# another file is open; then kills the program once the view has rested,
# starts it again and reopens the novel from the recent-files menu at the
# same text; opens a Big5 novel without a mark, which must read like its
# UTF-8 copy, and a novel with chapters, jumping to its third chapter from
# the chapter list, and a novel whose headings only a rule of its own typed
# into the chapter-rule dialog finds; and finally starts the program with a file named on its
# command line, as a file manager does, starts it a second time with
# another file, which the running window must show, and turns a page, whose
# first line must be the line the view cut at its foot before; starts it
# without a file, which must bring back the book read last, and opens a
# book from the shelf after filtering it. Last, two profiles play two
# machines against a WebDAV server on 127.0.0.1: the first reads the novel
# to its third chapter and leaves it, the second opens a copy of it under
# another name and must show the same text at the top. Each step is judged
# from screenshots, the window title, the settings files and the server's
# files only.
# Prints one line per step; screenshots stay in <build>/e2e/<locale>/.
#
# Controls are found by object name: tools/FormProbe.cpp builds the same
# window and prints where each named widget lies. Pop-up menus and dialogs
# are worked with the keyboard, as their items have no object names.
set -uo pipefail
unset QT_QPA_PLATFORM # the program must show on the private X server

build=$(realpath "${1:-build}")
source_dir=$(realpath "$(dirname "$0")/..")
out=$build/e2e
failures=0

die() { echo "e2e: $*" >&2; exit 2; }
for tool in Xvfb xdotool import compare convert localedef iconv rclone; do
    command -v "$tool" >/dev/null || die "$tool is missing (make e2e installs it)"
done

rm -rf "$out"
mkdir -p "$out/files" "$out/locale"

# --- the installed program -------------------------------------------------
prefix=$out/prefix
cmake --install "$build" --prefix "$prefix" >"$out/install.log" || die "install failed"
cmake --build "$build" --target QuirelleFormProbe >"$out/probe-build.log" 2>&1 ||
    die "building the form probe failed (see $out/probe-build.log)"
desktop_file=$(echo "$prefix"/share/applications/*.desktop)
exec_line=$(sed -n 's/^Exec=//p' "$desktop_file")
[ -n "$exec_line" ] || die "no Exec line in $desktop_file"
[ "${exec_line% %f}" != "$exec_line" ] || die "the Exec line does not pass a file: $exec_line"

# Locales are compiled privately, so nothing of the machine is changed.
for locale in zh_CN en_US; do
    localedef -i "$locale" -f UTF-8 "$out/locale/$locale.UTF-8" 2>>"$out/localedef.log" ||
        die "cannot compile the $locale locale"
done

# --- the texts read ----------------------------------------------------------
write_novel() { # chapter title, line with %d for its number, file
    {
        printf '%s\n\n' "$1"
        # shellcheck disable=SC2059 # the line is the format
        for i in $(seq 1 400); do printf "$2\\n" "$i"; done
    } >"$3"
}
novel_utf8=$out/files/novel.utf8
write_novel '第一章 风起青萍之末' '第%d行：山间的雾气慢慢散开，少年背起行囊，沿着溪水往镇上走去。' "$novel_utf8"
novel=$out/files/novel-gbk.txt
iconv -f UTF-8 -t GBK "$novel_utf8" >"$novel"
novel16=$out/files/novel-utf16.txt
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$novel_utf8"; } >"$novel16"
# The same novel in traditional characters, once in UTF-8 and once in Big5,
# without a mark, as Taiwan and Hong Kong novels circulate.
novel_tw=$out/files/novel-tw-utf8.txt
write_novel '第一章 風起青萍之末' '第%d行：山間的霧氣慢慢散開，少年背起行囊，沿著溪水往鎮上走去。' "$novel_tw"
novel_big5=$out/files/novel-big5.txt
iconv -f UTF-8 -t BIG5 "$novel_tw" >"$novel_big5"
# Four chapters, and the last two of them as a file of their own: opened,
# that one shows the third chapter's heading on its first line.
chapter_text() { # numeral, title
    printf '第%s章 %s\n' "$1" "$2"
    for i in $(seq 1 60); do printf '　　%s之后的第%d段：江水东流，少年望着远山出神。\n' "$2" "$i"; done
}
chapters=$out/files/chapters.txt
{ chapter_text 一 风起; chapter_text 二 云涌; chapter_text 三 雷动; chapter_text 四 雨落; } >"$chapters"
chapter_tail=$out/files/chapter-tail.txt
{ chapter_text 三 雷动; chapter_text 四 雨落; } >"$chapter_tail"
# A novel as a site hands it out, with a watermark line after every third
# line, and the same novel clean; and a novel broken every 18 characters by
# its site, and the same as paragraphs.
clean_novel=$out/files/clean.txt
watermarked=$out/files/watermarked.txt
for i in $(seq 1 300); do printf '第%d行：少年推开木门，屋里的灯光暖暖地照在他的脸上。\n' "$i"; done |
    iconv -f UTF-8 -t GBK >"$clean_novel"
for i in $(seq 1 300); do
    printf '第%d行：少年推开木门，屋里的灯光暖暖地照在他的脸上。\n' "$i"
    [ $((i % 3)) = 0 ] && printf 'wwＷ．xiabook.com\n'
done | iconv -f UTF-8 -t GBK >"$watermarked"
paragraph='山间的雾气慢慢散开，少年背起行囊，沿着溪水往镇上走去山间的雾气慢慢散开，少年背起行囊，沿着溪水往镇上走去山间的雾气慢慢散开，少年背起行囊，沿着溪水往镇上走去山间的雾气慢慢散开，少年背起行囊，沿着溪水往镇上走去。'
joined=$out/files/joined.txt
wrapped=$out/files/wrapped.txt
for i in $(seq 1 40); do printf '　　%s\n' "$paragraph"; done >"$joined"
for i in $(seq 1 40); do printf '%s\n' "$paragraph" | fold -w 54; done >"$wrapped"
# A novel whose headings ("◆ 风起") no automatic rule finds.
marks=$out/files/marks.txt
for title in 风起 云涌 雷动 雨落 天晴; do
    printf '◆ %s\n' "$title"
    for i in $(seq 1 40); do printf '　　%s之后的第%d段：江水东流，少年望着远山出神。\n' "$title" "$i"; done
done >"$marks"
# A novel in simplified characters and, written by hand, how it reads in
# Taiwan's script with Taiwan's words (軟體, 滑鼠, 記憶體 are longer or other
# words than the mainland's).
script_simplified=$out/files/script-simplified.txt
script_taiwan=$out/files/script-taiwan.txt
write_novel '第一章 打开软件' '第%d行：少年打开软件，鼠标一点，内存不足的提示跳了出来。' "$script_simplified"
write_novel '第一章 開啟軟體' '第%d行：少年開啟軟體，滑鼠一點，記憶體不足的提示跳了出來。' "$script_taiwan"
other=$out/files/other-utf8.txt
for i in $(seq 1 60); do printf 'Another book, line %d: the river runs east.\n' "$i"; done >"$other"

# --- the X server ------------------------------------------------------------
exec 3>"$out/display"
# Without -noreset the server resets whenever its last client leaves, and a
# program started at that moment (as after a kill) cannot connect.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
program_pid=
dav_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$dav_pid" ] && kill "$dav_pid" 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$out/display" ] && break; sleep 0.1; done
[ -s "$out/display" ] || die "Xvfb did not start (see $out/xvfb.log)"
export DISPLAY=:$(head -n1 "$out/display")

# --- helpers -----------------------------------------------------------------
declare -A WX WY WW WH # widget rectangles relative to the window
win_x=0 win_y=0 win_id=
dir= shot_no=0 locale=

# Where the window's named controls lie, as the probe finds them.
read_probe() {
    local name x y w h
    while read -r name x y w h; do
        WX[$name]=$x WY[$name]=$y WW[$name]=$w WH[$name]=$h
    done < <("$build/tools/QuirelleFormProbe" \
        "$prefix/share/quirelle/Locale" 2>>"$dir/probe.log")
}

report() { printf '%-4s %-5s %s\n' "$1" "$locale" "$2"; }

# pixels that differ between two pictures of the same size
# (anything but a number, such as an error for pictures of different sizes,
# counts as different)
pixel_difference() {
    compare -metric AE "$1" "$2" null: 2>&1 | awk '/^[0-9]/ {print int($1); next} {print "error"}'
}

wait_for() { # seconds, then a command that succeeds once the wait is over
    local deadline=$((SECONDS + $1)); shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.2
    done
}
window_named() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
no_window_named() { ! window_named "$1"; }

# Waits until the screen stops changing, then keeps the picture as NN-name.png
# and the reading view alone as NN-name.text.png.
shot() {
    local name=$1 previous=$dir/.previous.png current=$dir/.current.png
    xdotool mousemove 2 2
    import -window root "$previous"
    for _ in $(seq 20); do
        sleep 0.25
        import -window root "$current"
        [ "$(pixel_difference "$previous" "$current")" = 0 ] && break
        mv "$current" "$previous"
    done
    shot_no=$((shot_no + 1))
    last_shot=$dir/$(printf '%02d' $shot_no)-$name
    mv "$current" "$last_shot.png"
    crop "$last_shot.png" textWidget "$last_shot.text.png"
}

crop() { # picture, widget, result[, top and height of a band of rows]
    local x=$((win_x + WX[$2])) y=$((win_y + WY[$2])) w=${WW[$2]} h=${WH[$2]}
    # the scroll bar moves with the text, only the text itself is compared
    w=$((w * 3 / 4))
    if [ $# -ge 5 ]; then y=$((y + $4)) h=$5; fi
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage "$3"
}

# The rows of the text line at (or nearest to) row y of a picture of the
# reading view, as "top height": a line is a run of rows that differ from
# the background, the most common kind of row.
text_line_at() { # picture, y
    local h
    h=$(identify -format %h "$1")
    convert "$1" -scale "1x${h}!" -depth 16 txt:- | awk -v y="$2" '
        NR > 1 { split($0, f, /[,:() ]+/); v[f[2]] = f[3]; count[f[3]]++; n++ }
        END {
            for (k in count) if (count[k] > best) { best = count[k]; bg = k }
            for (d = 0; d < n; d++) {
                if (y - d >= 0 && v[y - d] != bg) { s = y - d; break }
                if (y + d < n && v[y + d] != bg) { s = y + d; break }
            }
            t = s; while (t > 0 && v[t - 1] != bg) t--
            b = s; while (b < n - 1 && v[b + 1] != bg) b++
            print t, b - t + 1
        }'
}

# Starts the program as a launcher would, with %f replaced by the file given
# (or dropped without one), and waits for its window.
start_program() { # [file]
    local command=${exec_line% %f}
    # shellcheck disable=SC2086 # the Exec line is a command line
    $command ${1:+"$1"} >>"$dir/program.log" 2>&1 &
    program_pid=$!
    # the title starts with the file shown, if any
    wait_for 20 window_named ".*$main_title" || return 1
    win_id=$(xdotool search --onlyvisible --name "$main_title\$" | head -n1)
    eval "$(xdotool getwindowgeometry --shell "$win_id" | sed 's/^/win_/' | grep -E '^win_[XY]=')"
    win_x=$win_X win_y=$win_Y
}

stop_program() {
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    program_pid=
}

# Keys go to the window under the pointer: there is no window manager.
key_in_text() { # keys...
    xdotool mousemove $((win_x + WX[textWidget] + WW[textWidget] / 3)) \
        $((win_y + WY[textWidget] + WH[textWidget] / 2)) key "$@"
}

line_on_screen() { # shot, picture of a line
    compare -metric AE -subimage-search "$1.text.png" "$2" null: 2>/dev/null
}

# A text drawn as the named widget draws it, for looking for in a shot.
render_text() { # widget, plain|dim, text, [argument,] picture
    "$build/tools/QuirelleFormProbe" "$prefix/share/quirelle/Locale" --render "$@" \
        2>>"$dir/probe.log"
}

# The picture shows as drawn in the band of the window left of the text.
shown_left_of_text() { # shot, picture
    local band=$dir/.band.png
    convert "$1" -crop "${WX[textWidget]}x${WH[MainForm]}+${win_x}+${win_y}" +repage "$band"
    compare -metric AE -fuzz 10% -subimage-search "$band" "$2" null: >/dev/null 2>&1
}

click() { # widget [button]
    local x=$((win_x + WX[$1] + WW[$1] / 2)) y=$((win_y + WY[$1] + WH[$1] / 2))
    xdotool mousemove "$x" "$y" click "${2:-1}"
}

# Opens the pop-up menu hung on a button and picks its n-th entry with the
# keyboard; separators are skipped by the menu itself.
menu_entry() { # button, n
    click "$1"
    sleep 0.5
    xdotool key --delay 80 $(printf 'Down %.0s' $(seq "$2")) Return
}

open_with_dialog() { # path
    click btnOpen
    wait_for 10 window_named "$dialog_title" || return 1
    sleep 0.3
    [ "${2:-}" = keep ] && shot file-dialog
    xdotool type --delay 15 "$1"
    xdotool key Return
    wait_for 10 no_window_named "$dialog_title"
}

settings_file() { find "$XDG_CONFIG_HOME" -name "$1" 2>/dev/null | head -n1; }

# The opened paths as the settings file lists them, in its order.
recent_files() {
    local config
    config=$(settings_file Config.xml)
    [ -n "$config" ] || return
    grep -o -F -e "$novel" -e "$novel16" -e "$other" "$config" | xargs -r -n1 basename | xargs
}

same_text() { [ "$(pixel_difference "$1.text.png" "$2.text.png")" = 0 ]; }

# The bookmarked line shows in a picture of the reading view, about a third
# of the way down, where a jump puts it.
bookmarked_line_in_top_third() {
    local found row third=$((WH[textWidget] / 3))
    found=$(compare -metric AE -subimage-search "$1" "$dir/bookmarked-line.png" null: 2>&1) ||
        return 1
    row=${found##*,}
    [ "$row" -ge $((third - 20)) ] && [ "$row" -le $((third + 20)) ]
}

check() { # step name, then a test; the scenario stops at the first failure
    local name=$1; shift
    if "$@"; then
        report PASS "$name"
        return 0
    fi
    report FAIL "$name"
    failures=$((failures + 1))
    return 1
}

choose_script() { # row of the script box, from 0 (不转换) on; as many steps up first
    click tab2
    sleep 0.3
    click cbbScriptBook
    sleep 0.5
    xdotool key --delay 80 Up Up Up Up Up $(printf 'Down %.0s' $(seq "$1")) Return
    sleep 0.3
    click tab1
    sleep 0.3
}

# A simplified novel read in Taiwan's script, a bookmark made there on a
# line of the first page and opened at the same words in the novel's own
# characters, a third of the way down the view.
scripts() {
    local text_x=$((win_x + WX[textWidget] + WW[textWidget] / 3)) line_y=$((WH[textWidget] / 2))
    check "opens a novel written in Taiwan's script" open_with_dialog "$script_taiwan" || return
    shot script-taiwan
    local taiwan=$last_shot
    check "opens the same novel in simplified characters" open_with_dialog "$script_simplified" ||
        return
    shot script-simplified
    local simplified=$last_shot
    check "it shows other characters" eval '! same_text "$taiwan" "$simplified"' || return
    # shellcheck disable=SC2046 # top and height
    crop "$last_shot.png" textWidget "$dir/bookmarked-line.png" \
        $(text_line_at "$last_shot.text.png" "$line_y")
    choose_script 4
    shot script-converted
    check "converted to Taiwan's script and words, it reads exactly like the Taiwan copy" \
        same_text "$taiwan" "$last_shot" || return
    check "the window title names the chapter in Taiwan's script" \
        wait_for 5 eval '[ "$(xdotool getwindowname "$win_id")" = "script-simplified.txt - 第一章 開啟軟體 - $main_title" ]' ||
        return
    xdotool mousemove "$text_x" $((win_y + WY[textWidget] + line_y)) click 1
    sleep 0.3
    xdotool click 3
    sleep 0.5
    xdotool key Down Return
    check "a bookmark in the converted view opens \"$bookmark_title\"" \
        wait_for 10 window_named "$bookmark_title" || return
    shot script-bookmark-dialog
    xdotool key Return
    check "the bookmark of the converted view is stored" \
        wait_for 10 eval 'grep -q "script-simplified" "$(settings_file Bookmark.xml)" 2>/dev/null' ||
        return
    choose_script 0
    shot script-back
    check "back in its own characters the novel shows the same lines" \
        same_text "$simplified" "$last_shot" || return
    # management entry, then the bookmarks: the novel's, the cleaned view's, this one
    menu_entry btnBookmark 4
    shot script-bookmark-opened
    check "the bookmark made in Taiwan's script opens at the same words in simplified characters" \
        bookmarked_line_in_top_third "$last_shot.text.png"
}

# Watermarks, broken lines and a bookmark made in the cleaned view.
cleaning() {
    check "opens a clean novel" open_with_dialog "$clean_novel" || return
    shot clean-novel
    local clean=$last_shot
    check "opens the same novel with watermark lines" open_with_dialog "$watermarked" || return
    shot watermarked-novel
    check "the watermark lines are gone: it reads exactly like the clean copy" \
        same_text "$clean" "$last_shot" || return

    check "opens a novel as paragraphs" open_with_dialog "$joined" || return
    shot joined-novel
    local joined_shot=$last_shot
    check "opens the same novel broken every 18 characters" open_with_dialog "$wrapped" || return
    shot wrapped-novel
    check "the broken novel shows broken at first" eval '! same_text "$joined_shot" "$last_shot"' ||
        return
    click tab2
    sleep 0.3
    click cbTidyBook
    shot tidied-novel
    check "tidied, its lines are joined into the paragraphs" same_text "$joined_shot" "$last_shot" ||
        return

    click tab1
    sleep 0.3
    check "opens the watermarked novel again" open_with_dialog "$watermarked" || return
    local text_x=$((win_x + WX[textWidget] + WW[textWidget] / 3)) line_y=$((WH[textWidget] / 2))
    xdotool mousemove "$text_x" $((win_y + WY[textWidget] + line_y)) click --repeat 30 --delay 20 5
    sleep 0.5
    xdotool click 1
    shot cleaned-cursor
    # shellcheck disable=SC2046 # top and height
    crop "$last_shot.png" textWidget "$dir/bookmarked-line.png" \
        $(text_line_at "$last_shot.text.png" "$line_y")
    xdotool mousemove "$text_x" $((win_y + WY[textWidget] + line_y)) click 3
    sleep 0.5
    xdotool key Down Return
    check "a bookmark in the cleaned view opens \"$bookmark_title\"" \
        wait_for 10 window_named "$bookmark_title" || return
    xdotool key Return
    check "the bookmark of the cleaned view is stored" \
        wait_for 10 eval 'grep -q "watermarked" "$(settings_file Bookmark.xml)" 2>/dev/null' ||
        return

    click tab2
    sleep 0.3
    click btnCleaningRules
    check "\"$rules_title\" opens" wait_for 10 window_named "$rules_title" || return
    sleep 0.5
    shot cleaning-rules
    # the first rule, the one for addresses alone on a line, off; then OK
    xdotool key space Return
    check "the dialog closes" wait_for 10 no_window_named "$rules_title" || return
    key_in_text ctrl+Home
    shot cleaning-off
    check "with cleaning off the watermark lines show" eval '! same_text "$clean" "$last_shot"' ||
        return
    # management entry, the novel's bookmark, then this one
    click tab1
    sleep 0.3
    menu_entry btnBookmark 3
    shot cleaned-bookmark-uncleaned
    check "the bookmark made in the cleaned view opens at the same words with cleaning off" \
        bookmarked_line_in_top_third "$last_shot.text.png"
}

# The rule dialog on a novel whose headings the automatic rule misses: an
# expression of one's own, typed in, gives the list, which the screenshot
# shows and a row of which names its chapter in the window title.
chapter_rule() {
    check "opens a novel whose headings the automatic rule misses" open_with_dialog "$marks" ||
        return
    sleep 1
    shot chapters-missed
    crop "$last_shot.png" chapterView "$dir/list-missed.png"
    click btnChapterRule
    check "\"$chapter_rule_title\" opens" wait_for 10 window_named "$chapter_rule_title" || return
    sleep 0.5
    # from the list of rules to the expression: a line starting with ◆
    xdotool key Tab
    xdotool type --delay 60 '^\x{25C6}'
    sleep 2
    shot chapter-rule-dialog
    xdotool key Return
    check "the rule dialog closes with the expression chosen" \
        wait_for 10 no_window_named "$chapter_rule_title" || return
    sleep 1
    shot chapters-own-rule
    crop "$last_shot.png" chapterView "$dir/list-own-rule.png"
    check "the chapter list on the screenshot is no longer empty" \
        eval '[ "$(pixel_difference "$dir/list-missed.png" "$dir/list-own-rule.png")" != 0 ]' ||
        return
    # a click on the first row, then the fourth with the keyboard
    xdotool mousemove $((win_x + WX[chapterView] + 30)) $((win_y + WY[chapterView] + 10)) click 1
    sleep 0.3
    xdotool key --delay 80 Down Down Down Return
    shot chapter-of-own-rule
    check "the fourth row of the list is the fourth ◆ heading" \
        wait_for 5 eval '[ "$(xdotool getwindowname "$win_id")" = "marks.txt - ◆ 雨落 - $main_title" ]' ||
        return
    check "the rule is kept for the file beside its reading position" \
        eval 'grep -q "regex:^" "$(settings_file ReadingState.xml)"'
}

# Every match of a word, listed beside the text: "5段" is in six paragraphs
# of each chapter, so the tenth row is the fourth of the second chapter.
search_all() {
    local chapter_list=$dir/chapter-list.png
    check "opens the four-chapter novel again" open_with_dialog "$chapters" || return
    sleep 1
    shot chapters-again
    crop "$last_shot.png" chapterView "$chapter_list"
    click tab3
    sleep 0.3
    click edtFindText
    # The first character typed loads the script dictionaries on the pool;
    # the Chinese one, for which xdotool remaps a key, comes once they are in.
    xdotool type --delay 50 "5"
    sleep 1.5
    xdotool type --delay 100 "段"
    sleep 0.3
    xdotool key Return
    shot search-list
    crop "$last_shot.png" chapterView "$dir/search-list.png"
    check "Enter in the find box lists every match where the chapter list was" \
        eval '[ "$(pixel_difference "$chapter_list" "$dir/search-list.png")" != 0 ]' || return
    render_text lblSearchStatus plain "共 %1 处" "$(grep -o 5段 "$chapters" | wc -l)" "$dir/count.png"
    check "the list says it found 24 matches" shown_left_of_text "$last_shot.png" "$dir/count.png"
    render_text searchView dim "第二章 云涌" "$dir/row-chapter.png"
    check "its rows name their chapter, the second among them" \
        shown_left_of_text "$last_shot.png" "$dir/row-chapter.png"
    xdotool mousemove $((win_x + WX[chapterView] + 30)) $((win_y + WY[chapterView] + WH[chapterView] / 2)) click 1
    sleep 0.3
    xdotool key --delay 80 Home Down Down Down Down Down Down Down Down Down Return
    shot jumped-from-search
    check "the tenth row jumps into the second chapter" \
        wait_for 5 eval '[ "$(xdotool getwindowname "$win_id")" = "chapters.txt - 第二章 云涌 - $main_title" ]' ||
        return
    click tab1
    sleep 0.3
}

# --- the scenario --------------------------------------------------------------
scenario() {
    local top line_y
    export XDG_CONFIG_HOME=$dir/config HOME=$dir/home XDG_RUNTIME_DIR=$dir/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$HOME"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"

    read_probe
    check "the form probe finds the controls" test -n "${WW[btnOpen]:-}" -a -n "${WW[textWidget]:-}" ||
        return

    check "starts from the .desktop Exec line with the title \"$main_title\"" start_program ||
        return
    shot start
    local start=$last_shot

    check "opens the GBK novel through the file dialog \"$dialog_title\"" \
        open_with_dialog "$novel" keep || return
    shot novel
    top=$last_shot
    check "the novel is on screen" eval '! same_text "$start" "$top"' || return
    # the picture for the README
    convert "$top.png" -crop "${WW[MainForm]}x${WH[MainForm]}+$win_x+$win_y" +repage "$dir/window.png"
    check "the novel heads the recent files in Config.xml" \
        eval '[ "$(recent_files)" = "novel-gbk.txt" ]' || return

    check "opens a second file" open_with_dialog "$other" || return
    shot second-file
    local second=$last_shot
    check "the second file replaces the novel on screen" eval '! same_text "$top" "$last_shot"' ||
        return
    check "Config.xml lists the second file above the novel" \
        eval '[ "$(recent_files)" = "other-utf8.txt novel-gbk.txt" ]' || return

    # clear-list entry, then the files, newest first
    menu_entry btnHistory 3
    shot reopened-from-history
    check "reopens the novel from the recent-files menu" same_text "$top" "$last_shot" || return
    check "reopening from the menu leaves the list as it was" \
        eval '[ "$(recent_files)" = "other-utf8.txt novel-gbk.txt" ]' || return

    menu_entry btnCodec 2
    shot forced-utf8
    check "forcing UTF-8 shows the GBK bytes garbled" eval '! same_text "$top" "$last_shot"' || return
    menu_entry btnCodec 1
    shot forced-ansi
    check "forcing ANSI shows the novel again" same_text "$top" "$last_shot" || return

    # Scroll into the novel and put the cursor on a line in the middle.
    local text_x=$((win_x + WX[textWidget] + WW[textWidget] / 3))
    line_y=$((WH[textWidget] / 2))
    xdotool mousemove "$text_x" $((win_y + WY[textWidget] + line_y)) click --repeat 40 --delay 20 5
    sleep 0.5
    xdotool click 1
    shot cursor-placed
    # shellcheck disable=SC2046 # top and height
    crop "$last_shot.png" textWidget "$dir/bookmarked-line.png" \
        $(text_line_at "$last_shot.text.png" "$line_y")
    xdotool mousemove "$text_x" $((win_y + WY[textWidget] + line_y)) click 3
    sleep 0.5
    xdotool key Down Return
    check "the context menu's first entry opens \"$bookmark_title\"" \
        wait_for 10 window_named "$bookmark_title" || return
    shot add-bookmark-dialog
    xdotool key Return
    check "the bookmark is stored in Bookmark.xml" \
        wait_for 10 eval 'grep -q "novel-gbk" "$(settings_file Bookmark.xml)" 2>/dev/null' || return

    menu_entry btnHistory 3
    shot reopened-where-left
    check "reopening the novel comes back to where it was left" \
        line_on_screen "$last_shot" "$dir/bookmarked-line.png" || return
    key_in_text ctrl+Home
    shot ctrl-home
    check "Ctrl+Home goes to the start" same_text "$top" "$last_shot" || return

    # management entry, then the bookmarks
    menu_entry btnBookmark 2
    shot jumped-to-bookmark
    check "the bookmark menu jumps to the bookmarked line" \
        line_on_screen "$last_shot" "$dir/bookmarked-line.png" || return
    check "the bookmarked line is a third of the way down the view" \
        bookmarked_line_in_top_third "$last_shot.text.png" || return

    check "opens the second file again" open_with_dialog "$other" || return
    menu_entry btnBookmark 2
    shot bookmark-from-other-file
    check "the novel's bookmark, chosen in the other file, opens the novel at the bookmarked line" \
        bookmarked_line_in_top_third "$last_shot.text.png" || return
    check "the novel reached through its bookmark heads the recent files" \
        eval '[ "$(recent_files | cut -d" " -f1)" = novel-gbk.txt ]' || return

    # The position is written a few seconds after the view stops moving,
    # so a program killed after that loses nothing.
    menu_entry btnHistory 2
    shot before-restart
    local before=$last_shot
    sleep 4
    stop_program
    check "starts again after being killed" start_program || return
    menu_entry btnHistory 2
    shot after-restart
    check "after the restart the recent-files menu shows the same text at the top" \
        same_text "$before" "$last_shot" || return

    check "opens the novel's UTF-16 copy" open_with_dialog "$novel16" || return
    shot utf16-copy
    check "the GBK novel reads exactly like its UTF-16 copy" same_text "$top" "$last_shot" || return
    crop "$top.png" lblCodec "$dir/codec-gbk.png"

    check "opens the traditional novel in UTF-8" open_with_dialog "$novel_tw" || return
    shot traditional-utf8
    local traditional=$last_shot
    crop "$last_shot.png" lblCodec "$dir/codec-utf8.png"
    check "opens the traditional novel in Big5" open_with_dialog "$novel_big5" || return
    shot traditional-big5
    check "the Big5 novel reads exactly like its UTF-8 copy" same_text "$traditional" "$last_shot" ||
        return
    crop "$last_shot.png" lblCodec "$dir/codec-big5.png"
    check "the label beside the encoding button names Big5, neither GBK nor UTF-8" eval \
        '[ "$(pixel_difference "$dir/codec-big5.png" "$dir/codec-gbk.png")" != 0 ] &&
         [ "$(pixel_difference "$dir/codec-big5.png" "$dir/codec-utf8.png")" != 0 ]' || return

    check "opens the last two chapters of a novel as a file" open_with_dialog "$chapter_tail" ||
        return
    shot chapter-tail
    local heading
    heading=$(text_line_at "$last_shot.text.png" 8)
    # shellcheck disable=SC2086 # top and height
    crop "$last_shot.png" textWidget "$dir/heading-line.png" $heading
    check "opens the whole novel" open_with_dialog "$chapters" || return
    # a click on the first row, then the third with the keyboard
    xdotool mousemove $((win_x + WX[chapterView] + 30)) $((win_y + WY[chapterView] + 10)) click 1
    sleep 0.3
    xdotool key --delay 80 Down Down Return
    shot jumped-to-chapter
    # shellcheck disable=SC2086 # the heading line's height, with room for the margin
    crop "$last_shot.png" textWidget "$dir/top-band.png" 0 $((${heading#* } + ${heading% *} + 2))
    check "the chapter list puts the third chapter's heading on the top line" \
        compare -metric AE -subimage-search "$dir/top-band.png" "$dir/heading-line.png" null: \
        2>/dev/null || return
    check "the window title names the file and the chapter" \
        eval '[ "$(xdotool getwindowname "$win_id")" = "chapters.txt - 第三章 雷动 - $main_title" ]' ||
        return
    xdotool key ctrl+Next
    check "Ctrl+Page Down goes on to the fourth chapter" \
        wait_for 5 eval '[ "$(xdotool getwindowname "$win_id")" = "chapters.txt - 第四章 雨落 - $main_title" ]' ||
        return

    chapter_rule || return
    search_all || return
    cleaning || return
    scripts || return

    stop_program
    check "starts with a file named on the command line" start_program "$other" || return
    shot file-argument
    check "the file named on the command line is on screen" same_text "$second" "$last_shot" ||
        return
    check "the file named on the command line heads the recent files" \
        eval '[ "$(recent_files | cut -d" " -f1)" = other-utf8.txt ]' || return
    day_of_reading
}

# The lowest text line of a picture of the reading view, "top height": the
# line the view cuts at its foot, if it cuts one. The view's frame, the
# picture's last rows, is no part of it.
lowest_line() {
    local inside=$(($(identify -format %h "$1") - 3))
    convert "$1" -crop "x${inside}+0+0" +repage "$dir/.inside.png"
    text_line_at "$dir/.inside.png" $((inside - 1))
}

# A second start hands its file to the running window; a page turn brings
# the line cut at the foot of the view whole to its top; full screen shows
# the progress at the foot.
day_of_reading() {
    local command=${exec_line% %f} first_pid=$program_pid status=0
    # shellcheck disable=SC2086 # the Exec line is a command line
    timeout 20 $command "$novel" >>"$dir/program.log" 2>&1 || status=$?
    check "a second start with a file ends at once" eval '[ $status = 0 ]' || return
    check "the running window shows the file the second start was given" \
        wait_for 10 eval 'xdotool getwindowname "$win_id" | grep -q "^novel-gbk.txt - "' || return
    check "one reader runs, one window shows" \
        eval '[ "$(xdotool search --onlyvisible --name "$main_title\$" | wc -l)" = 1 ] &&
            kill -0 $first_pid' || return

    key_in_text ctrl+Home
    shot before-page-turn
    local before=$last_shot
    # shellcheck disable=SC2046 # top and height
    crop "$before.png" textWidget "$dir/cut-line.png" $(lowest_line "$before.text.png")
    key_in_text space
    shot after-page-turn
    # the first line, with room for the margin
    crop "$last_shot.png" textWidget "$dir/page-top.png" 0 $(($(identify -format %h "$dir/cut-line.png") + 12))
    check "a page turn starts with the line that was last on the page before" \
        compare -metric AE -subimage-search "$dir/page-top.png" "$dir/cut-line.png" null: \
        2>/dev/null || return

    key_in_text F11
    shot full-screen
    convert "$last_shot.png" -crop "${WW[MainForm]}x${WH[MainForm]}+$win_x+$win_y" +repage \
        "$dir/full-screen.png"
    key_in_text F11

    # The view rests, its place is written; a start without a file comes back
    # to it, and the shelf lists the books read.
    shot before-shelf-restart
    local before=$last_shot
    sleep 4
    stop_program
    check "a start without a file opens the book read last" start_program || return
    check "the book read last is the novel" \
        wait_for 10 eval 'xdotool getwindowname "$win_id" | grep -q "^novel-gbk.txt - "' || return
    shot reopened-at-start
    check "it opens where it was left" same_text "$before" "$last_shot" || return
    # Without a window manager only a click makes the window active.
    click textWidget
    key_in_text ctrl+b
    check "Ctrl+B shows the shelf \"$shelf_title\"" wait_for 10 window_named "$shelf_title" || return
    shot shelf
    cp "$last_shot.png" "$dir/shelf.png"
    xdotool type --delay 40 other
    xdotool key Return
    check "typing filters the shelf and Enter opens the book left" \
        wait_for 10 eval 'xdotool getwindowname "$win_id" | grep -q "^other-utf8.txt - "' || return
}

# --- two machines in step ------------------------------------------------------
dav_url=
start_dav() {
    mkdir -p "$out/dav"
    rclone serve webdav "$out/dav" --addr 127.0.0.1:0 --config /dev/null >"$out/dav.log" 2>&1 &
    dav_pid=$!
    wait_for 20 grep -q "started on" "$out/dav.log" || return 1
    dav_url=$(grep -o 'http://127\.0\.0\.1:[0-9]*/' "$out/dav.log" | head -n1)
    [ -n "$dav_url" ]
}

use_profile() { # name: a folder of its own for the program's files
    export XDG_CONFIG_HOME=$dir/$1/config HOME=$dir/$1/home XDG_RUNTIME_DIR=$dir/$1/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$HOME"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
}

# The 同步 page is the fourth tab; the address is saved as the user would.
set_sync_address() {
    click tab4
    sleep 0.3
    click edtSyncAddress
    xdotool type --delay 15 "$dav_url"
    click btnSyncSave
    wait_for 10 eval 'grep -q -F "$dav_url" "$(settings_file Sync.xml)" 2>/dev/null' || return 1
    click tab1
    sleep 0.3
}

record_on_server() { grep -q 'position at="[1-9]' "$out"/dav/Quirelle/*.xml 2>/dev/null; }

sync_scenario() {
    local top copy=$out/files/second-machine/a-copy-of-chapters.txt
    mkdir -p "$(dirname "$copy")"
    cp "$chapters" "$copy"
    read_probe
    check "the form probe finds the sync page" test -n "${WW[edtSyncAddress]:-}" -a -n "${WW[tab4]:-}" ||
        return
    check "a WebDAV server starts on 127.0.0.1" start_dav || return

    use_profile first
    check "the first machine starts" start_program || return
    check "the first machine saves the sync address on the 同步 page" set_sync_address || return
    check "the first machine opens the novel" open_with_dialog "$chapters" || return
    xdotool mousemove $((win_x + WX[chapterView] + 30)) $((win_y + WY[chapterView] + 10)) click 1
    sleep 0.3
    xdotool key --delay 80 Down Down Return
    shot first-machine-third-chapter
    top=$last_shot
    sleep 4 # the view rests, its position is written
    check "leaving the novel sends its position to the server" open_with_dialog "$other" || return
    check "the server holds the novel's record with the position" wait_for 20 record_on_server ||
        return
    click tab4
    shot first-machine-sync-page # says how the last sync went
    stop_program

    use_profile second
    check "the second machine starts" start_program || return
    check "the second machine saves the sync address" set_sync_address || return
    check "the second machine opens a copy of the novel under another name" \
        open_with_dialog "$copy" || return
    local arrived=1
    for _ in $(seq 10); do
        shot second-machine-copy
        if same_text "$top" "$last_shot"; then arrived=0; break; fi
        sleep 1
    done
    check "the copy shows the text the first machine left at the top" test $arrived = 0 || return
    check "the window title names the copy and the third chapter" \
        eval '[ "$(xdotool getwindowname "$win_id")" = "$(basename "$copy") - 第三章 雷动 - $main_title" ]'
    stop_program
}

for locale in zh_CN en_US; do
    dir=$out/$locale
    mkdir -p "$dir"
    shot_no=0
    case $locale in
    zh_CN) main_title=澄溪文本阅读器 dialog_title=选择文本文件 bookmark_title=添加书签 rules_title=净化规则 chapter_rule_title=目录规则 shelf_title=书架 ;;
    en_US) main_title="Quirelle Text Reader" dialog_title="Choose a Text File" bookmark_title="Add Bookmark" rules_title="Cleaning Rules" chapter_rule_title="Chapter rule" shelf_title=Bookshelf ;;
    esac
    unset LANGUAGE LC_ALL LC_MESSAGES
    export LOCPATH=$out/locale
    export LANG=$locale.UTF-8
    scenario
    [ -n "$program_pid" ] && stop_program
done

dir=$out/sync
mkdir -p "$dir"
shot_no=0 locale=zh_CN
main_title=澄溪文本阅读器 dialog_title=选择文本文件
export LANG=zh_CN.UTF-8
sync_scenario
[ -n "$program_pid" ] && stop_program

echo "screenshots: $out/zh_CN $out/en_US $out/sync"
[ $failures -eq 0 ] && echo "e2e: all steps passed" || echo "e2e: $failures step(s) failed"
exit $((failures > 0))
