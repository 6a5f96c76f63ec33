#!/usr/bin/env bash
# Reads the same generated corpus of tagged MP3s with taglet and with TagLib and prints both
# rates (files per second) and their ratio. TagLib is installed here, for this comparison only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
files=${FILES:-300}
passes=${PASSES:-20}

if ! dpkg-query -W -f='${Status}' libtag1-dev 2>/dev/null | grep -q 'install ok installed'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends libtag1-dev >/dev/null
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONVERA_BENCH=ON \
    -DTONVERA_GUI=OFF -DTONVERA_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build build-bench --target taglet_read_bench -j2 >/dev/null
g++ -O2 -std=c++20 bench/taglib_reader.cpp -o build-bench/taglib_reader \
    $(pkg-config --cflags --libs taglib)

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
build-bench/bin/taglet_read_bench --make-corpus "$corpus" "$files"

# One warm-up pass each so both read from the page cache.
build-bench/bin/taglet_read_bench --rate "$corpus" 1 >/dev/null
build-bench/taglib_reader "$corpus" 1 >/dev/null
ours=$(build-bench/bin/taglet_read_bench --rate "$corpus" "$passes")
theirs=$(build-bench/taglib_reader "$corpus" "$passes")
echo "corpus: $files files, $passes passes"
echo "taglet: $ours files/s"
echo "TagLib: $theirs files/s"
awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "ratio:  %.2f (taglet / TagLib)\n", a / b }'
