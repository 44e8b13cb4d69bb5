#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quorvel need. Safe to run
# again: when everything is present it does nothing.
set -euo pipefail

packages=(
    # build
    cmake make g++ pkgconf
    # tests
    googletest libgtest-dev libgmock-dev
    # the window
    libwxgtk3.2-dev
    # GTK's own headers, for the settings the window changes at start-up
    libgtk-3-dev
    # the window's tests: a real X server and real key events
    xvfb xauth xdotool
    # the Debian package and its checks: dependencies read off the programs, validators
    # for the desktop entry and metainfo, man to render the pages
    dpkg-dev file desktop-file-utils appstream man-db
    # the end-to-end sandbox: namespaces, loopback, a DNS server, the stand-in registries
    util-linux iproute2 dnsmasq-base python3
    # the window's end-to-end cases read its information box through the clipboard
    xclip
    # the 32-bit Windows cross build
    g++-mingw-w64-i686
    # the 64-bit Windows cross build, its tests under wine (GoogleTest's sources; wine's fonts
    # draw the caption buttons and menu marks) and the installer
    g++-mingw-w64-x86-64 googletest wine wine64 fonts-wine nsis
    # the benchmarks, the whois client they are compared with, and the X library the window's
    # start-up timer watches the X server with
    libbenchmark-dev whois libx11-dev
    # the sanitizer build and the fuzz targets: clang, its sanitizer and libFuzzer runtimes, and
    # llvm-symbolizer for readable reports
    clang libclang-rt-14-dev llvm
)

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
