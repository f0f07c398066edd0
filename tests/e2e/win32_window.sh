#!/usr/bin/env bash
# Drives the Windows program, unpacked from the ZIP it ships in, under Wine on a real X server as
# a person would: pastes and types into the box, clicks Start, pastes the result elsewhere,
# undoes, meets the empty-box prompt and goes on with the keyboard alone, removes repeated lines
# through the box's menu, drags files onto the box, uses the links, and closes the window, which leaves its folder as it
# found it. Beside the program stand an explorer.exe and a DLL of each name it imports that is not
# one of Windows' known DLLs, as downloads could: neither may ever run. Wine runs in a prefix of
# this test's own, with its X11 driver, and looks for DLLs as Windows does (beside the program
# first).
# Usage: win32_window.sh BUILD_DIR HOME_PAGE OBJDUMP PLANTED_PROGRAM PLANTED_DLL DRAG_FILES
#        HOLD_CLIPBOARD
set -euo pipefail
build=$1
home_page=$2
objdump=$3
planted_program=$4
planted_dll=$5
drag_files=$6
hold_clipboard=$7
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
(cd "$build" && cpack -G ZIP -B "$work/zip" >/dev/null)
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$work"/zip/*.zip)
folder=$(echo "$work"/unpacked/*)
program="$folder/Zanvo伪原创工具 1.0.exe"
cp "$planted_program" "$folder/explorer.exe"
native=
while read -r dll; do
    grep -qxF "$dll" "$here/../known_dlls.txt" && continue
    cp "$planted_dll" "$folder/$dll"
    native+=";${dll%.dll}=n,b"
done < <("$objdump" -p "$program" | awk '/DLL Name:/ { print tolower($3) }')
before=$(ls -la --time-style=full-iso "$folder")
start_xvfb
# Wine's trace of the DLLs it loads tells which file each came from.
export WINEDEBUG=-all,+loaddll WINEDLLOVERRIDES="mscoree,mshtml=$native" LC_ALL=C.UTF-8
start_wine_prefix

# The first visible window called $1, waited for. A search fails where a window goes while it
# looks (Wine's windows while it sets up a new prefix): it looks again.
window_named() {
    local found=
    for _ in 1 2 3; do
        found=$(timeout 120 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1) &&
            [ -n "$found" ] && break
        sleep 0.5
    done
    echo "$found"
}

# The browser launcher that Wine's explorer.exe hands a web address to, recording each call.
mkdir "$work/bin"
printf '#!/bin/sh\nprintf "%%s|%%s\\n" "$#" "$*" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
env "$tag" PATH="$work/bin:$PATH" wine "$program" 2>"$work/wine.log" &
pids+=($!)
app=$!
win=$(window_named 'Zanvo伪原创工具 1\.0')
[ -n "$win" ] || fail "the window did not appear"
icons=$(/usr/bin/python3 "$here/icon.py" "$win" "$here/../../packaging/icons/zanvo.ico") ||
    fail "the window does not show the program's icon: $icons"
# Every DLL that the program imports is loaded by now: none from beside it.
grep -a 'loaddll' "$work/wine.log" | grep -aiF "${work##*/}" | grep -aivF '.exe"' &&
    fail "a DLL beside the program was loaded"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH x $HEIGHT" = "688 x 528" ] || fail "client area $WIDTH x $HEIGHT"

