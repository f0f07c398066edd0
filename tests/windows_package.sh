#!/usr/bin/env bash
# Checks a cross-built Windows program file: it imports no DLL but Windows' own, so it runs on
# a machine with nothing else installed, and it carries its icon and Chinese version record.
# Then the ZIP it ships in: the program, its manual as text and the licence.
# Usage: windows_package.sh BUILD_DIR PROGRAM.exe WINDRES
set -euo pipefail
build=$1
exe=$2
tools=${3%windres}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e/lib.sh"

"${tools}objdump" -p "$exe" | awk '/DLL Name:/ { print $3 }' >"$work/imports"
[ -s "$work/imports" ] || fail "no imports read from $exe"
while read -r dll; do
    case "${dll,,}" in
    kernel32.dll | msvcrt.dll | shell32.dll | user32.dll | advapi32.dll | ucrtbase.dll | api-ms-win-*) ;;
    *) fail "$exe needs $dll beside it" ;;
    esac
done <"$work/imports"

"${tools}objcopy" -O binary --only-section=.rsrc "$exe" "$work/rsrc"
has_utf16 "$work/rsrc" 'Zanvo伪原创工具' '1.00' 'zanvo-scramble.exe' 080404b0 CompanyName

(cd "$build" && cpack -G ZIP -B "$work/zip" >/dev/null)
zip=$(ls "$work"/zip/*.zip)
(cd "$work" && cmake -E tar tf "$zip") >"$work/files"
for f in zanvo-scramble.exe zanvo-scramble.txt LICENSE.txt; do
    grep -q "/$f\$" "$work/files" || fail "the ZIP lacks $f: $(tr '\n' ' ' <"$work/files")"
done
grep -q 'REPLACING A FILE' "$build/packaging/zanvo-scramble.txt" || fail "the manual's text is not readable"
echo "PASS: $(basename "$exe") imports $(tr '\n' ' ' <"$work/imports"); $(basename "$zip")"
