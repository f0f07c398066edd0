#!/usr/bin/env bash
# Drives the real program on a real X server as a person would: pastes and types into the box,
# clicks Start, pastes the result elsewhere, removes repeated lines through the box's menu,
# closes the window and pastes once more.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
start_xvfb
export LANG=C.UTF-8

env "$tag" "$program" &
pids+=($!)
app=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name 'Zanvo伪原创工具 1.0' | head -1)
[ -n "$win" ] || fail "the window did not appear"
[ "$(xdotool getwindowname "$win")" = 'Zanvo伪原创工具 1.0' ] ||
    fail "window title: $(xdotool getwindowname "$win")"

# What the person copied from elsewhere: two lines, an empty one and a Chinese one.
copied=$(printf 'alpha\nbeta\n\n网名一')
printf '%s' "$copied" | xclip -selection clipboard -t UTF8_STRING -i
xdotool mousemove --window "$win" 200 200 click 1
sleep 0.3
xdotool key ctrl+v
xdotool key Return
xdotool type --delay 20 'delta'
sleep 0.3
xdotool mousemove --window "$win" 612 116 click 1
result=$(clip_after "$copied")

expect_scrambled "$result" alpha beta delta 网名一

# Ctrl+Z in the box brings back what was typed and pasted, which copies out as it went in, and
# Ctrl+Y the result.
xdotool mousemove --window "$win" 200 200 click 1
xdotool key ctrl+z ctrl+a ctrl+c
typed=$(clip_after "$result")
[ "$typed" = "$(printf 'alpha\nbeta\n\n网名一\ndelta')" ] || fail "undo and copy: $(printf '%q' "$typed")"
xdotool key ctrl+y ctrl+a ctrl+c
[ "$(clip_after "$typed")" = "$result" ] || fail "redo did not bring the result back"

# A lone CR pasted into a line stays part of that line.
printf 'x\ry\nz' | xclip -selection clipboard -t UTF8_STRING -i
xdotool key ctrl+a ctrl+v
xdotool mousemove --window "$win" 612 116 click 1
result=$(clip_after "$(printf 'x\ry\nz')")
[ "$(printf '%s\n' "$result" | sort)" = "$(printf '\nx\ry\nz\n' | sort)" ] ||
    fail "a lone CR: $(printf '%q' "$result")"

# NUL bytes inside the text go in and come out again: pasted, then copied with Ctrl+A Ctrl+C
# (the marker tells when the program has taken the clipboard).
printf 'p\0q\0r\ns' >"$work/nul.in"
xclip -selection clipboard -t UTF8_STRING -i <"$work/nul.in"
xdotool mousemove --window "$win" 200 200 click 1
xdotool key ctrl+a ctrl+v
sleep 0.3
printf 'marker' | xclip -selection clipboard -t UTF8_STRING -i
xdotool key ctrl+a ctrl+c
clip_after marker 2>/dev/null >/dev/null
timeout 5 xclip -o -selection clipboard -t UTF8_STRING >"$work/nul.out"
cmp -s "$work/nul.in" "$work/nul.out" || fail "NUL bytes: $(od -An -c "$work/nul.out")"

# The menu's last but one entry, 删除重复行, chosen from the keyboard, leaves out the repeated
# lines and keeps every empty one; Ctrl+Z takes that back. The clipboard keeps what it held.
repeats=$(printf '乙\n\n甲\n乙\n\n丙\n甲\n丙')
printf '%s' "$repeats" | xclip -selection clipboard -t UTF8_STRING -i
xdotool mousemove --window "$win" 200 200 click 1
xdotool key ctrl+a ctrl+v
xdotool click 3
sleep 0.5
xdotool key Up Up Return
sleep 0.5
xdotool key ctrl+a ctrl+c
removed=$(clip_after "$repeats")
[ "$removed" = "$(printf '乙\n\n甲\n\n丙')" ] || fail "删除重复行: $(printf '%q' "$removed")"
xdotool key ctrl+z ctrl+a ctrl+c
[ "$(clip_after "$removed")" = "$repeats" ] || fail "Ctrl+Z did not take 删除重复行 back"

# The last, 删除空白行, leaves out the lines of nothing but white space and keeps the others as
# they are.
blanks=$(printf '甲\n\t \n\n\xe3\x80\x80乙\n\xe3\x80\x80\n丙')
printf '%s' "$blanks" | xclip -selection clipboard -t UTF8_STRING -i
xdotool key ctrl+a ctrl+v
xdotool click 3
sleep 0.5
xdotool key Up Return
sleep 0.5
xdotool key ctrl+a ctrl+c
[ "$(clip_after "$blanks")" = "$(printf '甲\n\xe3\x80\x80乙\n丙')" ] || fail "删除空白行: $(printf '%q' "$(clip)")"

# Closing the window ends the program; what it copied can still be pasted, though it is far more
# than a pipe takes in one write.
seq 30000 | sed 's/^/网名/' >"$work/large"
xclip -selection clipboard -t UTF8_STRING -i <"$work/large"
xdotool key ctrl+a ctrl+v
for _ in $(seq 50); do
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    timeout 5 xclip -o -selection clipboard -t UTF8_STRING >"$work/large.out" 2>/dev/null || true
    cmp -s "$work/large" "$work/large.out" && break
done
/usr/bin/python3 "$here/close_window.py" "$win"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
kill -0 "$app" 2>/dev/null && fail "the program did not end when its window closed"
timeout 5 xclip -o -selection clipboard -t UTF8_STRING >"$work/large.out" 2>/dev/null || true
cmp -s "$work/large" "$work/large.out" ||
    fail "the clipboard was lost when the program ended ($(wc -c <"$work/large.out") bytes left)"

# Once another program takes the clipboard, nothing of ours keeps running.
printf 'other' | xclip -selection clipboard -i
for _ in $(seq 50); do [ -z "$(tagged_pids)" ] && break; sleep 0.1; done
[ -z "$(tagged_pids)" ] || fail "the clipboard keeper did not end"

# The keeper takes its text from a pipe only: an argument naming a file is no way in, and the
# file stays as it was.
echo precious >"$work/file"
"$program" --keep-clipboard <"$work/file" && fail "the keeper took its text from a file"
env "$tag" "$program" --keep-clipboard "$work/file" </dev/null &
pids+=($!)
app=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -1)
[ -n "$win" ] || fail "no window with an extra argument"
[ "$(cat "$work/file")" = precious ] || fail "the keeper's arguments touched a file"

# Where a clipboard manager runs, the clipboard is left to it: no keeper of ours stays.
/usr/bin/python3 "$here/clipboard_manager.py" >"$work/manager" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/manager" ] && break; sleep 0.05; done
[ -s "$work/manager" ] || fail "the stand-in clipboard manager did not start"
xdotool mousemove --window "$win" 200 200 click 1
xdotool type --delay 20 'kept'
xdotool key ctrl+a ctrl+c
[ "$(clip_after other)" = kept ] || fail "the second window did not copy"
/usr/bin/python3 "$here/close_window.py" "$win"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
kill -0 "$app" 2>/dev/null && fail "the program did not end beside a clipboard manager"
[ -z "$(tagged_pids)" ] || fail "a clipboard keeper runs beside the clipboard manager"
echo "PASS: end-to-end"
