#!/usr/bin/env bash
# Checks Quorvel as a user meets it once installed, from a configured and built tree
# (default build/ci):
#  - the desktop entry and the AppStream metainfo, as the build generates them, pass their
#    validators;
#  - both man pages render without warnings;
#  - the install rules honour the prefix and DESTDIR;
#  - the Debian package builds, derives its dependencies, holds what the install rules
#    install and its copyright file, changelog and lintian overrides, passes lintian, and its
#    quorvel-lookup works from where the package puts it (unpacked into a scratch root; in CI
#    also installed with dpkg, then purged again).
# Private addresses only: nothing here reaches a registry.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/ci}
[ -f "$build/CMakeCache.txt" ] || { echo "check-package: $build is no configured build tree" >&2; exit 1; }

# Up to date first (a no-op right after the build), so that what is checked is what is packaged.
cmake --build "$build" -j 2 >/dev/null

work=$(mktemp -d)
installed_by_us=""
cleanup() {
    if [ -n "$installed_by_us" ]; then
        dpkg --purge quorvel >/dev/null || echo "check-package: could not purge quorvel" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT

checks=0
fail() {
    echo "check-package: FAILED: $*" >&2
    exit 1
}
pass() {
    checks=$((checks + 1))
    echo "ok $checks - $*"
}

cache_value() {
    sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}
version=$(cache_value CMAKE_PROJECT_VERSION)
version_line="Quorvel Version $(cut -d. -f1,2 <<<"$version")"  # what --version prints
app_id=$(cache_value QUORVEL_APP_ID)
[ -n "$app_id" ] || fail "$build/CMakeCache.txt names no QUORVEL_APP_ID"
generated=$build/packaging  # the desktop entry, metainfo and man pages, versions filled in
# The window is built when the tree holds a program named quorvel.
window_built=no
if [ -n "$(find "$build" -name quorvel -type f -perm -u+x -print -quit)" ]; then
    window_built=yes
fi
echo "version $version, window built: $window_built"

# desktop-file-validate says "hint:" for advice and "error:"/"warning:" for faults.
validate_desktop_entry() {
    local report
    report=$(desktop-file-validate "$1" 2>&1) || fail "desktop-file-validate $1: $report"
    if grep -Eq '(error|warning):' <<<"$report"; then
        fail "desktop-file-validate $1: $report"
    fi
}

validate_metainfo() {
    local report
    report=$(appstreamcli validate --no-net "$1" 2>&1) || fail "appstreamcli validate $1: $report"
    grep -q "<release version=\"$version\"" "$1" || fail "$1 has no release $version"
}

# man prints groff's warnings on stderr; a page that renders cleanly prints none.
render_man_page() {
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=all -l "$1" 2>&1 >/dev/null) ||
        fail "man -l $1 failed: $warnings"
    [ -z "$warnings" ] || fail "man -l $1 warns: $warnings"
    lexgrog "$1" >/dev/null || fail "man's index cannot read the NAME line of $1"
}

expect_files() {
    local root=$1
    shift
    for file in "$@"; do
        [ -e "$root/$file" ] || fail "$root lacks $file"
    done
}

# What an install under a prefix holds, relative to the prefix.
expected_files=(bin/quorvel-lookup share/man/man1/quorvel-lookup.1.gz)
if [ "$window_built" = yes ]; then
    expected_files+=(
        bin/quorvel
        share/man/man1/quorvel.1.gz
        "share/applications/$app_id.desktop"
        "share/metainfo/$app_id.metainfo.xml"
        "share/icons/hicolor/16x16/apps/$app_id.png"
        "share/icons/hicolor/32x32/apps/$app_id.png"
        "share/icons/hicolor/48x48/apps/$app_id.png"
        "share/icons/hicolor/scalable/apps/$app_id.svg"
    )
fi

# --- the desktop integration and the man pages, as the build generates them
if [ "$window_built" = yes ]; then
    validate_desktop_entry "$generated/$app_id.desktop"
    grep -qx 'Categories=Network;Utility;' "$generated/$app_id.desktop" || fail "desktop entry categories"
    pass "desktop entry validates"
    validate_metainfo "$generated/$app_id.metainfo.xml"
    pass "AppStream metainfo validates, release $version"
