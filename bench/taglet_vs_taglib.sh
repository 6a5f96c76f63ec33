#!/usr/bin/env bash
# Reads the same corpora of tagged MP3s with taglet and with TagLib and prints both rates
# (files per second) and their ratio: the generated ID3v2.3 corpus in taglet's default mode,
# then a mixed corpus (the generated files and files made by real taggers and encoders:
# ID3v2.2 to v2.4, Unicode texts, VBR streams) in taglet's modern mode. Every tenth generated
# file carries a 1500x1500 JPEG front cover; taglet reads with a picture decoder, as the
# program does, and keeps each cover's bytes, as TagLib does. TagLib is installed here, for
# this comparison only. BUILD_DIR picks the build folder (default build-bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
files=${FILES:-300}
passes=${PASSES:-20}
rounds=${ROUNDS:-5}
build=${BUILD_DIR:-build-bench}

if ! dpkg-query -W -f='${Status}' libtag1-dev 2>/dev/null | grep -q 'install ok installed'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends libtag1-dev >/dev/null
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONVERA_BENCH=ON \
    -DTONVERA_GUI=OFF -DTONVERA_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --target taglet_read_bench -j2 >/dev/null
g++ -O2 -std=c++20 bench/taglib_reader.cpp -o "$build/taglib_reader" \
    $(pkg-config --cflags --libs taglib)

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT

# compare NAME CORPUS-OPTION [--modern]
compare() {
    local dir="$corpus/$1"
    "$build/bin/taglet_read_bench" "$2" "$dir" "$files"
    # One warm-up pass each so both read from the page cache.
    "$build/bin/taglet_read_bench" --rate "$dir" 1 ${3:-} >/dev/null
    "$build/taglib_reader" "$dir" 1 >/dev/null
    # The best round of each, the two taking turns, so that a busy moment of the machine
    # does not decide the ratio.
    local ours=0 theirs=0 a b
    for ((round = 0; round < rounds; round++)); do
        a=$("$build/bin/taglet_read_bench" --rate "$dir" "$passes" ${3:-})
        b=$("$build/taglib_reader" "$dir" "$passes")
        [ "$a" -gt "$ours" ] && ours=$a
        [ "$b" -gt "$theirs" ] && theirs=$b
    done
    echo "$1 corpus: $files files, $passes passes, best of $rounds rounds"
    echo "  taglet${3:+ $3}: $ours files/s"
    echo "  TagLib: $theirs files/s"
    awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "  ratio:  %.2f (taglet / TagLib)\n", a / b }'
}

compare default --make-corpus
compare mixed --make-mixed-corpus --modern