# The skin beside the program is drawn: a button and the backdrop are light blue where Wine's
# own controls are grey.
sleep 0.5
for at in "575 135" "5 520"; do
    colour=$(/usr/bin/python3 "$here/pixel.py" "$win" $at)
    r=$((16#${colour:0:2})) b=$((16#${colour:4:2}))
    [ "$b" -gt $((r + 20)) ] && [ "$b" -gt 200 ] || fail "not skinned at $at (colour $colour)"
done

# What the person copied from elsewhere: two lines, an empty one and a Chinese one. The focus
# starts in the box.
copied=$(printf 'alpha\nbeta\n\n网名一')
printf '%s' "$copied" | xclip -selection clipboard -t UTF8_STRING -i
xdotool key --window "$win" ctrl+v Return 2>/dev/null
xdotool type --window "$win" --delay 30 delta 2>/dev/null
sleep 0.3
xdotool mousemove --window "$win" 612 116 click 1
result=$(clip_after "$copied")
expect_scrambled "$result" alpha beta delta 网名一

# Esc on Start is no click on it: a second Start would stand between the result and the typed
# text below. Shift+Tab goes back from Start to the box, where Alt+Backspace brings back what was
# pasted and typed, Ctrl+Y the result, and Ctrl+Z the typed text again.
xdotool key --window "$win" Escape 2>/dev/null
sleep 1
xdotool key --window "$win" shift+Tab alt+BackSpace ctrl+a ctrl+c 2>/dev/null
typed=$(clip_after "$result")
[ "$typed" = "$(printf 'alpha\nbeta\n\n网名一\ndelta')" ] || fail "undo and copy: $(printf '%q' "$typed")"
# Ctrl+Alt is AltGr on many layouts, where it types: AltGr+Y and AltGr+V neither redo nor paste.
printf 'marker' | xclip -selection clipboard -t UTF8_STRING -i
xdotool key --window "$win" ctrl+alt+y ctrl+alt+v ctrl+a ctrl+c 2>/dev/null
[ "$(clip_after marker)" = "$typed" ] || fail "AltGr keys edited the box"
xdotool key --window "$win" ctrl+y ctrl+a ctrl+c 2>/dev/null
[ "$(clip_after "$typed")" = "$result" ] || fail "redo did not bring the result back"
xdotool key --window "$win" ctrl+z ctrl+a ctrl+c 2>/dev/null
[ "$(clip_after "$result")" = "$typed" ] || fail "Ctrl+Z did not bring the typed text back"

# Another program holds the clipboard for longer than a copy waits (a clipboard history, a remote
# desktop): Ctrl+X says so and leaves the text in the box, as the menu's 剪切 does.
env "$tag" wine "$hold_clipboard" 3000 >"$work/held" 2>>"$work/wine.log" &
holder=$!
pids+=("$holder")
for _ in $(seq 100); do [ -s "$work/held" ] && break; sleep 0.1; done
[ -s "$work/held" ] || fail "the other program could not take the clipboard"
xdotool key --window "$win" ctrl+a ctrl+x 2>/dev/null
busy=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zanvo伪原创工具$' 2>/dev/null | head -1) || true
[ -n "$busy" ] || fail "Ctrl+X said nothing of the clipboard another program held"
xdotool key --window "$busy" Return 2>/dev/null
wait "$holder"
printf 'marker' | xclip -selection clipboard -t UTF8_STRING -i
xdotool key --window "$win" ctrl+a ctrl+c 2>/dev/null
[ "$(clip_after marker)" = "$typed" ] || fail "Ctrl+X cut what it could not copy"

# With the keyboard alone: Start on an empty box is answered with the prompt, in a message box
# of its own, whose OK takes Enter. The focus is back on Start then: Shift+Tab reaches the box,
# which holds the prompt, and after a paste over it, Tab and Space scramble it.
xdotool key --window "$win" ctrl+a Delete Tab space 2>/dev/null
prompt=$(window_named 'Zanvo伪原创工具')
[ -n "$prompt" ] || fail "no message box for the empty box"
xdotool key --window "$prompt" Return 2>/dev/null
[ "$(clip_after "$typed")" = '请填写需要伪原创的内容' ] || fail "the prompt was not copied"
# Start, drawn by the program, shows the keyboard's focus: a dotted line inside its border.
sleep 0.5
dots=$(for x in 576 577 578 579; do /usr/bin/python3 "$here/pixel.py" "$win" "$x" 91; done | sort -u)
[ "$(echo "$dots" | wc -l)" -eq 2 ] || fail "Start shows no focus: $(echo $dots)"
printf 'one\ntwo\nthree' | xclip -selection clipboard -t UTF8_STRING -i
sleep 0.5
xdotool key --window "$win" shift+Tab ctrl+a ctrl+v Tab space 2>/dev/null
keyed=$(clip_after "$(printf 'one\ntwo\nthree')")
expect_scrambled "$keyed" one two three

# The box's own menu opens on a right click; its entries are clicked where they stand (撤销 is
# the first, 删除空白行 the last) or chosen from the keyboard (删除重复行, the last but one).
# 删除重复行 leaves out the repeated lines and keeps every empty one; 删除空白行 leaves out the
# lines of nothing but white space and keeps the others as they are.
menu_entry() {
    local before popup=
    before=$(xdotool search --onlyvisible --name '' 2>/dev/null | sort)
    xdotool mousemove --window "$win" 200 200 click 3
    for _ in $(seq 50); do
        popup=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --name '' 2>/dev/null | sort) | head -1)
        [ -n "$popup" ] && break
        sleep 0.1
    done
    [ -n "$popup" ] || fail "no menu on a right click in the box"
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    case $1 in
    first) xdotool mousemove $((X + 20)) $((Y + 10)) click 1 ;;
    last) xdotool mousemove $((X + 20)) $((Y + HEIGHT - 10)) click 1 ;;
    *) xdotool key "$@" ;;
    esac
    sleep 0.5
}
repeats=$(printf '乙\n\n甲\n乙\n\n丙\n甲\n丙')
printf '%s' "$repeats" | xclip -selection clipboard -t UTF8_STRING -i
xdotool mousemove --window "$win" 200 200 click 1
xdotool key --window "$win" ctrl+a ctrl+v 2>/dev/null
menu_entry Up Up Return
xdotool key --window "$win" ctrl+a ctrl+c 2>/dev/null
removed=$(clip_after "$repeats")
[ "$removed" = "$(printf '乙\n\n甲\n\n丙')" ] || fail "删除重复行 in the menu: $(printf '%q' "$removed")"
menu_entry first
xdotool key --window "$win" ctrl+a ctrl+c 2>/dev/null
[ "$(clip_after "$removed")" = "$repeats" ] || fail "撤销 in the menu did not bring the text back"
blanks=$(printf '甲\n\t \n\n\xe3\x80\x80乙\n\xe3\x80\x80\n丙')
printf '%s' "$blanks" | xclip -selection clipboard -t UTF8_STRING -i
xdotool key --window "$win" ctrl+a ctrl+v 2>/dev/null
menu_entry last
xdotool key --window "$win" ctrl+a ctrl+c 2>/dev/null
[ "$(clip_after "$blanks")" = "$(printf '甲\n\xe3\x80\x80乙\n丙')" ] ||
    fail "删除空白行 in the menu: $(printf '%q' "$(clip)")"

