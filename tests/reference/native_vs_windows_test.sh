#!/usr/bin/env bash
# The native stand-in and the real Windows calls agree: every icon group of every module of
# Wine's that holds any, extracted natively by iconextract and in the x86_64 Windows build under
# Wine (by extract_batch, in one process), gives the same result and the same ICO file, byte
# for byte.
#   native_vs_windows_test.sh ICONEXTRACT WINE-EXEC EXTRACT-BATCH.EXE WORK-DIR MODULE-DIR...
set -u
native=$1 wine=$2 batch=$3 work=$4
shift 4
[ -x "$native" ] || { echo "FAILED: no native build at $native (scripts/build native)"; exit 1; }
rm -rf "$work" && mkdir -p "$work/native" "$work/windows"
winpath() { printf 'Z:%s' "${1//\//\\}"; }

list="$work/list.txt" expected="$work/expected.txt"
: >"$list"
: >"$expected"
n=0
for dir in "$@"; do
    [ -d "$dir" ] || continue  # the 32-bit modules may not be there
    for module in "$dir"/*.dll "$dir"/*.exe "$dir"/*.icl; do
        [ -f "$module" ] || continue
        count=$("$native" "$module" "$work/count.ico" 1)
        [ "$count" -gt 0 ] 2>/dev/null || continue
        for ((index = 1; index <= count + 1; index++)); do
            n=$((n + 1))
            "$native" "$module" "$work/native/$n.ico" "$index" >>"$expected"
            printf '%s\t%d\t%s\n' "$(winpath "$module")" "$index" "$(winpath "$work/windows/$n.ico")" >>"$list"
        done
    done
done
"$wine" "$batch" "$(winpath "$list")" | tr -d '\r' >"$work/results.txt"

passed=0 failed=0
if ! diff -q "$expected" "$work/results.txt" >/dev/null; then
    failed=$((failed + 1))
    echo "FAILED: results differ:"
    diff "$expected" "$work/results.txt" | head -20
fi
for ((i = 1; i <= n; i++)); do
    if [ -e "$work/native/$i.ico" ] || [ -e "$work/windows/$i.ico" ]; then
        if cmp -s "$work/native/$i.ico" "$work/windows/$i.ico"; then
            passed=$((passed + 1))
        else
            failed=$((failed + 1))
            echo "FAILED: extraction $i differs: $(sed -n "${i}p" "$list")"
        fi
    fi
done
echo "native vs windows: $n extractions ($passed ICO files compared)"
echo "native vs windows: $passed passed, $failed failed"
[ "$passed" -gt 0 ] && [ "$failed" -eq 0 ]
