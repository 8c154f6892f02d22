#!/bin/sh
# Runs a Windows test program with a pair of linked pseudo-terminals offered
# as two COM ports in the Wine prefix: the session's port and the device's.
# The port names reach the test as ORVANE_TEST_SESSION_PORT and
# ORVANE_TEST_DEVICE_PORT.
#   with_serial_pair.sh <wine prefix> <runner> <program.exe> [arguments...]
set -eu

prefix=$1
runner=$2
shift 2

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-serial.XXXXXX")
socat_pid=
holder_pids=
session_link=
device_link=

cleanup() {
    [ -z "$session_link" ] || rm -f "$session_link"
    [ -z "$device_link" ] || rm -f "$device_link"
    if [ -n "$socat_pid" ]; then
        kill "$socat_pid" 2>/dev/null || true
        wait "$socat_pid" 2>/dev/null || true
    fi
    for pid in $holder_pids; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# A prefix made here on first use; normally the build has made it already.
[ -d "$prefix/dosdevices" ] || "$runner" wineboot --init >/dev/null 2>&1

socat pty,link="$work/session",raw,echo=0 pty,link="$work/device",raw,echo=0 2>"$work/socat.log" &
socat_pid=$!
tries=0
until [ -e "$work/session" ] && [ -e "$work/device" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 500 ]; then
        echo "socat did not create the pseudo-terminals:" >&2
        cat "$work/socat.log" >&2
        exit 1
    fi
    sleep 0.01
done

# Each terminal becomes the controlling terminal of a session of its own, so
# that the wineserver (a session leader without one) cannot adopt it when it
# opens the port, and is not sent a hangup signal when socat ends.
for end in session device; do
    setsid sh -c 'exec sleep 86400 <"$1"' sh "$work/$end" &
    holder_pids="$holder_pids $!"
done

# Links left behind by a run that was killed point nowhere now.
for link in "$prefix"/dosdevices/com*; do
    if [ -L "$link" ] && [ ! -e "$link" ]; then
        case $(readlink "$link") in
        */orvane-serial.*) rm -f "$link" ;;
        esac
    fi
done

# Claim two free COM numbers; ln fails on a name that is taken.
n=200
while :; do
    n=$((n + 2))
    if [ "$n" -gt 254 ]; then
        echo "no free COM port numbers in $prefix/dosdevices" >&2
        exit 1
    fi
    if ln -s "$work/session" "$prefix/dosdevices/com$n" 2>/dev/null; then
        session_link="$prefix/dosdevices/com$n"
        if ln -s "$work/device" "$prefix/dosdevices/com$((n + 1))" 2>/dev/null; then
            device_link="$prefix/dosdevices/com$((n + 1))"
            break
        fi
        rm -f "$session_link"
        session_link=
    fi
done

ORVANE_TEST_SESSION_PORT="COM$n" ORVANE_TEST_DEVICE_PORT="COM$((n + 1))" "$runner" "$@"
