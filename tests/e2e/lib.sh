# Shared by the shell tests: a private D-Bus session, a private work folder, a private X server,
# and cleanup that touches only the processes this test started. Source it before the script
# shifts its arguments (the test starts again with them), then call start_xvfb where a display
# is needed.

# Without a session bus of its own, Qt on a machine with dbus-x11 autolaunches one for the display:
# that bus inherits the test's tag, outlives the program and is taken for a leftover of it. So the
# test runs again inside a session that dbus-run-session ends with it.
if [ -z "${ZANVO_TEST_BUS:-}" ]; then
    ZANVO_TEST_BUS=private exec dbus-run-session -- bash "$0" "$@"
fi
work=$(mktemp -d)
pids=()
# Every program the test starts as `env "$tag" PROGRAM` carries this tag in its environment, and
# so does every process that program starts in turn: that is how the test finds its programs'
# descendants, and nobody else's. The shell itself does not carry it.
tag="ZANVO_TEST_TAG=zanvo-test-$$-$RANDOM"

# The ids of the live processes that carry this test's tag (only one's own processes' environments
# can be read, so other users' programs never show up here).
tagged_pids() {
    local f pid
    for f in /proc/[0-9]*/environ; do
        pid=${f#/proc/}
        pid=${pid%/environ}
        grep -qzxF "$tag" "$f" 2>/dev/null && echo "$pid"
    done
    return 0
}

# Ends every process the test started; one that outlives SIGTERM for two seconds (IBus's X helper
# blocks it) is killed.
cleanup() {
    local p left
    for p in "${pids[@]}" $(tagged_pids); do kill "$p" 2>/dev/null || true; done
    for _ in $(seq 20); do
        left=$(tagged_pids)
        [ -z "$left" ] && break
        sleep 0.1
    done
    for p in $left; do kill -KILL "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
}

# The X clipboard's text, and the same once it holds something other than $1 (or after ten
# seconds, whatever it holds then).
clip() { timeout 5 xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null || true; }
clip_after() {
    local now
    for _ in $(seq 100); do
        now=$(clip)
        [ -n "$now" ] && [ "$now" != "$1" ] && break
        sleep 0.1
    done
    printf '%s' "$now"
}

# Fails unless the text $1 is the lines that follow, in any order, set apart by one empty line.
expect_scrambled() {
    local result=$1
    shift
    local got expected
    got=$(printf '%s' "$result" | awk 'NR % 2 == 1' | sort)
    expected=$(printf '%s\n' "$@" | sort)
    [ "$got" = "$expected" ] || fail "clipboard lines: $(printf '%q' "$result")"
    [ "$(printf '%s\n' "$result" | awk 'NR % 2 == 0 && $0 != ""' | wc -l)" -eq 0 ] ||
        fail "lines not set apart by one empty line: $(printf '%q' "$result")"
    [ "$(printf '%s\n' "$result" | wc -l)" -eq $(($# * 2 - 1)) ] ||
        fail "expected $(($# * 2 - 1)) lines: $(printf '%q' "$result")"
}

# Fails unless file holds each further argument as UTF-16LE text, as Windows resources hold it.
has_utf16() {
    local file=$1 text
    shift
    for text; do
        printf '%s' "$text" | iconv -f UTF-8 -t UTF-16LE >"$work/needle"
        grep -qaF -f "$work/needle" "$file" || fail "$(basename "$file") lacks '$text'"
    done
}

# IBus with its pinyin engine (libpinyin) for this test alone, on the display of start_xvfb: its
# settings in a home of the test's own, its bus at an address of the test's own, and its XIM
# server for Wine. The daemon ends when its parent does, so the test's own shell starts it. Fails
# with the reason where the input method does not come up: a test that types Chinese must not
# type Latin letters quietly instead.
start_pinyin() {
    export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache \
        XDG_DATA_HOME=$work/home/.local/share XDG_RUNTIME_DIR=$work/runtime
    export IBUS_ADDRESS="unix:path=$work/ibus"
    unset GTK_IM_MODULE QT_IM_MODULE XMODIFIERS
    mkdir -p "$HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    env "$tag" ibus-daemon --xim --replace --address="$IBUS_ADDRESS" --panel=disable \
        --emoji-extension=disable >"$work/ibus.log" 2>&1 &
    pids+=($!)
    local waited=0
    until ibus list-engine >/dev/null 2>&1; do
        [ $((waited += 1)) -lt 200 ] || fail "IBus did not start: $(cat "$work/ibus.log")"
        sleep 0.1
    done
    ibus list-engine | grep -qw libpinyin || fail "IBus has no libpinyin engine"
    # Its status is 1 even where it switches: the engine in use tells.
    ibus engine libpinyin >/dev/null 2>&1 || true
    [ "$(ibus engine 2>&1)" = libpinyin ] || fail "IBus did not take libpinyin: $(ibus engine 2>&1)"
    until xprop -root XIM_SERVERS 2>/dev/null | grep -q '@server=ibus'; do
        [ $((waited += 1)) -lt 300 ] || fail "IBus's XIM server did not start: $(cat "$work/ibus.log")"
        sleep 0.1
    done
}

# Types pinyin as a person does, a key at a time, and picks the first candidate with Space.
type_pinyin() {
    xdotool type --delay 60 "$1"
    sleep 0.3
    xdotool key space
    sleep 0.3
}

# A Wine prefix of the test's own, made now. At the end its Wine server goes first: it writes the
# prefix until it ends. Its font linking is Chinese Windows', where the UI font (Tahoma under
# Wine) borrows the glyphs it lacks from a Chinese font: without it, Wine draws Chinese as empty
# boxes wherever the program leaves the font to Windows, as in the message box's prompt, and
# screenshots show what no user sees.
start_wine_prefix() {
    export WINEPREFIX=$work/wine
    trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; cleanup' EXIT
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 ||
        fail "Wine's registry did not take the font link"
}
