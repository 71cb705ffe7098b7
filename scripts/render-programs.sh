#!/bin/bash
# The listening page: renders every factory program through the demo signal into out/programs/
# (one WAV per program, named like C-45.wav) and writes out/programs/index.html, a one-page view
# of the whole sound set with each program's modules, a waveform and spectrum picture before and
# after, and a player.
#
#   scripts/render-programs.sh [BANK...]     e.g. scripts/render-programs.sh C
#
# BUILD names the build folder (default build); OUT the page's folder (default out/programs).
set -euo pipefail

cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
OUT=${OUT:-out/programs}
KIRRA="$BUILD/kirra"
BANKS=("$@")
[ ${#BANKS[@]} -gt 0 ] || BANKS=(A B C)

if [ ! -x "$KIRRA" ]; then
    echo "render-programs: $KIRRA is missing; run 'make build' first" >&2
    exit 1
fi
mkdir -p "$OUT"
rm -f "$OUT"/*.wav "$OUT"/*.svg "$OUT/programs.tsv"

# The input as the programs hear it: "[flat]" passes the demo through unchanged.
"$KIRRA" render --quiet --program A:1 --tail 2 "$OUT/input.wav"

# The module types in the four operator and four modulator slots, "EMPTY" left out.
modules_of() {
    "$KIRRA" info --program "$1" |
        awk '(($1 >= 12 && $1 <= 15) || ($1 >= 80 && $1 <= 83)) && $4 != "EMPTY" { printf "%s%s %s", sep, $2, $4; sep = "," }'
}

NAMES=$("$KIRRA" programs)
for bank in "${BANKS[@]}"; do
    for number in $(seq 1 64); do
        label="$bank:$number"
        stem=$(printf '%s-%02d' "$bank" "$number")
        name=$(echo "$NAMES" | awk -v label="$label" '$1 == label { sub(/^[^ ]+ +\*? */, ""); print }')
        "$KIRRA" render --quiet --program "$label" --tail 2 "$OUT/$stem.wav"
        printf '%s\t%s\t%s\t%s\n' "$label" "$stem" "$name" "$(modules_of "$label")" >>"$OUT/programs.tsv"
        printf '\r%-5s rendered' "$label"
    done
done
echo
python3 scripts/program-pictures.py "$OUT"
echo "render-programs: open $OUT/index.html"
