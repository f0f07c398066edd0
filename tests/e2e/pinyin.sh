#!/usr/bin/env bash
# Chinese typed into the window through a pinyin input method (IBus with libpinyin), as its users
# type: pinyin and Space for each word, Enter between lines, and a word left open while the
# person right-clicks for 删除重复行 or clicks Start. What is scrambled, copied or kept is what was
# committed, once; Ctrl+Z takes typed Chinese back. The Qt window takes the input method through
# Qt's IBus module, the Windows one under Wine through XIM.
# Usage: pinyin.sh qt PROGRAM | pinyin.sh win32 PROGRAM.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
host=$1
program=$2
export LANG=C.UTF-8 NO_AT_BRIDGE=1
start_xvfb
start_pinyin

if [ "$host" = qt ]; then
    env "$tag" QT_IM_MODULE=ibus "$program" &
else
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    start_wine_prefix
    env "$tag" XMODIFIERS=@im=ibus wine "$program" 2>/dev/null &
fi
pids+=($!)
win=$(timeout 120 xdotool search --sync --onlyvisible --name '^Zanvo伪原创工具 1\.0$' | head -1)
[ -n "$win" ] || fail "the window did not appear"
# Without a window manager Wine takes keys only once the X focus is set.
xdotool windowfocus --sync "$win"
xdotool mousemove --window "$win" 200 200 click 1
sleep 0.3

# The box's text, through the clipboard. A menu under Wine takes the X focus with it.
copy_box() {
    printf 'marker' | xclip -selection clipboard -t UTF8_STRING -i >/dev/null
    xdotool windowfocus --sync "$win"
    sleep 0.5
    xdotool key ctrl+a ctrl+c
    clip_after marker
}

lines() { printf '%s\n' "$@" | head -c -1; }

# A line pasted first, so that what is typed is a step of its own to undo.
printf '乙\n' | xclip -selection clipboard -t UTF8_STRING -i
xdotool key ctrl+v
type_pinyin nihao
xdotool key Return
type_pinyin shijie
xdotool key Return
type_pinyin nihao
xdotool key Return
# 中文 is still being composed when the menu is opened: in the Qt window the composition is in
# the box, and the box must end it before it is read. Wine keeps a composition in the input
# method's own window, where it holds the menu's keys, and does not end it for the program, so
# there 中文 is committed first.
last_word() {
    if [ "$host" = qt ]; then
        xdotool type --delay 60 "$1"
        sleep 0.5
    else
        type_pinyin "$1"
    fi
}
last_word zhongwen
xdotool click 3
sleep 0.5
xdotool key Up Up Return
sleep 0.5
removed=$(copy_box)
[ "$removed" = "$(lines 乙 你好 世界 中文)" ] || fail "删除重复行 while composing: $(printf '%q' "$removed")"
xdotool key ctrl+z
[ "$(copy_box)" = "$(lines 乙 你好 世界 你好 中文)" ] || fail "Ctrl+Z after 删除重复行: $(printf '%q' "$(clip)")"
xdotool key ctrl+z
[ "$(copy_box)" = "乙" ] || fail "Ctrl+Z after typing: $(printf '%q' "$(clip)")"

# Start, in the Qt window while 中文 is still being composed.
xdotool key ctrl+End
type_pinyin shijie
xdotool key Return
last_word zhongwen
printf 'marker' | xclip -selection clipboard -t UTF8_STRING -i
xdotool mousemove --window "$win" 612 116 click 1
expect_scrambled "$(clip_after marker)" 乙 世界 中文
echo "PASS: Chinese typed through IBus"
