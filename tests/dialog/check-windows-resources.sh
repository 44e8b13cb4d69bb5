#!/usr/bin/env bash
# Compiles the Windows window's resources (dialog templates written from the dialog layouts,
# string table, icon, version record and application manifest) and quorvel-lookup's (its
# manifest) with the cross resource compiler, so that a mistake shows in the Linux build too.
# (The Windows build checks the manifests' contents in the programs themselves.)
#
# check-windows-resources.sh WINDRES RESOURCES_FOLDER WORK_FOLDER VERSION MAIN_LAYOUT ABOUT_LAYOUT
#                             INCLUDE_FOLDER...
# (VERSION as in "1.0.0.1"; the two dialog layouts as the build writes them; the include folders
# hold the generated Version.h)
set -euo pipefail
windres=$1
resources=$2
work=$3
version=$4
layouts=("$5" "$6")
shift 6
version_text=${version//./, }  # the record's form: "1, 0, 0, 1"
includes=()
for folder in "$@"; do
    includes+=(-I "$folder")
done

mkdir -p "$work"
python3 "$resources/xrc_to_rc.py" "$work/Dialogs.rc" "${layouts[@]}"
"$windres" -I "$resources" -I "$work" "${includes[@]}" "$resources/Quorvel.rc" -O rc -o "$work/Quorvel.rc.txt"
grep -q '^128 14 /\* RT_GROUP_ICON \*/' "$work/Quorvel.rc.txt" || { echo "FAILED: no icon group 128"; exit 1; }
grep -q '^1 VERSIONINFO' "$work/Quorvel.rc.txt" || { echo "FAILED: no version record"; exit 1; }
grep -q '^102 DIALOGEX' "$work/Quorvel.rc.txt" || { echo "FAILED: no main dialog template 102"; exit 1; }
grep -q '^100 DIALOG ' "$work/Quorvel.rc.txt" || { echo "FAILED: no About box template 100"; exit 1; }
grep -qF '105, "Sorry,unable to resolve' "$work/Quorvel.rc.txt" || { echo "FAILED: no string table"; exit 1; }
for field in "\"FileVersion\", \"$version_text" "\"ProductVersion\", \"$version_text" \
    '"FileDescription", "Query Information of IP address' '"ProductName", "Quorvel' \
    '"InternalName", "Quorvel'; do
    grep -qF "$field" "$work/Quorvel.rc.txt" || { echo "FAILED: version field $field"; exit 1; }
done
grep -q '^1 24 /\* RT_MANIFEST \*/' "$work/Quorvel.rc.txt" || { echo "FAILED: no manifest 1 for quorvel.exe"; exit 1; }
"$windres" -I "$resources" "$resources/QuorvelLookup.rc" -O rc -o "$work/QuorvelLookup.rc.txt"
grep -q '^1 24 /\* RT_MANIFEST \*/' "$work/QuorvelLookup.rc.txt" || { echo "FAILED: no manifest 1 for quorvel-lookup.exe"; exit 1; }
echo "dialog templates, string table, icon group 128, version record $version and both manifests compile"
