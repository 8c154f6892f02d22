#!/usr/bin/env bash
# Runs a command with one persistent wineserver for a build tree's Wine prefix, started once
# with its services before the command and stopped after it, whatever the command's result.
# Test programs then attach to the running server instead of each starting (and waiting for)
# their own, so they can run side by side.
#   with-wineserver.sh <build tree> <command> [arguments...]
set -uo pipefail

tree=$1
shift
export WINEPREFIX=$tree/wineprefix

stop_server() {
    wineserver -k 2>/dev/null || true
    timeout 60 wineserver -w 2>/dev/null || true
}
trap stop_server EXIT
trap 'exit 1' INT TERM HUP

wineserver -p
# wineboot starts the prefix's services on this server; asking for the desktop window starts the
# desktop process on this display now, rather than in whichever two tests first race to make it.
"$tree/wine-run.sh" wineboot >/dev/null 2>&1 || true
"$tree/wine-run.sh" rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 || true
"$@"
