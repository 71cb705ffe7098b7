#!/bin/bash
# The peer table: how fast the plug-in and its modules run next to free plug-ins doing the same
# jobs, all loaded by our own host (`kirra bench --plugin`) on the same signal at 44.1 kHz.
#
#   scripts/bench-peers.sh [--install] [--runs N] [--seconds S] [--baseline OLD.so] [--only RE]
#
#   --install         installs the peers' Debian packages first (apt-get; needs root)
#   --runs N          rounds (default 5); every row runs once per round, in turn, and the table
#                     shows each row's median, so a burst of load elsewhere hits all rows alike
#   --seconds S       audio seconds per measurement (default 10)
#   --baseline FILE   an older kirra.so measured in the same rounds: the table gets its column
#   --only REGEX      only the rows whose label matches (the "[flat]" rows always run)
#
# BUILD names the build folder (default build): its kirra hosts everything, its kirra.so is ours.
#
# Marginal cost of a module: the plug-in with the module in operator slot 1 (everything else as
# in "[flat]", whose slot 1 holds a unity GAIN) costs 1/RT_row CPU seconds per audio second, and
# "[flat]" alone 1/RT_flat; the difference is the module's own CPU, written as the realtime
# factor it stands for:  marginal = 1 / (1/RT_row - 1/RT_flat).  Larger is cheaper; a module no
# dearer than the GAIN it replaces shows "free". A peer's figure is its whole plug-in's realtime
# factor, so a module that beats its peer does the job for less than the peer's whole plug-in.
set -euo pipefail

cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
KIRRA="$BUILD/kirra"
OURS="$BUILD/kirra.so"
RUNS=5
SECONDS_PER_RUN=10
BASELINE=""
ONLY=""
INSTALL=0
PEER_PACKAGES=(lsp-plugins-vst dragonfly-reverb-vst dpf-plugins-vst zynaddsubfx-vst zam-plugins)

while [ $# -gt 0 ]; do
    case "$1" in
        --install) INSTALL=1 ;;
        --runs) RUNS=$2; shift ;;
        --seconds) SECONDS_PER_RUN=$2; shift ;;
        --baseline) BASELINE=$2; shift ;;
        --only) ONLY=$2; shift ;;
        -h | --help) sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) echo "bench-peers: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done

if [ "$INSTALL" = 1 ]; then
    missing=()
    for package in "${PEER_PACKAGES[@]}"; do
        dpkg -s "$package" > /dev/null 2>&1 || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        apt-get update
        DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    fi
fi

if [ ! -x "$KIRRA" ] || [ ! -f "$OURS" ]; then
    echo "bench-peers: $KIRRA or $OURS is missing; build first" >&2
    exit 1
fi
if [ -n "$BASELINE" ] && [ ! -f "$BASELINE" ]; then
    echo "bench-peers: baseline $BASELINE not found" >&2
    exit 1
fi

# Type values of operator slot 1 (state n of 64 is (n + 0.5) / 64) and of the module settings.
LOFI="OP1 type=0.1171875"
PHASER="OP1 type=0.1015625"
DELAY="OP1 type=0.1328125"
DISTORTION="OP1 type=0.1484375"
COMPRESSOR="OP1 type=0.1640625"
REVERB="OP1 type=0.1796875"
PITCH="OP1 type=0.1953125"
PLUS_SEVEN="OP1 semitones=0.78"  # step 19 of 25: +7 semitones
# The reverb's "type" shares its host name with the slot's, so its algorithm goes by index
# (operator 1's position 3): step 1 of 16 room, 2 plate, 3 hall.
ROOM="19=0.09375"
PLATE="19=0.15625"
HALL="19=0.21875"

