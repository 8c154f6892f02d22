#!/usr/bin/env bash
# Runs Orvane connected to the demo device, from a fresh clone:
#   1. installs the Debian packages that are missing (as scripts/test.sh does, plus screen capture);
#   2. builds the demo device natively (build/run-native) and orvane.exe for Windows, Release
#      (build/run-win64/orvane.exe);
#   3. starts the demo device on a free port of 127.0.0.1;
#   4. starts orvane.exe under Wine in a Wine prefix of its own (build/run-wine), with the
#      disclaimer already accepted in the Orvane.ini beside the executable, connected to the device:
#        orvane.exe -lan -host 127.0.0.1 -netport N -proto tcp -connect
#   5. with a display ($DISPLAY) waits until the window is closed; without one runs under Xvfb,
#      saves a PNG of the window after a few seconds (build/run-screenshot.png), prints its path
#      and stops.
# Everything it started is stopped when it ends, also on failure or Ctrl-C.
#
# Environment:
#   ORVANE_SKIP_PACKAGES=1  do not look for missing packages
#   ORVANE_RUN_HEADLESS=1   use Xvfb and take the screenshot even when a display is present
#   ORVANE_RUN_SECONDS      how long the window runs before the screenshot (default 6)
#   ORVANE_BUILD_LOCK       a lock file: every build command then runs under flock on it
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$(pwd -P)
source scripts/common.sh

NATIVE_TREE=$ROOT/build/run-native
WIN_TREE=$ROOT/build/run-win64
EXE=$WIN_TREE/orvane.exe
DEVICE=$NATIVE_TREE/tools/demo_device/orvane_demo_device
SCREENSHOT=$ROOT/build/run-screenshot.png
SECONDS_BEFORE_SHOT=${ORVANE_RUN_SECONDS:-6}

export WINEPREFIX=$ROOT/build/run-wine
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='  # no Mono or Gecko install prompts

say() { printf 'run: %s\n' "$*"; }
fail() {
    printf 'run: error: %s\n' "$*" >&2
    exit 1
}

# ---- the part that runs inside the X session: Orvane, and the screenshot when headless

# Prints the id of the largest top-level window whose title contains "Orvane", if any.
# xwininfo lists them as: 0x600004 "Orvane ...": ("orvane.exe" "Orvane")  800x600+10+10  +10+10
orvane_window() {
    xwininfo -root -children 2>/dev/null | awk '
        tolower($0) ~ /^ *0x[0-9a-f]+ "[^"]*orvane[^"]*":/ {
            for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, g, /[x+]/); area = g[1] * g[2] }
            if (area > best) { best = area; id = $1 }
        }
        END { if (id != "") print id }' || true
}

# Saves a PNG of the Orvane window, or of the whole screen when there is no such window
# or it cannot be captured alone.
save_screenshot() {
    local window
    window=$(orvane_window)
    mkdir -p "$(dirname "$SCREENSHOT")"
    if [[ -n $window ]] && xwd -silent -id "$window" 2>/dev/null | xwdtopnm 2>/dev/null | pnmtopng >"$SCREENSHOT.tmp" 2>/dev/null; then
        mv "$SCREENSHOT.tmp" "$SCREENSHOT"
        return 0
    fi
    say "no Orvane window could be captured alone; the screenshot shows the whole screen"
    xwd -silent -root | xwdtopnm 2>/dev/null | pnmtopng >"$SCREENSHOT.tmp"
    mv "$SCREENSHOT.tmp" "$SCREENSHOT"
}

