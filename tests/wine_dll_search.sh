#!/usr/bin/env bash
# A DLL loaded by name once the program runs comes from Windows' own folder, never from beside
# the program: a DLL of that name planted beside it, which Wine is told to look for there first
# as Windows does (WINEDLLOVERRIDES=name=n,b), is loaded where the search is not restricted and
# refused where it is. The planted DLL leaves a mark when it loads.
# Usage: wine_dll_search.sh WINE LOAD_BY_NAME PLANTED_DLL
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e/lib.sh"
wine=$1
cp "$2" "$work/load.exe"
cp "$3" "$work/msimg32.dll"
export WINEDEBUG=-all WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}msimg32=n,b"
loaded=$("$wine" "$work/load.exe" msimg32.dll 2>/dev/null | tr -d '\r')
[ -e "$work/msimg32.dll.ran" ] && [ "${loaded,,}" = "$(winepath -w "$work" 2>/dev/null | tr -d '\r' | tr 'A-Z' 'a-z')\\msimg32.dll" ] ||
    fail "unrestricted, the planted DLL was not loaded, so this test shows nothing: $loaded"
rm "$work/msimg32.dll.ran"
loaded=$("$wine" "$work/load.exe" msimg32.dll restricted 2>/dev/null | tr -d '\r')
[ -e "$work/msimg32.dll.ran" ] && fail "the planted DLL was loaded: $loaded"
[ "${loaded,,}" = 'c:\windows\system32\msimg32.dll' ] || fail "loaded from $loaded"
echo "PASS: DLLs loaded by name come from Windows' own folder"
