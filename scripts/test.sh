#!/usr/bin/env bash
# Builds and tests everything, installing the Debian packages that are missing:
#   packages  apt-get install of what the trees need (only when something is missing)
#   native    core + unit tests, g++, AddressSanitizer + UndefinedBehaviorSanitizer  (build/native)
#   win64     the same core + unit tests, MinGW-w64, run under Wine through CTest  (build/win64)
#   fuzz      libFuzzer targets (clang, ASan + UBSan), each run for a bounded time  (build/fuzz)
#   bench     benchmarks built in Release and run once with --quick as a smoke test  (build/bench)
#
# Environment:
#   ORVANE_SKIP_PACKAGES=1, ORVANE_SKIP_NATIVE=1, ORVANE_SKIP_WIN64=1, ORVANE_SKIP_FUZZ=1,
#   ORVANE_SKIP_BENCH=1   skip a stage (local iteration; CI runs them all)
#   ORVANE_FUZZ_SECONDS    time per fuzz target (default 60)
#   ORVANE_BUILD_LOCK      a lock file: every build and test command then runs under flock on it
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$(pwd -P)
JOBS=2
FUZZ_SECONDS=${ORVANE_FUZZ_SECONDS:-60}

# Package lists, install_packages and locked.
source scripts/common.sh

log() { printf '\n==== %s\n' "$*"; }

# A stage that cannot run here (its folder does not exist yet) reports itself skipped.
SKIP_CODE=200
skip_stage() {
    echo "skipped: $*"
    exit "$SKIP_CODE"
}

stage_packages() {
    install_packages "${ORVANE_BUILD_PACKAGES[@]}" "${ORVANE_TEST_PACKAGES[@]}"
}

stage_native() {
    # Compilers through CC/CXX: they choose the compiler of a new tree only, where
    # -DCMAKE_CXX_COMPILER on an existing tree would wipe its cache and the options given.
    CC=gcc CXX=g++ locked cmake -S . -B build/native -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
        -DORVANE_SANITIZE=ON
    locked cmake --build build/native -j"$JOBS"
    locked ctest --test-dir build/native --output-on-failure --no-tests=error -j"$JOBS"
}

# Creates the tree's Wine prefix once, and waits for its wineserver to finish,
# so that tests started in parallel never race to create it.
make_wine_prefix() {
    local prefix=$ROOT/build/win64/wineprefix start=$SECONDS
    if [[ -f $prefix/system.reg ]]; then
        echo "Wine prefix present: $prefix"
    else
        echo "creating Wine prefix: $prefix"
        locked build/win64/wine-run.sh wineboot --init
        WINEPREFIX=$prefix wineserver -w
    fi
    # A crashing test must fail, not hang: on a display Wine's debugger would open a crash
    # dialog and wait for a click. Without it the debugger prints a backtrace and ends the program.
    if ! grep -q '"ShowCrashDialog"=dword:00000000' "$prefix/user.reg"; then
        locked build/win64/wine-run.sh reg add 'HKCU\Software\Wine\WineDbg' \
            /v ShowCrashDialog /t REG_DWORD /d 0 /f
        WINEPREFIX=$prefix wineserver -w
    fi
    # No sound device here: without a driver a sound test's PlaySound still starts, and no audio
    # thread is left probing for a server when the test program exits.
    if ! grep -q '^"Audio"=""' "$prefix/user.reg"; then
        locked build/win64/wine-run.sh reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d "" /f
        WINEPREFIX=$prefix wineserver -w
    fi
    echo "Wine prefix ready in $((SECONDS - start)) s"
}

stage_win64() {
    locked cmake -S . -B build/win64 -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG="-O1" -DCMAKE_CXX_FLAGS_DEBUG="-O1"
    locked cmake --build build/win64 -j"$JOBS"
    make_wine_prefix
    # One X server and one wineserver for the whole run. A test program that passed but did not
    # exit has been seen, rarely, on a freshly made prefix; it times out and runs once more.
    locked xvfb-run -a -s "-screen 0 1280x1024x24" \
        scripts/with-wineserver.sh "$ROOT/build/win64" \
        ctest --test-dir build/win64 --output-on-failure --no-tests=error -j"$JOBS" --repeat until-pass:2
}

