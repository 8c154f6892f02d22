#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them.
#   scripts/bench.sh [--quick] [--win64] [--flood [flood_bench.sh options...]]
#   (none)    the native benchmarks (build/bench), each run once
#   --quick   passed to each benchmark: a smoke run (scripts/test.sh uses this)
#   --win64   also the Windows benchmarks (paint_bench) in build/bench-win64, under Wine on Xvfb
#   --flood   only the end-to-end flood benchmark against Orvane and PuTTY: scripts/flood_bench.sh,
#             which takes the arguments after --flood
# ORVANE_BUILD_LOCK: a lock file under which the builds and every run take place.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$(pwd -P)
source scripts/common.sh

if [[ ! -f bench/CMakeLists.txt ]]; then
    echo "no bench/ folder: nothing to run" >&2
    exit 1
fi

args=()
win64=0
while (( $# )); do
    case $1 in
        --flood) shift; exec scripts/flood_bench.sh "$@" ;;
        --win64) win64=1 ;;
        *) args+=("$1") ;;
    esac
    shift
done

CC=gcc CXX=g++ locked cmake -S . -B build/bench -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DORVANE_BENCH=ON -DORVANE_TESTS=OFF
locked cmake --build build/bench -j2

mapfile -t benches < <(find build/bench -path '*/CMakeFiles' -prune -o -type f -name '*_bench' -perm -u+x -print | sort)
if (( ${#benches[@]} == 0 )); then
    echo "no *_bench programs were built" >&2
    exit 1
fi
for b in "${benches[@]}"; do
    echo "---- $(basename "$b") ${args[*]}"
    locked "$b" "${args[@]}"
done

(( win64 )) || exit 0

WIN_TREE=$ROOT/build/bench-win64
locked cmake -S . -B "$WIN_TREE" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DORVANE_BENCH=ON -DORVANE_TESTS=OFF
locked cmake --build "$WIN_TREE" -j2 --target paint_bench
export WINEPREFIX=$WIN_TREE/wineprefix
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    locked "$WIN_TREE/wine-run.sh" wineboot --init >/dev/null 2>&1
    wineserver -w
fi
echo "---- paint_bench.exe ${args[*]} (Wine, Xvfb)"
locked xvfb-run -a -s "-screen 0 1920x1080x24" "$WIN_TREE/wine-run.sh" "$WIN_TREE/bench/paint_bench.exe" "${args[@]}"