# A list that an older Notepad saved in GBK, dragged from a file window as Explorer drags it and
# dropped on the box: its text goes in at the caret, one step that Ctrl+Z takes back. A file of
# no encoding the box reads is refused in a message box, the box as it was.
printf '\xd2\xbb\r\n\xb6\xfe' >"$work/名单.txt"
printf 'caf\xe9' >"$work/latin1.txt"
drag_file() {
    eval "$(xdotool getwindowgeometry --shell "$win")"
    local x=$((X + 100)) y=$((Y + 100)) dragger status=0
    xdotool mousemove $((x + 300)) $((y + 200))
    env "$tag" wine "$drag_files" $x $y "$(winepath -w "$1" 2>/dev/null)" 2>>"$work/wine.log" &
    dragger=$!
    pids+=("$dragger")
    sleep 1
    xdotool mousemove $((x - 30)) $((y - 20)) sleep 0.2 mousemove $((x - 10)) $((y - 5)) sleep 0.2 \
        mousemove $x $y
    wait "$dragger" || status=$?
    [ "$status" -eq 0 ] || fail "the box did not take the drop of $1 (status $status)"
}
printf '甲\n' | xclip -selection clipboard -t UTF8_STRING -i
xdotool key --window "$win" ctrl+a ctrl+v 2>/dev/null
drag_file "$work/名单.txt"
sleep 0.5
xdotool key --window "$win" ctrl+a ctrl+c 2>/dev/null
dropped=$(clip_after '甲')
[ "$dropped" = "$(printf '甲\n一\n二')" ] || fail "the GBK file dropped: $(printf '%q' "$dropped")"
drag_file "$work/latin1.txt"
refusal=$(window_named 'Zanvo伪原创工具')
[ -n "$refusal" ] || fail "no message for a file in no encoding the box reads"
xdotool key --window "$refusal" Return 2>/dev/null
printf 'marker' | xclip -selection clipboard -t UTF8_STRING -i
xdotool key --window "$win" ctrl+a ctrl+c 2>/dev/null
[ "$(clip_after marker)" = "$dropped" ] || fail "a refused file changed the box"
xdotool key --window "$win" ctrl+z ctrl+a ctrl+c 2>/dev/null
[ "$(clip_after "$dropped")" = '甲' ] || fail "Ctrl+Z did not take the dropped text back"

# Both links start the browser with the home page alone, once per click.
xdotool mousemove --window "$win" 612 236 click 1
xdotool mousemove --window "$win" 120 504 click 1
for _ in $(seq 150); do [ "$(cat "$work/opened" 2>/dev/null | wc -l)" -ge 2 ] && break; sleep 0.1; done
sleep 1
for mark in "$folder"/*.ran; do
    [ -e "$mark" ] && fail "the planted $(basename "$mark" .ran) ran"
done
[ "$(cat "$work/opened" 2>/dev/null)" = "$(printf '1|%s\n1|%s' "$home_page" "$home_page")" ] ||
    fail "the links opened: $(cat "$work/opened" 2>/dev/null)"

# Closing the window ends the program with status 0.
/usr/bin/python3 "$here/close_window.py" "$win"
status=0
timeout 30 tail --pid="$app" -f /dev/null || fail "the program did not end when its window closed"
wait "$app" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(ls -la --time-style=full-iso "$folder")" = "$before" ] || fail "the program wrote beside itself"
echo "PASS: end-to-end under Wine"
