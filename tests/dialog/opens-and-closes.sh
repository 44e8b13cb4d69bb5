#!/usr/bin/env bash
# The real program under Xvfb: it opens its window, and its close box ends it with status 0.
# Prints how long it took from start to the window on the screen and its peak memory, once,
# for a reader to compare; neither is judged here.
#
# opens-and-closes.sh QUORVEL DESKTOP_TOOL   (run under run-under-xvfb.sh)
set -euo pipefail
quorvel=$1
desktop=$2

started=$(date +%s%N)
"$quorvel" &
pid=$!
# Looks for the window every few milliseconds, for 20 seconds at most.
for _ in $(seq 2000); do
    xdotool search --onlyvisible --name '^Quorvel$' >/dev/null 2>&1 && break
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" || echo "FAILED: the program ended with status $? before its window appeared"
        exit 1
    fi
    sleep 0.005
done
if ! xdotool search --onlyvisible --name '^Quorvel$' >/dev/null 2>&1; then
    echo "FAILED: the window did not appear"
    kill "$pid" 2>/dev/null
    exit 1
fi
mapped=$(date +%s%N)
sleep 0.5
peak=$(awk '/^VmHWM/ {print $2, $3}' "/proc/$pid/status")
echo "start to window mapped: $(((mapped - started) / 1000000)) ms; peak resident memory: $peak"

"$desktop" close Quorvel
status=0
timeout 20 tail --pid="$pid" -f /dev/null || { echo "FAILED: the close box did not end the program"; kill "$pid"; exit 1; }
wait "$pid" || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAILED: exit status $status after the close box"
    exit 1
fi
echo "the close box ended the program with status 0"
