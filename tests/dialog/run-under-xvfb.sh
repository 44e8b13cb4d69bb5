#!/usr/bin/env bash
# Runs a command against a private Xvfb server of its own, started here and stopped when the
# command ends, as the window's tests need a real X server and CI has no display.
set -euo pipefail

display_file=$(mktemp)
# -noreset: without it the server resets whenever its last client leaves, and a program
# connecting at that moment (the window starting while xdotool polls) is turned away.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -f "$display_file"' EXIT

for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.05
done
if [ ! -s "$display_file" ]; then
    echo "Xvfb did not start" >&2
    exit 1
fi

export DISPLAY=":$(head -n1 "$display_file")"
export GDK_BACKEND=x11   # the key events are X events
export NO_AT_BRIDGE=1    # no accessibility bus to wait for
"$@"