# Runs Orvane connected to the device on port $1; headless ($2 = 1): screenshot and stop.
run_orvane() {
    local port=$1 headless=$2 pid rc=0
    # Wine reaches the program through the Windows path of its folder (Z: is the Linux root).
    (cd "$WIN_TREE" && exec wine ./orvane.exe -lan -host 127.0.0.1 -netport "$port" -proto tcp -connect) &
    pid=$!
    if [[ $headless != 1 ]]; then
        say "Orvane is running; close its window to end"
        wait "$pid" || rc=$?
        return "$rc"
    fi
    local waited=0
    while [[ -z $(orvane_window) ]] && (( waited < 60 )) && kill -0 "$pid" 2>/dev/null; do
        sleep 1
        waited=$((waited + 1))
    done
    kill -0 "$pid" 2>/dev/null || { wait "$pid" || rc=$?; fail "orvane.exe ended early (exit code $rc)"; }
    sleep "$SECONDS_BEFORE_SHOT"
    save_screenshot
    wineserver -k 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

if [[ ${1:-} == --inside-x ]]; then
    run_orvane "$2" "$3"
    exit
fi

# ---- preparation

if [[ ${ORVANE_SKIP_PACKAGES:-0} != 1 ]]; then
    say "checking packages"
    install_packages "${ORVANE_BUILD_PACKAGES[@]}" "${ORVANE_RUN_PACKAGES[@]}"
fi

say "configuring the Windows build ($WIN_TREE)"
locked cmake -S . -B "$WIN_TREE" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF >/dev/null
if ! ninja -C "$WIN_TREE" -t targets all 2>/dev/null | grep -q '^orvane: '; then
    fail "this checkout has no 'orvane' target yet (the Windows program, src/app); nothing to run"
fi

say "building the demo device ($NATIVE_TREE)"
CC=gcc CXX=g++ locked cmake -S . -B "$NATIVE_TREE" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF >/dev/null
locked cmake --build "$NATIVE_TREE" -j2 --target orvane_demo_device || fail "building the demo device failed"

say "building orvane.exe"
locked cmake --build "$WIN_TREE" -j2 --target orvane || fail "building orvane.exe failed"
[[ -f $EXE ]] || fail "the build did not produce $EXE"

if [[ ! -f $WINEPREFIX/system.reg ]]; then
    say "creating the Wine prefix $WINEPREFIX (once, takes a few seconds)"
    wineboot --init >/dev/null 2>&1 || fail "wineboot could not create $WINEPREFIX"
    # A crash prints a backtrace here instead of waiting on a dialog nobody may see.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
fi

# The first-run disclaimer would block the window: record it as accepted, keeping other settings.
INI=$WIN_TREE/Orvane.ini
if [[ ! -f $INI ]]; then
    printf '[legal]\r\naccepted_disclaimer_version=1\r\n' >"$INI"
elif ! grep -q '^accepted_disclaimer_version=[1-9]' "$INI"; then
    awk '/^accepted_disclaimer_version=/ { next }
         { print }
         /^\[legal\]/ { print "accepted_disclaimer_version=1\r"; done = 1 }
         END { if (!done) printf "[legal]\r\naccepted_disclaimer_version=1\r\n" }' "$INI" >"$INI.tmp"
    mv "$INI.tmp" "$INI"
fi

# ---- run

DEVICE_LOG=$ROOT/build/run-device.log
DEVICE_PID=
SESSION_PID=
cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    [[ -z $SESSION_PID ]] || kill "$SESSION_PID" 2>/dev/null || true
    wineserver -k 2>/dev/null || true  # this prefix's processes only
    [[ -z $DEVICE_PID ]] || kill "$DEVICE_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

"$DEVICE" --port 0 >"$DEVICE_LOG" 2>&1 &
DEVICE_PID=$!
PORT=
for _ in $(seq 1 100); do
    PORT=$(sed -n 's/.*listening on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$DEVICE_LOG")
    [[ -z $PORT ]] || break
    kill -0 "$DEVICE_PID" 2>/dev/null || fail "the demo device did not start: $(cat "$DEVICE_LOG")"
    sleep 0.1
done
[[ -n $PORT ]] || fail "the demo device did not report its port (log: $DEVICE_LOG)"
say "demo device listening on 127.0.0.1 port $PORT (log: $DEVICE_LOG)"

if [[ -n ${DISPLAY:-} && ${ORVANE_RUN_HEADLESS:-0} != 1 ]]; then
    "$0" --inside-x "$PORT" 0 &
    SESSION_PID=$!
    wait "$SESSION_PID" || fail "orvane.exe ended with exit code $?"
else
    command -v xvfb-run >/dev/null || fail "no display and no xvfb-run (Debian package xvfb)"
    say "no display: running under Xvfb for ${SECONDS_BEFORE_SHOT} s, then taking a screenshot"
    rm -f "$SCREENSHOT"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside-x "$PORT" 1 &
    SESSION_PID=$!
    wait "$SESSION_PID" || true
    [[ -s $SCREENSHOT ]] || fail "no screenshot was taken"
    say "screenshot: $SCREENSHOT"
fi
SESSION_PID=