# Rows: label | the peer row it answers to | target | kirra settings (';' between --set values).
# Targets: 1, the module costs no more than the peer's whole plug-in; 2, no more than half of it;
# lead, the module keeps the lead over its peer it had (with --baseline) or has one.
# Peer rows: label | plug-in file | settings.
OUR_ROWS=(
    "[flat] blocks of 512|||"
    "[flat] blocks of 32|||"
    "C:1 E-Bow (heaviest program)|||"
    "LOFI (defaults)|MaBitcrush|1|$LOFI"
    "PHASER (defaults)|ZynPhaser|1|$PHASER"
    "PITCH std, +7 semitones|MaPitchshift 1.75|1|$PITCH;$PLUS_SEVEN;OP1 resolution=0.1666667"
    "PITCH high, +7 semitones|MaPitchshift 1.75|1|$PITCH;$PLUS_SEVEN;OP1 resolution=0.5"
    "PITCH highest, +7 semitones|MaPitchshift 1.75|1|$PITCH;$PLUS_SEVEN;OP1 resolution=0.8333333"
    "REVERB hall|Dragonfly Hall|2|$REVERB;$HALL"
    "REVERB room|Dragonfly Room|lead|$REVERB;$ROOM"
    "REVERB plate|Dragonfly Plate|lead|$REVERB;$PLATE"
    "DELAY (defaults)|ZamDelay|lead|$DELAY"
    "COMP/EXP (defaults)|LSP Compressor Stereo|lead|$COMPRESSOR"
    "DIST (defaults)|ZynDistortion|lead|$DISTORTION"
)
PEER_ROWS=(
    "LSP Limiter Stereo|/usr/lib/vst/lsp-plugins/limiter-stereo.so|"
    "MaBitcrush|/usr/lib/vst/MaBitcrush-vst.so|"
    "ZynPhaser|/usr/lib/vst/ZynPhaser.so|"
    "MaPitchshift 1.75|/usr/lib/vst/MaPitchshift-vst.so|ratio=0.4"
    "Dragonfly Hall|/usr/lib/lxvst/DragonflyHallReverb-vst.so|"
    "Dragonfly Room|/usr/lib/lxvst/DragonflyRoomReverb-vst.so|"
    "Dragonfly Plate|/usr/lib/lxvst/DragonflyPlateReverb-vst.so|"
    "ZamDelay|/usr/lib/vst/ZamDelay-vst.so|"
    "LSP Compressor Stereo|/usr/lib/vst/lsp-plugins/compressor-stereo.so|"
    "ZynDistortion|/usr/lib/vst/ZynDistortion.so|"
)

wanted() { [ -z "$ONLY" ] || [[ "$1" == "[flat]"* ]] || [[ "$1" =~ $ONLY ]]; }

# One measurement: the realtime factor of one run.
bench() {
    local plugin=$1 block=$2 settings=$3 program=$4
    local args=(bench --plugin "$plugin" --seconds "$SECONDS_PER_RUN" --repeat 1 --block "$block")
    [ -n "$program" ] && args+=(--program "$program")
    local IFS=';'
    for setting in $settings; do args+=(--set "$setting"); done
    "$KIRRA" "${args[@]}" | awk '/^realtime factor:/ { sub(/x$/, "", $3); print $3 }'
}

# Jobs: key (column:row), plug-in, block, settings, program. Results go to one file per key.
JOBS=()
add_job() { JOBS+=("$1|$2|$3|$4|$5"); }
declare -A PEER_FILE PEER_SETTINGS
for row in "${PEER_ROWS[@]}"; do
    IFS='|' read -r label file settings <<< "$row"
    PEER_FILE[$label]=$file
    PEER_SETTINGS[$label]=$settings
done
declare -A PEER_NEEDED
for row in "${OUR_ROWS[@]}"; do
    IFS='|' read -r label peer target settings <<< "$row"
    wanted "$label" || continue
    block=512 program=""
    [ "$label" = "[flat] blocks of 32" ] && block=32
    [[ "$label" == C:1* ]] && program=C:1
    add_job "ours:$label" "$OURS" "$block" "$settings" "$program"
    [ -n "$BASELINE" ] && add_job "before:$label" "$BASELINE" "$block" "$settings" "$program"
    [ -n "$peer" ] && PEER_NEEDED[$peer]=1
done
PEER_NEEDED["LSP Limiter Stereo"]=1
SKIPPED=()
for row in "${PEER_ROWS[@]}"; do
    IFS='|' read -r label file settings <<< "$row"
    [ -n "${PEER_NEEDED[$label]:-}" ] || continue
    if [ ! -f "$file" ]; then
        SKIPPED+=("$label ($file not installed)")
        continue
    fi
    add_job "peer:$label" "$file" 512 "$settings" ""
done

