#!/usr/bin/env bash
# A full disk: extractions into a tmpfs of 8 KiB. What does not fit leaves no partial file behind,
# what fits is written whole; the result printed is the group count either way (a failed write
# does not change it). Needs root to mount the tmpfs; exits 77 (skipped) without.
#   full_disk_test.sh PROGRAM WORK-DIR LARGE.ico SMALL.ico [windows]
# PROGRAM as in cli_test.sh: the binary, or the Wine runner and the exe as one word.
set -u
program=$1 work=$2 large=$3 small=$4 windows=${5:-}
read -r -a run <<<"$program"
winpath() { if [ -n "$windows" ]; then printf 'Z:%s' "${1//\//\\}"; else printf '%s' "$1"; fi; }

tiny="$work/tiny"
mkdir -p "$tiny"
mountpoint -q "$tiny" && umount "$tiny"
if ! mount -t tmpfs -o size=8k tmpfs "$tiny" 2>/dev/null; then
    echo "SKIPPED: cannot mount a tmpfs (needs root)"
    exit 77
fi
trap 'umount "$tiny"' EXIT

passed=0 failed=0
check() {
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
extract() { "${run[@]}" "$(winpath "$1")" "$(winpath "$2")" 2>/dev/null | tr -d '\r'; }

check "the large icon does not fit" test "$(stat -c %s "$large")" -gt 8192
result=$(extract "$large" "$tiny/large.ico")
check "a write that fails still prints the count" test "$result" = 1
check "no partial ICO file is left" test -z "$(ls -A "$tiny")"
result=$(extract "$large" "$tiny/large.bmp")
check "no partial BMP file is left" test "$result" = 1 -a -z "$(ls -A "$tiny")"
result=$(extract "$small" "$tiny/small.ico")
check "what fits is written whole" test "$result" = 1 -a -f "$tiny/small.ico"
check "the small copy lists its images" test -n "$(icotool -l "$tiny/small.ico" 2>/dev/null)"

echo "full disk: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
