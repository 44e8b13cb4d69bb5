#!/usr/bin/env bash
# Installs the Debian packages Quorvel needs for one or more purposes:
#
#   scripts/install-deps.sh [PURPOSE]...     (default: all)
#
#   run      building and running the window and quorvel-lookup (scripts/run.sh)
#   package  what building the Debian package adds (the README's Install)
#   test     what the tests add: the unit, window, end-to-end and hostile tests, the
#            microbenchmarks they build, and the package checks
#   extra    what the other builds of scripts/test.sh add: the sanitizer and fuzz builds, the
#            comparison with the whois client, and the Windows cross build
#   all      every purpose above (scripts/test.sh, CI)
#
# Safe to run again: when everything is present it does nothing.
set -euo pipefail

run_packages=(
    cmake make g++ pkgconf
    # the window
    libwxgtk3.2-dev
    # GTK's own headers, for the settings the window changes at start-up
    libgtk-3-dev
    # international host names, turned into the ASCII form the resolver is asked about
    libidn2-dev
    # quorvel-lookup's options and its JSON Lines: header-only, also in the Windows builds
    libcli11-dev nlohmann-json3-dev
)
package_packages=(
    # dpkg-shlibdeps reads the package's dependencies off the programs, which cpack finds
    # with file
    dpkg-dev file
)
test_packages=(
    googletest libgtest-dev libgmock-dev
    # the microbenchmarks, which the test builds compile and ctest runs once
    libbenchmark-dev
    # the window's tests: a real X server and real key events; the X library the window's
    # tests and start-up timer watch the X server with
    xvfb xauth xdotool libx11-dev
    # the end-to-end sandbox: namespaces, loopback, a DNS server, the stand-in registries
    util-linux iproute2 dnsmasq-base python3
    # the window's end-to-end cases read its information box through the clipboard
    xclip
    # the window's accessibility test reads its controls as a screen reader does, over AT-SPI
    # on a D-Bus session of its own
    python3-pyatspi at-spi2-core dbus-daemon
    # the package checks: validators for the desktop entry and metainfo, man to render the
    # pages, lintian for the package itself
    desktop-file-utils appstream man-db lintian
    # scripts/tidy.sh, over the product code
    clang-tidy
)
sanitize_and_fuzz_packages=(
    # clang, its sanitizer and libFuzzer runtimes, and llvm-symbolizer for readable reports
    clang libclang-rt-14-dev llvm
)
bench_packages=(
    # the whois client quorvel-lookup is compared with
    whois
)
cross_packages=(
    # the 32-bit Windows cross build
    g++-mingw-w64-i686
    # the 64-bit Windows cross build, its tests under wine (GoogleTest's sources; wine's fonts
    # draw the caption buttons and menu marks) and the installer
    g++-mingw-w64-x86-64 googletest wine wine64 fonts-wine nsis
    # wrestool, which reads the application manifests out of the built Windows programs
    icoutils
)

add_purpose() {
    case $1 in
        run) packages+=("${run_packages[@]}") ;;
        package) packages+=("${package_packages[@]}") ;;
        test) packages+=("${test_packages[@]}") ;;
        extra) packages+=("${sanitize_and_fuzz_packages[@]}" "${bench_packages[@]}" "${cross_packages[@]}") ;;
        all)
            local each
            for each in run package test extra; do add_purpose "$each"; done
            ;;
        *)
            echo "install-deps: unknown purpose '$1' (run, package, test, extra, all)" >&2
            exit 2
            ;;
    esac
}

packages=()
for purpose in "${@:-all}"; do
    add_purpose "$purpose"
done

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
