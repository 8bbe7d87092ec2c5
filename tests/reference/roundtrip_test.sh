#!/usr/bin/env bash
# Real icons that nobody here made, read and written again by iconextract, checked against an
# independent reader (ico_compare) and icoutils:
#  - every ICO file on this machine (find / -xdev -name '*.ico', outside the build folders);
#  - every icon group that `wrestool -x -t 14` extracts from Wine's DLLs and executables.
# Each copy must hold the same images in the same order, byte for byte but for biSizeImage, and
# `icotool -l` must list the same width, height and bit depth for each image as for the original.
#   roundtrip_test.sh ICONEXTRACT ICO_COMPARE WORK-DIR MODULE-DIR...
set -u
iconextract=$1 compare=$2 work=$3
shift 3
command -v icotool >/dev/null && command -v wrestool >/dev/null ||
    { echo "icoutils (icotool, wrestool) is needed: apt-get install icoutils"; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work" && mkdir -p "$work/groups" "$work/copies"

# Wine's modules: the 64-bit ones, and the 32-bit ones where they are there.
for dir in "$@"; do
    [ -d "$dir" ] || continue
    tag=$(echo "$dir" | tr / _)
    mkdir -p "$work/groups/$tag"
    for module in "$dir"/*.dll "$dir"/*.exe "$dir"/*.icl; do
        wrestool -x -t 14 "$module" -o "$work/groups/$tag/" 2>/dev/null
    done
done

sources=()
while IFS= read -r -d '' file; do sources+=("$file"); done < <(
    find / -xdev \( -path "$root/build" -o -path /proc -o -path /tmp -o -path "$work" \) -prune \
        -o -type f -iname '*.ico' -print0 2>/dev/null)
machine_files=${#sources[@]}
while IFS= read -r -d '' file; do sources+=("$file"); done < <(find "$work/groups" -type f -name '*.ico' -print0)
groups=$((${#sources[@]} - machine_files))

passed=0 failed=0 n=0
# icotool's listing without the palette size, which it takes from bColorCount and which the
# writer computes afresh (by rule, from planes and bits) rather than copying.
listing() { icotool -l "$1" 2>/dev/null | sed -e 's/ --palette-size=[0-9]*//' -e 's/--index=[0-9]* //'; }
for source in "${sources[@]}"; do
    n=$((n + 1))
    copy="$work/copies/$n.ico"
    # The source's name must end in "ico" for the extractor to read it as an icon file.
    result=$("$iconextract" "$source" "$copy" 2>&1)
    problem=""
    if [ "$result" != 1 ] || [ ! -f "$copy" ]; then
        # A file of which icotool lists no image either (such as a PNG file named .ico) is no
        # icon file: the extractor must refuse it too. (icotool exits 0 even then.)
        if [ -z "$(listing "$source")" ] && [ ! -f "$copy" ]; then
            passed=$((passed + 1)); continue
        fi
        problem="iconextract printed '$result' and wrote no copy"
    elif ! why=$("$compare" "$source" "$copy" 2>&1); then
        problem=$why
    elif [ "$(listing "$source")" != "$(listing "$copy")" ]; then
        problem="icotool lists other sizes or depths: $(diff <(listing "$source") <(listing "$copy") | tr '\n' ' ')"
    fi
    if [ -z "$problem" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $source: $problem"
    fi
done
echo "round trip: $machine_files ICO files of this machine and $groups icon groups of Wine's modules"
echo "roundtrip: $passed passed, $failed failed"
[ "$groups" -gt 0 ] && [ "$failed" -eq 0 ]
