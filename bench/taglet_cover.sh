#!/usr/bin/env bash
# What a front cover costs a read: the same MP3 without and with a 1500x1500 JPEG cover (drawn
# at bench time, about 800 KB), read by `taglet read` (a whole process, as a user runs it) and
# by Read in-process, side by side with their ratio. `taglet read --picture-sizes`, which
# decodes the cover, shows what every read cost while pictures were decoded by Read.
# BUILD_DIR picks the build folder (default build-bench); RUNS the runs of each command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${BUILD_DIR:-build-bench}
runs=${RUNS:-40}
passes=${PASSES:-300}

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONVERA_BENCH=ON \
    -DTONVERA_GUI=OFF -DTONVERA_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --target taglet_read_bench taglet_cli -j2 >/dev/null

pair=$(mktemp -d)
trap 'rm -rf "$pair"' EXIT
"$build/bin/taglet_read_bench" --make-cover-pair "$pair"
echo "cover: $(($(stat -c %s "$pair/cover.mp3") - $(stat -c %s "$pair/plain.mp3"))) bytes of JPEG"

# Milliseconds per run of `taglet read ARGS FILE`: the best of 5 rounds of RUNS/5 runs, the
# files taking turns round by round so that both meet the same load.
declare -A best
time_reads() {
    local key=$1 file=$2
    shift 2
    local start end each
    start=$(date +%s%N)
    for ((i = 0; i < runs / 5; i++)); do
        "$build/bin/taglet" read "$@" "$file" >/dev/null
    done
    end=$(date +%s%N)
    each=$(((end - start) / (runs / 5)))
    if [ -z "${best[$key]:-}" ] || [ "$each" -lt "${best[$key]}" ]; then
        best[$key]=$each
    fi
}
ms() { awk -v n="$1" 'BEGIN { printf "%.1f", n / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

for mode in "" --modern; do
    for ((round = 0; round < 5; round++)); do
        time_reads "plain$mode" "$pair/plain.mp3" $mode
        time_reads "cover$mode" "$pair/cover.mp3" $mode
        time_reads "sizes$mode" "$pair/cover.mp3" $mode --picture-sizes
    done
    echo "taglet read${mode:+ $mode}, best of 5 rounds of $((runs / 5)) runs (ms per run)"
    echo "  without cover $(ms "${best[plain$mode]}")  with cover $(ms "${best[cover$mode]}")" \
        " ratio $(ratio "${best[cover$mode]}" "${best[plain$mode]}")"
    echo "  with cover and --picture-sizes (decoded) $(ms "${best[sizes$mode]}")" \
        " ratio $(ratio "${best[sizes$mode]}" "${best[plain$mode]}")"
done

"$build/bin/taglet_read_bench" --cover-ratio "$pair" "$passes"
