#!/usr/bin/env bash
# The installed layout, the desktop files' validity, the installed program finding its skin
# when started through bin/zanvo, the Windows resource script, and the Debian package.
# Usage: packaging.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e/lib.sh"

stage="$work/stage"
cmake --install "$build" --prefix "$stage" >/dev/null
id=$(basename "$stage"/share/applications/*.desktop .desktop)
for f in bin/zanvo bin/zanvo-scramble lib/zanvo/zanvo lib/zanvo/aero.she \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/32x32/apps/$id.png" "share/icons/hicolor/scalable/apps/$id.svg" \
    share/man/man1/zanvo-scramble.1; do
    [ -e "$stage/$f" ] || fail "not installed: $f"
done
[ "$(readlink "$stage/bin/zanvo")" = ../lib/zanvo/zanvo ] || fail "bin/zanvo is not a link to the program"
grep -qx 'Name=Zanvo伪原创工具' "$stage/share/applications/$id.desktop" || fail "desktop Name"
desktop-file-validate "$stage/share/applications/$id.desktop"
appstreamcli validate --no-net "$stage/share/metainfo/$id.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$stage/share/metainfo/$id.metainfo.xml"
# The page is Chinese in places: read it under a UTF-8 locale whatever the caller's, which
# C.UTF-8 is on every Debian system.
LC_ALL=C.UTF-8 man --warnings -l "$stage/share/man/man1/zanvo-scramble.1" >/dev/null 2>"$work/man.err"
[ ! -s "$work/man.err" ] || fail "man page: $(cat "$work/man.err")"

# The installed program, started through its link, finds the skin beside its real file: the
# skin's buttons are light blue where the platform's own are grey.
start_xvfb
(cd "$work" && exec "$stage/bin/zanvo") 2>/dev/null &
pids+=($!)
win=$(timeout 20 xdotool search --sync --onlyvisible --name 'Zanvo' | head -1)
[ -n "$win" ] || fail "the installed program showed no window"
sleep 0.5
colour=$(/usr/bin/python3 "$here/e2e/pixel.py" "$win" 575 135)
r=$((16#${colour:0:2})) g=$((16#${colour:2:2})) b=$((16#${colour:4:2}))
[ "$b" -gt $((r + 20)) ] && [ "$b" -gt 200 ] || fail "the button is not skinned (colour $colour)"

# The Windows version record, compiled by the MinGW resource compiler.
x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-P -c 65001 \
    -i "$build/window/qt/zanvo.rc" -O res -o "$work/zanvo.res"
has_utf16 "$work/zanvo.res" 'Zanvo伪原创工具' '伪原创工具' 'Zanvo伪原创工具 1.0' \
    'Zanvo伪原创工具 1.0.exe' '1.00' 080404b0 CompanyName

# The Debian package: its files and what it depends on.
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/*.deb)
[ "$(dpkg-deb -f "$deb" Version)" = 1.0 ] || fail "package version"
dpkg-deb -c "$deb" >"$work/files"
for f in ./usr/bin/zanvo ./usr/bin/zanvo-scramble ./usr/lib/zanvo/zanvo ./usr/lib/zanvo/aero.she \
    ./usr/share/doc/zanvo/copyright \
    "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml"; do
    grep -q " $f\( ->.*\)\?$" "$work/files" || fail "package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6gui6 libqt6core6 libqscintilla2-qt6 fonts-wqy-microhei qt6-translations-l10n xdg-utils; do
    case "$depends" in *"$d"*) ;; *) fail "package does not depend on $d: $depends" ;; esac
done
echo "PASS: packaging"
