#!/usr/bin/env bash
# Builds the benchmarks in Release (build/bench) and runs every one of them.
# Arguments are passed to each benchmark (scripts/test.sh passes --quick for a smoke run).
# ORVANE_BUILD_LOCK: a lock file under which the build and every run take place.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

locked() {
    if [[ -n ${ORVANE_BUILD_LOCK:-} ]]; then
        flock "$ORVANE_BUILD_LOCK" "$@"
    else
        "$@"
    fi
}

if [[ ! -f bench/CMakeLists.txt ]]; then
    echo "no bench/ folder: nothing to run" >&2
    exit 1
fi

CC=gcc CXX=g++ locked cmake -S . -B build/bench -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DORVANE_BENCH=ON -DORVANE_TESTS=OFF
locked cmake --build build/bench -j2

mapfile -t benches < <(find build/bench -path '*/CMakeFiles' -prune -o -type f -name '*_bench' -perm -u+x -print | sort)
if (( ${#benches[@]} == 0 )); then
    echo "no *_bench programs were built" >&2
    exit 1
fi
for b in "${benches[@]}"; do
    echo "---- $(basename "$b") $*"
    locked "$b" "$@"
done
