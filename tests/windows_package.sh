#!/usr/bin/env bash
# Checks the cross-built Windows program files: each imports only Windows' known DLLs, which no
# file beside it can stand in for, and carries its icon and Chinese version record; the
# window carries its manifest too. Then the ZIP they ship in: the programs stripped, the skin,
# the command line's manual as text and the licence.
# Usage: windows_package.sh BUILD_DIR WINDRES PROGRAM.exe...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e/lib.sh"
build=$1
tools=${2%windres}
shift 2

for exe; do
    "${tools}objdump" -p "$exe" | awk '/DLL Name:/ { print $3 }' >"$work/imports"
    [ -s "$work/imports" ] || fail "no imports read from $exe"
    grep -v '^#' "$here/known_dlls.txt" >"$work/known"
    while read -r dll; do
        dll=${dll,,}
        case $dll in api-ms-win-*) continue ;; esac
        grep -qxF "$dll" "$work/known" && continue
        # Common Controls 6 comes from Windows' side-by-side store, where the manifest points.
        [ "$dll" = comctl32.dll ] && grep -qaF Microsoft.Windows.Common-Controls "$exe" && continue
        fail "$(basename "$exe") imports $dll, which Windows looks for beside it first"
    done <"$work/imports"
    "${tools}objcopy" -O binary --only-section=.rsrc "$exe" "$work/rsrc"
    has_utf16 "$work/rsrc" 'Zanvo伪原创工具' '1.00' "$(basename "$exe")" 080404b0 CompanyName
    if [ "$(basename "$exe")" != zanvo-scramble.exe ]; then
        for setting in Microsoft.Windows.Common-Controls PerMonitorV2 '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}'; do
            grep -qaF "$setting" "$work/rsrc" || fail "$(basename "$exe")'s manifest lacks $setting"
        done
    fi
    echo "$(basename "$exe") imports $(tr '\n' ' ' <"$work/imports")"
done

(cd "$build" && cpack -G ZIP -B "$work/zip" >/dev/null)
zip=$(ls "$work"/zip/*.zip)
# Every name as Windows 7's ZIP folder reads it (code page 936, whatever the UTF-8 flag says) and
# as newer readers do (the UTF-8 name of the Info-ZIP Unicode Path field whose check matches, else
# the name as its flag says): the same.
/usr/bin/python3 - "$zip" >"$work/names" <<'PY' || fail "the ZIP's names differ: $(cat "$work/names")"
import struct, sys, zipfile, zlib
legacy, newer = [], []
for info in zipfile.ZipFile(sys.argv[1]).infolist():
    utf8 = info.flag_bits & 0x800
    raw = info.orig_filename.encode("utf-8" if utf8 else "cp437")
    legacy.append(raw.decode("cp936", "replace"))
    name, extra = raw.decode("utf-8" if utf8 else "cp437"), info.extra
    while len(extra) >= 4:
        kind, size = struct.unpack_from("<HH", extra)
        if kind == 0x7075 and extra[4] == 1 and struct.unpack_from("<I", extra, 5)[0] == zlib.crc32(raw):
            name = extra[9:4 + size].decode("utf-8")
        extra = extra[4 + size:]
    newer.append(name)
print("\n".join(legacy))
sys.exit(legacy != newer)
PY
if [ $# -gt 1 ]; then
    for name in 'Zanvo伪原创工具 1.0.exe' 使用说明.txt; do
        grep -qxF "$(basename "$zip" .zip)/$name" "$work/names" || fail "the ZIP's names: $(cat "$work/names")"
    done
fi
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
# Everything at the top of the one folder the ZIP unpacks to.
top=$work/unpacked/$(basename "$zip" .zip)
for exe; do
    [ -f "$top/$(basename "$exe")" ] || fail "the ZIP lacks $(basename "$exe"): $(cd "$work/unpacked" && find .)"
    size=$(stat -c %s "$top/$(basename "$exe")")
    # One small file is what users of a portable program expect: stripped, and without the C++
    # streams' locales.
    [ "$size" -lt 2000000 ] || fail "$(basename "$exe") is $size bytes in the ZIP, 2 MB or more"
done
for f in zanvo-scramble.txt LICENSE.txt $([ $# -gt 1 ] && echo aero.she); do
    [ -f "$top/$f" ] || fail "the ZIP lacks $f"
done
if [ $# -gt 1 ]; then
    guide=$top/使用说明.txt
    [ -f "$guide" ] || fail "the ZIP lacks 使用说明.txt"
    [ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "使用说明.txt has no byte order mark"
    [ "$(grep -c $'\r$' "$guide")" -eq "$(wc -l <"$guide")" ] || fail "使用说明.txt has lines without CR LF"
    grep -qF '开始伪原创' "$guide" && ! grep -qE '@[A-Z_]+@' "$guide" || fail "使用说明.txt: $(cat "$guide")"
fi
grep -q 'REPLACING A FILE' "$build/packaging/zanvo-scramble.txt" || fail "the manual's text is not readable"
echo "PASS: $(basename "$zip")"
