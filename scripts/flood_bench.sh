#!/usr/bin/env bash
# Flood benchmark, end to end: the demo device sends N bytes (plain text lines, then in a second
# run SGR-coloured log lines) followed by ESC [ 6 n and times the cursor report that comes back:
# wire-to-grid throughput. Measured on one Xvfb for
#   - orvane.exe (win64 Release) under Wine:  -lan -host 127.0.0.1 -netport N -proto tcp -connect
#   - PuTTY (Debian package putty, a reference only): raw TCP, local echo and line editing off
# and, a third run per stream, Orvane's main window in-process (bench/win32/flood_probe.cpp) to
# count how many of its paints scrolled the previous picture.
#
# Then, per stream, the window in-process twice more with the device sending a steady 600 kB at
# 60 kB/s (--paced-rate B), a log rather than a flood, where paints can scroll: once written a
# few whole lines at a time, once in pieces that split lines anywhere.
#
#   scripts/flood_bench.sh [--bytes N] [--streams "plain sgr"] [--no-putty] [--paced-rate B]
#
# Trees: build/bench (native Release: the device), build/bench-win64 (win64 Release: orvane.exe,
# flood_probe.exe, and the Wine prefix build/bench-win64/wineprefix with an Orvane.ini beside
# the executable that accepts the disclaimer). Logs: build/flood/.
# ORVANE_BUILD_LOCK: a lock file under which the builds and the measurements take place.
# ORVANE_SKIP_PACKAGES=1: do not look for missing packages.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$(pwd -P)
source scripts/common.sh

NATIVE_TREE=$ROOT/build/bench
WIN_TREE=$ROOT/build/bench-win64
DEVICE=$NATIVE_TREE/tools/demo_device/orvane_demo_device
LOGS=$ROOT/build/flood
RESULTS=$LOGS/results.txt
export WINEPREFIX=$WIN_TREE/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='

BYTES=20000000
PACED_RATE=60000
STREAMS="plain sgr"
PUTTY=1
INSIDE_X=0
while (( $# )); do
    case $1 in
        --bytes) BYTES=$2; shift ;;
        --streams) STREAMS=$2; shift ;;
        --no-putty) PUTTY=0 ;;
        --paced-rate) PACED_RATE=$2; shift ;;
        --inside-x) INSIDE_X=1 ;;
        *) echo "usage: $0 [--bytes N] [--streams \"plain sgr\"] [--no-putty] [--paced-rate B]" >&2; exit 2 ;;
    esac
    shift
done

say() { printf 'flood: %s\n' "$*"; }
fail() {
    printf 'flood: error: %s\n' "$*" >&2
    exit 1
}

# ---- inside the X session

DEVICE_PID=
CLIENT_PID=
stop_client() {
    [[ -z $CLIENT_PID ]] || kill "$CLIENT_PID" 2>/dev/null || true
    [[ -z $CLIENT_PID ]] || wait "$CLIENT_PID" 2>/dev/null || true
    CLIENT_PID=
    wineserver -k 2>/dev/null || true  # this prefix's processes only
}

