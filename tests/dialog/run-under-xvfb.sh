#!/usr/bin/env bash
# Runs a command against a private Xvfb server of its own, started here and stopped when the
# command ends, as the window's tests need a real X server and CI has no display. The window
# keeps its settings in a scratch folder of the run's own (XDG_CONFIG_HOME), never the user's:
# each run starts without any, and whatever runs within the command shares them.
set -euo pipefail

display_file=$(mktemp)
settings=$(mktemp -d)
# -noreset: without it the server resets whenever its last client leaves, and a program
# connecting at that moment (the window starting while xdotool polls) is turned away.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$display_file" "$settings"' EXIT

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
export XDG_CONFIG_HOME="$settings"
"$@"
