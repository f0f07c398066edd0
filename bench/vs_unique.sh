#!/usr/bin/env bash
# Times zanvo-scramble --unique against awk '!seen[$0]++' and sort -u on the same texts (100 MB
# and 1 GB of short CJK lines, CR LF, each line there twice in a mixed order, so that about half
# of them are duplicates), side by side in one run, with peak memory.
# Usage: bench/vs_unique.sh [SIZE_MB...]   (from a release build: cmake --preset release)
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100 1000)
. bench/common.sh

echo "awk is $(readlink -f "$(command -v awk)"); sort runs on $(nproc) cores"
printf '%8s %10s %10s %10s %9s %9s %14s %14s %14s\n' size lines_in lines_out zanvo_s awk_s \
    sort_s zanvo_peak_MB awk_peak_MB sort_peak_MB
for mb in "${sizes[@]}"; do
    half="$work/half.txt" text="$work/$mb.txt"
    "$bin/gen_text" $((mb * 1000 * 1000 / 2)) >"$half"
    cat "$half" "$half" | shuf --random-source="$half" >"$text"
    rm "$half"
    runs=3
    [ "$mb" -ge 1000 ] && runs=1
    for tool in zanvo awk sort; do
        case $tool in
        zanvo) command=("$bin/zanvo-scramble" -u -s 1 -o /dev/null "$text") ;;
        awk) command=(awk '!seen[$0]++' "$text") ;;
        sort) command=(sort -u "$text") ;;
        esac
        hyperfine -N -w 1 -r "$runs" --style none --export-csv "$work/$tool.csv" \
            "$(printf '%q ' "${command[@]}")" >/dev/null
        printf '%s\n' "$(peak "${command[@]}")" >"$work/$tool.peak"
    done
    lines_in=$(wc -l <"$text")
    lines_out=$(awk '!seen[$0]++' "$text" | wc -l)
    printf '%6d MB %10d %10d %10.3f %9.3f %9.3f %14.0f %14.0f %14.0f\n' "$mb" "$lines_in" \
        "$lines_out" "$(mean "$work/zanvo.csv")" "$(mean "$work/awk.csv")" \
        "$(mean "$work/sort.csv")" $(($(cat "$work/zanvo.peak") / 1024)) \
        $(($(cat "$work/awk.peak") / 1024)) $(($(cat "$work/sort.peak") / 1024))
    rm -f "$text"
done
