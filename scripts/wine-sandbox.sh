#!/usr/bin/env bash
# Runs a command beside a wine server of its own, in a private network namespace where only
# loopback is up (so Windows programs under test reach nothing else), with the wine prefix
# $WINEPREFIX (made on first use). Needs root for the namespaces.
#
# WINEPREFIX=FOLDER scripts/wine-sandbox.sh COMMAND...
#
# With QUORVEL_WINE_SANDBOX=1 the caller is already in a network sandbox of its own (the
# end-to-end cases' one, with its DNS server and stand-in registries): only the server starts.
# Wine's server makes the programs' sockets, so it must live in the programs' network.
#
# The server is started and warmed before the command: a cold start lets wine's helper
# processes hold the command's output pipes open, and ctest then waits for minutes.
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the wine prefix folder to use}"

if [ "${QUORVEL_WINE_SANDBOX:-}" != 1 ]; then
    mkdir -p "$WINEPREFIX"
    exec unshare --net --mount --propagation private --fork -- \
        env QUORVEL_WINE_SANDBOX=1 WINEPREFIX="$(cd "$WINEPREFIX" && pwd)" "$0" "$@"
fi

ip link set lo up
# Wine keeps its server's socket in the user's runtime folder when there is one: a private one
# gives this namespace a server of its own, which makes the programs' sockets here.
server_folder="/run/user/$(id -u)"
mkdir -p "$server_folder"
mount -t tmpfs -o mode=0700 tmpfs "$server_folder"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install .NET or a browser engine
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # A new prefix, made whole before anything uses it: wine registers its system's classes
    # (the shell's links among them) on processes of its own, which a server stopped early
    # would cut short.
    wineboot --init >/dev/null 2>&1 </dev/null
    wineserver -w
fi
if ! grep -q '^"Quorvel"="1280x1024"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # Windows open in a virtual desktop, which gives them captions and close boxes where no
    # window manager runs; the window tests' X screens are as large, with room for the window
    # at twice its size. A prefix made before the desktop had this size gets it too.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Quorvel /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Quorvel /d 1280x1024 /f >/dev/null 2>&1
    wineserver -w
fi
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd /c exit >/dev/null 2>&1 </dev/null
status=0
"$@" || status=$?
wineserver -k || true
exit "$status"