# Prints the first existing file or folder among the arguments.
first_existing() {
    local p
    for p in "$@"; do
        if [[ -e $p ]]; then
            echo "$p"
            return 0
        fi
    done
}

run_fuzzer() {
    local bin=$1 name base corpus dict seeds log
    name=$(basename "$bin")
    base=${name%_fuzzer}
    corpus=build/fuzz/corpus/$name
    log=build/fuzz/logs/$name.log
    mkdir -p "$corpus" build/fuzz/artifacts build/fuzz/logs
    local args=(-max_total_time="$FUZZ_SECONDS" -timeout=1 -rss_limit_mb=2048 -print_final_stats=1
                -artifact_prefix="build/fuzz/artifacts/$name-")
    dict=$(first_existing "fuzz/$name.dict" "fuzz/$base.dict")
    [[ -z $dict ]] || args+=(-dict="$dict")
    # New inputs go to the scratch corpus (first); the seed corpus in the repository is read only.
    seeds=$(first_existing "fuzz/corpus/$base")
    echo "fuzzing $name for ${FUZZ_SECONDS} s${dict:+, dictionary $dict}${seeds:+, seeds $seeds}"
    if locked "$bin" "${args[@]}" "$corpus" ${seeds:+"$seeds"} >"$log" 2>&1; then
        # The last progress line and the final statistics: executions, coverage, corpus.
        grep -E '^#[0-9]+' "$log" | tail -n 1 || true
        grep -E '^(stat::|Done )' "$log" || true
    else
        echo "FAILED: $name (full log: $log)"
        # The report from its first line on: sanitizer or libFuzzer error, stack, summary.
        sed -n '/ALARM:\|ERROR:\|runtime error:\|deadly signal\|out-of-memory/,$p' "$log" \
            | grep -vE '^#[0-9]+|NEW_FUNC|^INFO:' | head -n 150
        return 1
    fi
}

stage_fuzz() {
    [[ -f fuzz/CMakeLists.txt ]] || skip_stage "no fuzz/ folder"
    CC=clang CXX=clang++ locked cmake -S . -B build/fuzz -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
        -DORVANE_FUZZ=ON -DORVANE_TESTS=OFF
    locked cmake --build build/fuzz -j"$JOBS"
    local fuzzers failed=0 f
    mapfile -t fuzzers < <(find build/fuzz -path '*/CMakeFiles' -prune -o -type f -name '*_fuzzer' -perm -u+x -print | sort)
    if (( ${#fuzzers[@]} == 0 )); then
        echo "no *_fuzzer programs were built"
        return 1
    fi
    for f in "${fuzzers[@]}"; do
        run_fuzzer "$f" || failed=1
    done
    return "$failed"
}

stage_bench() {
    [[ -f bench/CMakeLists.txt ]] || skip_stage "no bench/ folder"
    ./scripts/bench.sh --quick
}

STAGES=(packages native win64 fuzz bench)
declare -A RESULT SECONDS_TAKEN
passed=0 failed=0 skipped=0

for stage in "${STAGES[@]}"; do
    skip_var="ORVANE_SKIP_${stage^^}"
    if [[ ${!skip_var:-0} == 1 ]]; then
        RESULT[$stage]="skipped ($skip_var=1)"
        SECONDS_TAKEN[$stage]=0
        skipped=$((skipped + 1))
        continue
    fi
    log "$stage"
    start=$SECONDS
    set +e
    ( set -e; "stage_$stage" )
    rc=$?
    set -e
    SECONDS_TAKEN[$stage]=$((SECONDS - start))
    if (( rc == 0 )); then
        RESULT[$stage]=passed
        passed=$((passed + 1))
    elif (( rc == SKIP_CODE )); then
        RESULT[$stage]="skipped (nothing to build)"
        skipped=$((skipped + 1))
    else
        RESULT[$stage]="FAILED (exit $rc)"
        failed=$((failed + 1))
    fi
done

log "summary"
for stage in "${STAGES[@]}"; do
    printf '%-9s %-32s %5d s\n' "$stage" "${RESULT[$stage]}" "${SECONDS_TAKEN[$stage]}"
done
if (( skipped )); then
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
(( failed == 0 ))