fi
for page in "$generated"/man/*.1; do
    render_man_page "$page"
    grep -q "^\.TH .* \"Quorvel $version\"" "$page" || fail "$page is not of version $version"
done
grep -qF "\"$version_line\"" "$generated/man/quorvel-lookup.1" || fail "quorvel-lookup(1) lacks \"$version_line\""
pass "man pages render without warnings, version $version"
for size in 16 32 48; do
    file -b "packaging/icons/hicolor/${size}x${size}/apps/quorvel.png" |
        grep -q "PNG image data, $size x $size" || fail "the ${size}x$size icon is not $size pixels"
done
python3 packaging/icons/draw-icons.py --check || fail "the desktop's icons are not the window's"
pass "icons have their sizes and show the window's icon"

# --- install rules
cmake --install "$build" --prefix "$work/prefix" >/dev/null
expect_files "$work/prefix" "${expected_files[@]}"
pass "install honours --prefix"
prefix=$(cache_value CMAKE_INSTALL_PREFIX)
DESTDIR="$work/destdir" cmake --install "$build" >/dev/null
expect_files "$work/destdir$prefix" "${expected_files[@]}"
pass "install honours DESTDIR under $prefix"
if [ "$window_built" = no ] && [ -e "$work/prefix/share/applications/$app_id.desktop" ]; then
    fail "a desktop entry is installed without the window"
fi

# --- the Debian package
rm -rf "$build/package"
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$build"/package/quorvel_*.deb)
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libc6 (>=' <<<"$depends" || fail "dependencies not derived: '$depends'"
if [ "$window_built" = yes ]; then
    grep -q 'libwx' <<<"$depends" || fail "the window's toolkit is missing from '$depends'"
fi
pass "package $(basename "$deb") built, depends: $depends"

# The package holds exactly what the install rules install under /usr, and the files only a
# Debian package has.
debian_files=(share/doc/quorvel/copyright share/doc/quorvel/changelog.Debian.gz
    share/lintian/overrides/quorvel)
DESTDIR="$work/usr-install" cmake --install "$build" --prefix /usr >/dev/null
{
    (cd "$work/usr-install" && find . -type f)
    printf './usr/%s\n' "${debian_files[@]}"
} | sort >"$work/installed.txt"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$work/packaged.txt"
diff -u "$work/installed.txt" "$work/packaged.txt" || fail "package and install rules differ"
printf './usr/%s\n' "${expected_files[@]}" "${debian_files[@]}" | sort >"$work/expected.txt"
diff -u "$work/expected.txt" "$work/packaged.txt" || fail "the package holds other files than expected"
pass "package holds what the install rules install, its copyright, changelog and lintian overrides"

# lintian's errors and warnings fail the check; each tag the package keeps on purpose is
# overridden, with its reason, in packaging/debian/lintian-overrides. Its information tags are
# shown too, and are overridden the same way, but a new one only shows. lintian as root says so
# on stderr; that line is dropped.
lintian_report=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) ||
    fail "lintian: $(grep -v 'running with root privileges' <<<"$lintian_report")"
lintian_report=$(grep -v 'running with root privileges' <<<"$lintian_report" || true)
[ -z "$lintian_report" ] || echo "$lintian_report"
pass "lintian reports no error and no warning"

# Unpacked into a scratch root, the programs and pages work from where they land.
dpkg-deb -x "$deb" "$work/root"
# Runs a command in a private network namespace whose resolver knows one name from its hosts
# file and asks no DNS server: the private address's reverse lookup never leaves the machine.
offline() {
    local hosts="$work/offline-hosts" resolv="$work/offline-resolv.conf" nss="$work/offline-nss"
    printf '127.0.0.1 localhost\n192.168.1.1 gateway.quorvel.example\n' >"$hosts"
    printf 'nameserver 127.0.0.1\n' >"$resolv"
    printf 'hosts: files dns\n' >"$nss"
    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(--map-root-user)
    unshare "${as_root[@]}" --net --mount sh -c '
        mount --bind "$1" /etc/hosts && mount --bind "$2" /etc/resolv.conf &&
        mount --bind "$3" /etc/nsswitch.conf && shift 3 && exec "$@"' \
        offline "$hosts" "$resolv" "$nss" "$@"
}

check_installed_lookup() {
    local lookup=$1 out status=0
    [ "$("$lookup" --version)" = "$version_line" ] || fail "$lookup --version"
    out=$(offline "$lookup" 192.168.1.1) || status=$?
    [ "$status" -eq 0 ] || fail "$lookup 192.168.1.1 exited $status"
    out=${out//$'\r'/}  # the header's lines end in CR LF, as the window shows them
    grep -qx 'Address: 192.168.1.1' <<<"$out" || fail "$lookup 192.168.1.1 printed: $out"
    grep -qx 'This is a private IP address.' <<<"$out" || fail "$lookup 192.168.1.1 printed: $out"
}
check_installed_lookup "$work/root/usr/bin/quorvel-lookup"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
    render_man_page "$page"
done
if [ "$window_built" = yes ]; then
    validate_desktop_entry "$work/root/usr/share/applications/$app_id.desktop"
    validate_metainfo "$work/root/usr/share/metainfo/$app_id.metainfo.xml"
fi
pass "unpacked package: quorvel-lookup answers, pages render"

# In CI the machine is ours: install the package for real, use it, purge it, and see that
# nothing is left behind. Elsewhere dpkg would touch a shared system, so it is skipped.
if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then
    if dpkg-query -W quorvel >/dev/null 2>&1; then
        fail "a quorvel package is already installed; not touching it"
    fi
    installed_by_us=yes
    dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i"; }
    check_installed_lookup /usr/bin/quorvel-lookup
    if [ "$window_built" = yes ] && ldd /usr/bin/quorvel | grep -q 'not found'; then
        fail "the installed window lacks libraries: $(ldd /usr/bin/quorvel | grep 'not found')"
    fi
    [ "$(command -v quorvel-lookup)" = /usr/bin/quorvel-lookup ] || fail "quorvel-lookup not on PATH"
    # (unless this machine's dpkg is set to leave man pages out)
    if [ -e /usr/share/man/man1/quorvel-lookup.1.gz ]; then
        man -w quorvel-lookup >/dev/null || fail "man does not find quorvel-lookup(1)"
    fi
    dpkg --purge quorvel >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg --purge"; }
    installed_by_us=""
    while read -r file; do
        [ ! -e "/${file#./}" ] || fail "purging left /${file#./} behind"
    done <"$work/packaged.txt"
    pass "dpkg installs it, quorvel-lookup answers from /usr/bin, purge removes every file"
else
    echo "skip - installing with dpkg (only in CI, as root)"
fi

echo
echo "Contents of $(basename "$deb") ($(stat -c %s "$deb") bytes):"
dpkg-deb -c "$deb"
echo "package checks: all $checks passed"
