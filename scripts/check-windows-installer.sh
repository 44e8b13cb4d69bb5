#!/usr/bin/env bash
# Installs the 64-bit Windows installer silently under wine, checks the installed programs, the
# Start-menu shortcut and the uninstaller's registration, runs the installed quorvel-lookup.exe,
# uninstalls silently and checks that nothing is left behind. Runs itself in a wine sandbox
# (scripts/wine-sandbox.sh) with the build's wine prefix.
#
# check-windows-installer.sh BUILD_FOLDER    (after `cpack` there)
set -euo pipefail
build=$(cd "${1:?usage: check-windows-installer.sh BUILD_FOLDER}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

if [ "${QUORVEL_WINE_SANDBOX:-}" != 1 ]; then
    WINEPREFIX="$build/wine" exec "$here/wine-sandbox.sh" "$0" "$build"
fi

fail() {
    echo "FAILED: $*"
    exit 1
}

installer=$(find "$build/package" -maxdepth 1 -name 'Quorvel-*-win64.exe' | head -n1)
[ -n "$installer" ] || fail "no installer in $build/package"
folder="$WINEPREFIX/drive_c/Program Files/Quorvel"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'
shortcuts() {
    find "$WINEPREFIX/drive_c" -path '*Start Menu*' -iname 'Quorvel*.lnk' 2>/dev/null
}

wine "$installer" /S
for program in quorvel.exe quorvel-lookup.exe; do
    [ -f "$folder/bin/$program" ] || fail "$program is not in Program Files\\Quorvel\\bin"
done
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller"
shortcuts | grep -q '/Quorvel\.lnk$' || fail "no Start-menu shortcut for the window"
wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstaller is not registered"
version=$(wine "$folder/bin/quorvel-lookup.exe" --version)
[ "$version" = "Quorvel Version 1.0" ] || fail "the installed quorvel-lookup.exe --version said '$version'"
echo "installed $(basename "$installer") ($(stat -c %s "$installer") bytes): programs, shortcut and uninstaller in place; quorvel-lookup.exe --version: $version"

wine "$folder/Uninstall.exe" /S
# The uninstaller runs on from a copy of itself after the program started here has ended.
for _ in $(seq 120); do
    [ -e "$folder" ] || break
    sleep 0.5
done
[ ! -e "$folder" ] || fail "left behind: $(find "$folder" | head -n5 | tr '\n' ' ')"
[ -z "$(shortcuts)" ] || fail "shortcuts left behind: $(shortcuts)"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstaller is still registered"
echo "uninstalled: nothing left behind"
