#!/usr/bin/env bash
# The command-line front end, run as a user runs it.
#   cli_test.sh SAMPLE.ico IMAGE-DIR PROGRAM [CLIPBOARD-DUMP]
# PROGRAM is the iconextract binary, or, for the Windows build, "scripts/wine-exec iconextract.exe"
# (one word: the wrapper and the exe joined by a space); CLIPBOARD-DUMP only with the Windows build.
set -u
sample=$1 work=$2 program=$3 dump=${4:-}
read -r -a run <<<"$program"
windows=false
[ -n "$dump" ] && windows=true
passed=0 failed=0

# Paths as the program sees them: under Wine the Linux root is drive Z:.
winpath() { if $windows; then printf 'Z:%s' "${1//\//\\}"; else printf '%s' "$1"; fi; }
check() {  # check NAME CONDITION...
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
# Runs the program; sets $out (stdout without CR), $status.
invoke() {
    "${run[@]}" "$@" >"$work/stdout" 2>"$work/stderr"
    status=$?
    out=$(tr -d '\r' <"$work/stdout")
}
listing() { icotool -l "$1" 2>/dev/null; }

rm -rf "$work" && mkdir -p "$work"
cp "$sample" "$work/Sample.ICO"
src=$(winpath "$work/Sample.ICO")

invoke "$src" "$(winpath "$work/copy.ico")"
check "ICO to ICO prints 1 and exits 0" test "$out:$status" = "1:0"
check "the copy lists the same images" test "$(listing "$work/copy.ico")" = "$(listing "$sample")"
# A Chinese name: UTF-8 here; Wine hands it to the program in code page 936.
invoke "$src" "$(winpath "$work/图标.ico")"
check "a Chinese destination name" test "$out:$status" = "1:0" -a -f "$work/图标.ico"
invoke "$(winpath "$work/图标.ico")" "$(winpath "$work/图标2.ICO")"
check "a Chinese source name" test "$out:$status" = "1:0" -a -f "$work/图标2.ICO"
invoke "$src" "$(winpath "$work/first.bmp")" 1
check "ICO to BMP with index 1" test "$out:$status" = "1:0"
check "the BMP file is a 48x48 bitmap" test "$(head -c 2 "$work/first.bmp")" = "BM"
invoke "$src" "$(winpath "$work/none.ico")" 2
check "index 2 prints 0 and exits 1" test "$out:$status" = "0:1"
check "index 2 writes nothing" test ! -e "$work/none.ico"
invoke "$src" "$(winpath "$work/neg.ico")" -3
check "index -3 is the first group" test "$out:$status" = "1:0"
invoke "$(winpath "$work/missing.scr")" "$(winpath "$work/x.ico")"
check "unsupported source prints 0 and exits 1" test "$out:$status" = "0:1"

wrong_arguments() {
    invoke "$@"
    check "wrong arguments ($*) exit 2 and print nothing" test "$status:$out" = "2:"
    check "wrong arguments ($*) show the usage" grep -q "usage: iconextract" "$work/stderr"
}
wrong_arguments
wrong_arguments "$src"
wrong_arguments "$src" a.ico 1 extra
wrong_arguments "$src" a.ico x
wrong_arguments "$src" a.ico 1.5
wrong_arguments "$src" a.ico 99999999999
wrong_arguments "$src" a.ico ""
wrong_arguments --clipboard
wrong_arguments --clipboard "$src" 1 extra

invoke --clipboard "$src"
if $windows; then
    check "--clipboard prints 1 and exits 0" test "$out:$status" = "1:0"
    read -r -a dumper <<<"$dump"
    "${dumper[@]}" "$(winpath "$work/clip.dib")" >/dev/null 2>&1
    check "the clipboard holds a CF_DIB block" test -s "$work/clip.dib"
    # The block is the whole first image with halved biHeight; the BMP file is the same after its
    # 14-byte file header, up to the end of the XOR bitmap.
    bmp_body=$(tail -c +15 "$work/first.bmp" | xxd -p | tr -d '\n')
    clip=$(xxd -p "$work/clip.dib" | tr -d '\n')
    check "the clipboard bitmap matches the BMP output" test "${clip:0:${#bmp_body}}" = "$bmp_body"
else
    check "--clipboard is refused natively" test "$status" = 2
    check "the refusal says why" grep -q "Windows build" "$work/stderr"
fi

echo "cli: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
