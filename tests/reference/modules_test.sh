#!/usr/bin/env bash
# Every icon group of every module in the given folders (Wine's DLLs and executables, and our
# generated 16-bit icon libraries), read by iconextract from the module and
# compared with what icoutils' wrestool extracts from it:
#  - the result printed is the number of groups `wrestool -l -t 14` lists, each name once;
#  - index N writes the images, in order and byte for byte but for biSizeImage, that
#    `wrestool -x -t 14 --name=NAME` writes for the group listed N-th;
#  - the index after the last prints 0 and writes nothing.
#   modules_test.sh ICONEXTRACT ICO_COMPARE WORK-DIR MODULE-DIR...
set -u
iconextract=$1 compare=$2 work=$3
shift 3
command -v wrestool >/dev/null || { echo "wrestool (icoutils) is needed"; exit 1; }
rm -rf "$work" && mkdir -p "$work"

passed=0 failed=0 modules=0 groups=0
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }
for dir in "$@"; do
    [ -d "$dir" ] || continue  # the 32-bit modules may not be there
    for module in "$dir"/*.dll "$dir"/*.exe "$dir"/*.icl; do
        [ -f "$module" ] || continue
        modules=$((modules + 1))
        # Names in listing order, each once (a name may come in several languages).
        mapfile -t names < <(wrestool -l -t 14 "$module" 2>/dev/null |
            sed -n -e "s/^--type=14 --name='\(.*\)' \(--language=\|\[\).*/\1/p" \
            -e "s/^--type=14 --name=\([^' ][^ ]*\) .*/\1/p" | awk '!seen[$0]++')
        count=${#names[@]}
        groups=$((groups + count))
        for ((index = 1; index <= count; index++)); do
            out="$work/ours.ico" reference="$work/theirs.ico"
            rm -f "$out" "$reference"
            result=$("$iconextract" "$module" "$out" "$index")
            wrestool -x -t 14 --name="${names[index - 1]}" "$module" >"$reference" 2>/dev/null
            if [ "$result" != "$count" ]; then
                fail "$module $index: printed '$result', wrestool lists $count groups"
            elif ! why=$("$compare" "$reference" "$out" 2>&1); then
                fail "$module $index (${names[index - 1]}): $why"
            else
                passed=$((passed + 1))
            fi
        done
        rm -f "$work/past.ico"
        result=$("$iconextract" "$module" "$work/past.ico" $((count + 1)))
        if [ "$result" != 0 ] || [ -e "$work/past.ico" ]; then
            fail "$module $((count + 1)): printed '$result' or wrote a file past the last group"
        else
            passed=$((passed + 1))
        fi
    done
done
echo "modules: $modules modules with $groups icon groups"
echo "modules: $passed passed, $failed failed"
[ "$groups" -gt 0 ] && [ "$failed" -eq 0 ]