# Starts the device for one flood and sets PORT; further arguments go to the device.
start_device() {
    local stream=$1 log=$2
    shift 2
    "$DEVICE" --port 0 --flood "$stream" --bytes "$BYTES" "$@" >"$log" 2>&1 &
    DEVICE_PID=$!
    PORT=
    for _ in $(seq 1 100); do
        PORT=$(sed -n 's/.*listening on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$log")
        [[ -z $PORT ]] || return 0
        sleep 0.1
    done
    fail "the device did not report its port ($log)"
}

# Waits for the device to end (it prints its figure and exits after one client); prints MB/s or "-".
device_figure() {
    local log=$1 waited=0
    while kill -0 "$DEVICE_PID" 2>/dev/null && (( waited < 9000 )); do
        sleep 0.1
        waited=$((waited + 1))
    done
    kill "$DEVICE_PID" 2>/dev/null || true
    wait "$DEVICE_PID" 2>/dev/null || true
    DEVICE_PID=
    sed -n 's/.*: \([0-9.]*\) MB\/s$/\1/p' "$log" | grep . || echo -
}

run_orvane() {
    local stream=$1 log=$LOGS/orvane-$stream.log
    # Default settings each run, with the first-run disclaimer already accepted.
    printf '[legal]\r\naccepted_disclaimer_version=1\r\n' >"$WIN_TREE/Orvane.ini"
    start_device "$stream" "$log"
    (cd "$WIN_TREE" && exec wine ./orvane.exe -lan -host 127.0.0.1 -netport "$PORT" -proto tcp -connect) \
        >"$LOGS/orvane-$stream.wine.log" 2>&1 &
    CLIENT_PID=$!
    ORVANE_MBS=$(device_figure "$log")
    stop_client
}

# The in-process window; $2 names the run, further arguments go to the device.
run_probe() {
    local stream=$1 name=$2 log=$LOGS/$2.log
    shift 2
    start_device "$stream" "$log" "$@"
    (cd "$WIN_TREE" && exec wine bench/flood_probe.exe "$PORT" 900) >"$LOGS/$name.out" 2>&1 &
    CLIENT_PID=$!
    PROBE_MBS=$(device_figure "$log")
    wait "$CLIENT_PID" 2>/dev/null || true
    CLIENT_PID=
    stop_client
}

run_putty() {
    local stream=$1 log=$LOGS/putty-$stream.log home
    home=$(mktemp -d)
    mkdir -p "$home/.putty/sessions"
    start_device "$stream" "$log"
    # Raw TCP; LocalEcho and LocalEdit 1 mean "force off" (0 on, 2 automatic).
    printf '%s\n' HostName=127.0.0.1 "PortNumber=$PORT" Protocol=raw LocalEcho=1 LocalEdit=1 \
        TermWidth=80 TermHeight=25 CloseOnExit=0 >"$home/.putty/sessions/flood"
    HOME=$home putty -load flood >"$LOGS/putty-$stream.out" 2>&1 &
    CLIENT_PID=$!
    PUTTY_MBS=$(device_figure "$log")
    kill "$CLIENT_PID" 2>/dev/null || true
    wait "$CLIENT_PID" 2>/dev/null || true
    CLIENT_PID=
    rm -rf "$home"
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", a / b; else printf "-" }'
}

measure_all() {
    trap 'stop_client; [[ -z $DEVICE_PID ]] || kill "$DEVICE_PID" 2>/dev/null || true' EXIT
    : >"$RESULTS"
    local stream
    for stream in $STREAMS; do
        say "stream $stream: orvane.exe"
        run_orvane "$stream"
        say "stream $stream: Orvane's window in-process (paint counters)"
        run_probe "$stream" "probe-$stream"
        PUTTY_MBS=-
        if (( PUTTY )); then
            say "stream $stream: PuTTY"
            run_putty "$stream"
        fi
        printf '%s %s %s %s %s\n' "$stream" "$ORVANE_MBS" "$PUTTY_MBS" "$(ratio "$ORVANE_MBS" "$PUTTY_MBS")" \
            "$PROBE_MBS" >>"$RESULTS"
    done
    # A steady log rather than a flood: few enough lines per frame for a paint to scroll the
    # previous picture.
    local cut
    for stream in $STREAMS; do
        for cut in lines split; do
            say "stream $stream at $PACED_RATE bytes/s, writes of whole lines or split anywhere ($cut)"
            run_probe "$stream" "paced-$cut-$stream" --bytes "$((PACED_RATE * 10))" --rate "$PACED_RATE" \
                $([[ $cut == lines ]] || echo --split-lines)
        done
    done
}

if (( INSIDE_X )); then
    measure_all
    exit 0
fi

# ---- preparation

if [[ ${ORVANE_SKIP_PACKAGES:-0} != 1 ]]; then
    packages=("${ORVANE_BUILD_PACKAGES[@]}")
    (( PUTTY )) && packages+=(putty)
    install_packages "${packages[@]}"
fi

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT}
say "building the device (native Release, $NATIVE_TREE)"
CC=gcc CXX=g++ locked cmake -S . -B "$NATIVE_TREE" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_BENCH=ON \
    -DORVANE_TESTS=OFF >/dev/null
locked cmake --build "$NATIVE_TREE" -j2 --target orvane_demo_device
say "building orvane.exe and flood_probe.exe (win64 Release, $WIN_TREE)"
locked cmake -S . -B "$WIN_TREE" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DORVANE_BENCH=ON -DORVANE_TESTS=OFF >/dev/null
locked cmake --build "$WIN_TREE" -j2 --target orvane flood_probe

if [[ ! -f $WINEPREFIX/system.reg ]]; then
    say "creating the Wine prefix $WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || fail "wineboot could not create $WINEPREFIX"
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d "" /f >/dev/null 2>&1
    wineserver -w
fi

mkdir -p "$LOGS"
say "measuring $BYTES bytes per stream ($STREAMS) on one Xvfb; logs in $LOGS"
locked xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside-x --bytes "$BYTES" --streams "$STREAMS" \
    --paced-rate "$PACED_RATE" \
    $( (( PUTTY )) || echo --no-putty )

echo
printf '%-7s %14s %14s %16s %22s\n' stream "Orvane MB/s" "PuTTY MB/s" "Orvane/PuTTY" "in-process MB/s"
while read -r stream orvane putty ratio probe; do
    printf '%-7s %14s %14s %16s %22s\n' "$stream" "$orvane" "$putty" "$ratio" "$probe"
done <"$RESULTS"
for stream in $STREAMS; do
    echo
    echo "Orvane's paints during the $stream flood (in-process, -diag counters):"
    sed 's/^/  /' "$LOGS/probe-$stream.out"
done
for stream in $STREAMS; do
    for cut in lines split; do
        echo
        echo "Orvane's paints during a steady $stream log at $PACED_RATE bytes/s, $( [[ $cut == lines ]] &&
            echo "each write whole lines" || echo "writes split lines anywhere") (in-process):"
        sed -n 's/^flood /  device: /p' "$LOGS/paced-$cut-$stream.log"
        sed 's/^/  /' "$LOGS/paced-$cut-$stream.out"
    done
done
