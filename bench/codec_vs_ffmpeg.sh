#!/usr/bin/env bash
# Side by side: MP3 -> WMA through our two tools (tnvr3w to a temporary WAV, then wm8eutil with
# profile a64) against FFmpeg's own command line doing the same in one process.
# Usage: bench/codec_vs_ffmpeg.sh [BIN_DIR] [RUNS]   (defaults: build/bin, 7)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$root/build/bin}" && pwd)
runs=${2:-7}
for tool in "$bin/tnvr3w" "$bin/wm8eutil"; do
    [ -x "$tool" ] || { echo "missing $tool (build the tnvr3w and wm8eutil targets)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Five minutes of music-like material: a slow sweep and a square tone over pink noise.
sox -n -r 44100 -c 2 -b 16 tones.wav synth 300 sine 110-1760 square 330 vol 0.4
sox -n -r 44100 -c 2 -b 16 noise.wav synth 300 pinknoise vol 0.3
sox -m tones.wav noise.wav -b 16 source.wav
lame --quiet -b 128 source.wav x.mp3
rm -f tones.wav noise.wav source.wav

printf -- '-input %s\r\n-output %s\r\n-profile a64\r\n' "$work/tmp.wav" "$work/a.wma" > a.weu

run_a() {
    "$bin/tnvr3w" x.mp3 tmp.wav
    "$bin/wm8eutil" -config a.weu >/dev/null
    rm -f tmp.wav
}
run_b() {
    ffmpeg -nostdin -v error -y -i x.mp3 -c:a wmav2 -b:a 64016 -ar 44100 b.wma
}

# Wall time is what the user waits for; CPU time (user + system) is printed beside it because a
# busy machine makes wall times noisy.
TIMEFORMAT='%3R %3U %3S'
timed() {
    local out
    out=$({ time "$@" 2>>errors.log; } 2>&1)
    read -r real user sys <<<"$out"
    awk -v r="$real" -v u="$user" -v s="$sys" 'BEGIN {printf "%d %d\n", r * 1000, (u + s) * 1000}'
}

# One untimed round of each warms the page cache and the libraries.
run_a
run_b
wall_a=() cpu_a=() wall_b=() cpu_b=()
for ((i = 0; i < runs; i++)); do
    read -r w c <<<"$(timed run_a)"; wall_a+=("$w"); cpu_a+=("$c")
    read -r w c <<<"$(timed run_b)"; wall_b+=("$w"); cpu_b+=("$c")
done
if [ -s errors.log ]; then
    cat errors.log >&2
    exit 1
fi

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
ma=$(median "${wall_a[@]}") mb=$(median "${wall_b[@]}")
ca=$(median "${cpu_a[@]}") cb=$(median "${cpu_b[@]}")
echo "runs: $runs (alternating A, B)"
echo "A tnvr3w + wm8eutil a64, wall ms: ${wall_a[*]}"
echo "B ffmpeg wmav2 64016,    wall ms: ${wall_b[*]}"
echo "median wall A: $ma ms, B: $mb ms"
echo "median CPU  A: $ca ms, B: $cb ms"
awk -v a="$ma" -v b="$mb" -v c="$ca" -v d="$cb" 'BEGIN {printf "A/B wall: %.3f   A/B CPU: %.3f\n", a / b, c / d}'
