#!/usr/bin/env bash
# Times zanvo-scramble against GNU shuf on the same texts (1, 10, 100 MB and 1 GB of short CJK
# lines, about 10 % empty, CR LF), side by side in one run, and prints the ratios and peak memory.
# Usage: bench/vs_shuf.sh [SIZE_MB...]   (from a release build: cmake --preset release)
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1 10 100 1000)
. bench/common.sh

printf '%8s %12s %12s %8s %14s %14s\n' size zanvo_s shuf_s ratio zanvo_peak_MB shuf_peak_MB
for mb in "${sizes[@]}"; do
    text="$work/$mb.txt"
    "$bin/gen_text" $((mb * 1000 * 1000)) >"$text"
    runs=10
    [ "$mb" -ge 100 ] && runs=3
    hyperfine -N -w 1 -r "$runs" --style none --export-csv "$work/z.csv" \
        "$bin/zanvo-scramble -s 1 -o /dev/null $text" >/dev/null
    hyperfine -N -w 1 -r "$runs" --style none --export-csv "$work/s.csv" \
        "shuf --random-source=$text -o /dev/null $text" >/dev/null
    z=$(mean "$work/z.csv")
    s=$(mean "$work/s.csv")
    zp=$(peak "$bin/zanvo-scramble" -s 1 -o /dev/null "$text")
    sp=$(peak shuf -o /dev/null "$text")
    awk -v mb="$mb" -v z="$z" -v s="$s" -v zp="$zp" -v sp="$sp" 'BEGIN {
        printf "%6d MB %12.3f %12.3f %8.2f %14.0f %14.0f\n", mb, z, s, z / s, zp / 1024, sp / 1024 }'
    rm -f "$text"
done

# A file rewritten onto itself with -o, as scripts use both: zanvo-scramble writes a new file
# beside it (given the old one's permissions, ACL and attributes) and renames it over it; shuf
# rewrites it in place. Each run starts from its own copy of the text, so both rewrite the same.
onto="$work/onto.txt"
"$bin/gen_text" 100000000 >"$work/100.txt"
hyperfine -N -w 1 -r 5 --style none --export-csv "$work/z.csv" \
    --prepare "cp $work/100.txt $onto" "$bin/zanvo-scramble -s 1 -o $onto $onto" >/dev/null
hyperfine -N -w 1 -r 5 --style none --export-csv "$work/s.csv" \
    --prepare "cp $work/100.txt $onto" "shuf --random-source=$onto -o $onto $onto" >/dev/null
awk -v z="$(mean "$work/z.csv")" -v s="$(mean "$work/s.csv")" 'BEGIN {
    printf "100 MB, -o onto itself: zanvo-scramble %.3f s, shuf %.3f s, ratio %.2f\n", z, s, z / s }'
rm -f "$work/100.txt" "$onto"

# One line of 50 MB: the work is then a copy of the file, and should cost little more than cat.
line="$work/line.txt"
"$bin/gen_text" 54000000 | tr -d '\r\n' >"$line"
hyperfine -N -w 1 -r 5 --style none --export-csv "$work/z.csv" \
    "$bin/zanvo-scramble -o /dev/null $line" >/dev/null
hyperfine -N -w 1 -r 5 --style none --export-csv "$work/c.csv" "cat $line" >/dev/null
awk -v size="$(stat -c %s "$line")" -v z="$(mean "$work/z.csv")" -v c="$(mean "$work/c.csv")" 'BEGIN {
    printf "one line of %d MB:  zanvo-scramble %.3f s, cat %.3f s, ratio %.2f\n", size / 1e6, z, c, z / c }'
