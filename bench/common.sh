# Shared by the comparison scripts: installs what is missing (hyperfine and GNU time among it),
# builds the release tree where its programs are missing, and gives a work folder and the two
# measures.
bin=build/release/bin
scripts/deps
[ -x "$bin/zanvo-scramble" ] && [ -x "$bin/gen_text" ] || {
    cmake --preset release >/dev/null && cmake --build --preset release >/dev/null
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The mean time of a hyperfine CSV export, and a command's peak resident memory in KiB.
mean() { awk -F, 'NR == 2 { print $2 }' "$1"; }
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