RESULTS=$(mktemp -d)
trap 'rm -rf "$RESULTS"' EXIT
key_file() { echo "$RESULTS/$(echo "$1" | md5sum | cut -c1-16)"; }

echo "bench-peers: ${#JOBS[@]} rows x $RUNS rounds of $SECONDS_PER_RUN s; load before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
for ((round = 1; round <= RUNS; ++round)); do
    for job in "${JOBS[@]}"; do
        IFS='|' read -r key plugin block settings program <<< "$job"
        factor=$(bench "$plugin" "$block" "$settings" "$program" || true)
        [ -n "$factor" ] && echo "$factor" >> "$(key_file "$key")"
    done
    echo "bench-peers: round $round of $RUNS done" >&2
done
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)

# Median of a row's measurements, empty when it has none.
median() {
    local file
    file=$(key_file "$1")
    [ -s "$file" ] || return 0
    sort -n "$file" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# marginal FLAT ROW: the module's own cost as a realtime factor.
marginal() {
    awk -v flat="$1" -v row="$2" 'BEGIN {
        if (flat == "" || row == "") { print ""; exit }
        extra = 1 / row - 1 / flat
        if (extra <= 0) print "free"; else printf "%.0f", 1 / extra }'
}
# verdict MARGINAL PEER TARGET [MARGINAL_BEFORE]: does the module cost at most 1/TARGET of its
# peer (target "lead": 1, asked only of a module that led before)?
verdict() {
    awk -v m="$1" -v peer="$2" -v target="$3" -v before="${4:-}" 'BEGIN {
        if (peer == "" || m == "") { print "-"; exit }
        factor = target == "lead" ? 1 : target
        if (target == "lead" && before != "" && before != "free" && before + 0 < peer) {
            print "had no lead"; exit }
        if (m == "free" || m + 0 >= factor * peer) print "yes"; else print "no" }'
}

FLAT=$(median "ours:[flat] blocks of 512")
FLAT_BEFORE=$([ -n "$BASELINE" ] && median "before:[flat] blocks of 512" || true)
echo
echo "Realtime factors at 44.1 kHz (audio seconds per CPU second), medians of $RUNS rounds of"
echo "$SECONDS_PER_RUN s; load average $LOAD_AFTER after the run on $(nproc) cores."
echo
if [ -n "$BASELINE" ]; then
    echo "| row | before | now | marginal before | marginal now | peer | peer's factor | target | met |"
    echo "|---|---|---|---|---|---|---|---|---|"
else
    echo "| row | whole plug-in | marginal | peer | peer's factor | target | met |"
    echo "|---|---|---|---|---|---|---|"
fi
for row in "${OUR_ROWS[@]}"; do
    IFS='|' read -r label peer target settings <<< "$row"
    wanted "$label" || continue
    now=$(median "ours:$label")
    margin_now="" margin_before="" before=""
    if [ -n "$settings" ]; then margin_now=$(marginal "$FLAT" "$now"); fi
    if [ -n "$BASELINE" ]; then
        before=$(median "before:$label")
        if [ -n "$settings" ]; then margin_before=$(marginal "$FLAT_BEFORE" "$before"); fi
    fi
    peer_factor="" goal="" met="-"
    if [ -n "$peer" ]; then
        peer_factor=$(median "peer:$peer")
        case "$target" in
            1) goal="<= peer" ;;
            lead) goal="keeps its lead" ;;
            *) goal="<= peer / $target" ;;
        esac
        met=$(verdict "$margin_now" "$peer_factor" "$target" "$margin_before")
    fi
    if [ -n "$BASELINE" ]; then
        echo "| $label | $before | $now | $margin_before | $margin_now | $peer | $peer_factor | $goal | $met |"
    else
        echo "| $label | $now | $margin_now | $peer | $peer_factor | $goal | $met |"
    fi
done
if [ -n "$BASELINE" ]; then
    echo "| LSP Limiter Stereo (whole) | | $(median "peer:LSP Limiter Stereo") | | | | | | |"
else
    echo "| LSP Limiter Stereo (whole) | $(median "peer:LSP Limiter Stereo") | | | | | |"
fi
for skipped in "${SKIPPED[@]}"; do
    echo "skipped: $skipped"
done
