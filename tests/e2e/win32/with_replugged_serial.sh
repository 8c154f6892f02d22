#!/bin/sh
# Runs a Windows test program with a pair of linked pseudo-terminals offered as
# two COM ports in the Wine prefix (the program's and the device's), which the
# test can unplug and plug back: it creates a file "unplug" or "replug" in the
# control folder and waits until the file is gone, which means done. Unplugging
# ends socat, so the program's port fails as when a USB adapter is pulled;
# replugging starts socat again with the same link names.
# The test learns the port names from ORVANE_TEST_SESSION_PORT and
# ORVANE_TEST_DEVICE_PORT and the control folder from ORVANE_E2E_SERIAL_CONTROL.
#   with_replugged_serial.sh <wine prefix> <runner> <program.exe> [arguments...]
set -u

prefix=$1
runner=$2
shift 2

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-e2e-serial.XXXXXX")
control=$work/control
mkdir "$control"
socat_pid=
holder_pids=
session_link=
device_link=

unplug() {
    if [ -n "$socat_pid" ]; then
        kill "$socat_pid" 2>/dev/null
        wait "$socat_pid" 2>/dev/null
    fi
    for pid in $holder_pids; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    socat_pid=
    holder_pids=
    rm -f "$work/session" "$work/device"
}

plug() {
    socat pty,link="$work/session",raw,echo=0 pty,link="$work/device",raw,echo=0 2>"$work/socat.log" &
    socat_pid=$!
    tries=0
    until [ -e "$work/session" ] && [ -e "$work/device" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 500 ]; then
            echo "socat did not create the pseudo-terminals:" >&2
            cat "$work/socat.log" >&2
            return 1
        fi
        sleep 0.01
    done
    # Each terminal becomes the controlling terminal of a session of its own,
    # so that the wineserver never adopts it and is not hung up when socat ends.
    for end in session device; do
        setsid sh -c 'exec sleep 86400 <"$1"' sh "$work/$end" &
        holder_pids="$holder_pids $!"
    done
}

cleanup() {
    unplug
    [ -z "$session_link" ] || rm -f "$session_link"
    [ -z "$device_link" ] || rm -f "$device_link"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

[ -d "$prefix/dosdevices" ] || "$runner" wineboot --init >/dev/null 2>&1
plug || exit 1

# Links left behind by a run that was killed point nowhere now.
for link in "$prefix"/dosdevices/com*; do
    if [ -L "$link" ] && [ ! -e "$link" ]; then
        case $(readlink "$link") in
        */orvane-e2e-serial.*) rm -f "$link" ;;
        esac
    fi
done

# Claim two free COM numbers; ln fails on a name that is taken.
n=230
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

ORVANE_TEST_SESSION_PORT="COM$n" ORVANE_TEST_DEVICE_PORT="COM$((n + 1))" ORVANE_E2E_SERIAL_CONTROL="$control" \
    "$runner" "$@" &
test_pid=$!
while kill -0 "$test_pid" 2>/dev/null; do
    if [ -e "$control/unplug" ]; then
        unplug
        rm -f "$control/unplug"
    fi
    if [ -e "$control/replug" ]; then
        plug
        rm -f "$control/replug"
    fi
    sleep 0.02
done
wait "$test_pid"
exit $?
