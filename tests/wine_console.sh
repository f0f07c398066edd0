#!/usr/bin/env bash
# zanvo-scramble's output on a Windows console set to code page 936, as on Chinese Windows: Wine
# gives a program a console where its standard streams are a terminal, here one of script(1)'s
# own. The console shows the Chinese of UTF-8, UTF-16 and GBK files as Chinese, and a GBK file's €
# as Notepad writes it in code page 936; redirected to a file, the bytes stay as they are.
# Usage: wine_console.sh WINE zanvo-scramble.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e/lib.sh"
wine=$1
cp "$2" "$work/zanvo-scramble.exe"
cd "$work"
printf '网名一\r\n网名二\r\n' >utf8.txt
{ printf '\xff\xfe'; printf '签名甲\r\n签名乙\r\n' | iconv -f UTF-8 -t UTF-16LE; } >utf16.txt
printf '昵称甲\r\n昵称乙\r\n' | iconv -f UTF-8 -t GBK >gbk.txt
printf '价格€一\r\n价格€二\r\n' | iconv -f UTF-8 -t CP936 >euro.txt
export WINEDEBUG=-all
timeout 120 script -qec "'$wine' cmd /c 'chcp 936 >nul & zanvo-scramble.exe -s 1 utf8.txt & \
zanvo-scramble.exe -s 1 utf16.txt & zanvo-scramble.exe -s 1 gbk.txt & \
zanvo-scramble.exe -s 1 euro.txt & zanvo-scramble.exe -s 1 utf8.txt > redirected.txt'" \
    /dev/null </dev/null >console.txt || fail "the console run failed: $(cat -v console.txt)"
for line in 网名一 网名二 签名甲 签名乙 昵称甲 昵称乙 价格€一 价格€二; do
    grep -qF "$line" console.txt || fail "the console does not show $line: $(cat -v console.txt)"
done
[ "$(cat redirected.txt)" = "$(printf '网名一\r\n\r\n网名二')" ] ||
    fail "redirected: $(od -c redirected.txt)"
echo "PASS: the console shows Chinese"
