#!/usr/bin/env bash
# Compiles the window's Windows resources (icon and version record) with the cross resource
# compiler, so that a mistake shows before a Windows build. wxWidgets' own resources are not
# on this machine: an empty stand-in takes their place.
#
# check-windows-resources.sh WINDRES RESOURCES_FOLDER WORK_FOLDER VERSION INCLUDE_FOLDER...
# (VERSION as in "1.0.0.1"; the include folders hold the generated Version.h)
set -euo pipefail
windres=$1
resources=$2
work=$3
version=$4
shift 4
version_text=${version//./, }  # the record's form: "1, 0, 0, 1"
includes=()
for folder in "$@"; do
    includes+=(-I "$folder")
done

mkdir -p "$work/wx/msw"
: >"$work/wx/msw/wx.rc"
"$windres" "${includes[@]}" -I "$work" "$resources/Quorvel.rc" -O rc -o "$work/Quorvel.rc.txt"
grep -q '^128 14 /\* RT_GROUP_ICON \*/' "$work/Quorvel.rc.txt" || { echo "FAILED: no icon group 128"; exit 1; }
grep -q '^1 VERSIONINFO' "$work/Quorvel.rc.txt" || { echo "FAILED: no version record"; exit 1; }
for field in "\"FileVersion\", \"$version_text" "\"ProductVersion\", \"$version_text" \
    '"FileDescription", "Query Information of IP address' '"ProductName", "Quorvel' \
    '"InternalName", "Quorvel'; do
    grep -qF "$field" "$work/Quorvel.rc.txt" || { echo "FAILED: version field $field"; exit 1; }
done
echo "icon group 128 and version record $version compile"
