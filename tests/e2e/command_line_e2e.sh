#!/usr/bin/env bash
# quorvex7 --grab as a script would use it: the file has the screen's pixels, every failure is one
# line on stderr and a non-zero exit status, and no window ever appears.
source "$(dirname "$0")/e2e_lib.sh"

set_root_pattern
size=$(xdpyinfo | awk '/dimensions:/ {print $2}')

expect_failure() { # expect_failure "what" [env...] -- args...
    local what=$1
    shift
    local status
    "$@" >"$work/out" 2>"$work/err"
    status=$?
    [ "$status" -ne 0 ] || fail "$what: exit status 0"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$what: stderr is not one line: $(cat "$work/err")"
    echo "$what -> $(cat "$work/err")"
}

"$QUORVEX7" --grab "$work/whole.jpg" || fail "--grab whole.jpg failed"
[ "$(identify -format '%m %wx%h' "$work/whole.jpg")" = "JPEG $size" ] || fail "whole.jpg is not a $size JPEG"

"$QUORVEX7" --grab "$work/part.BMP" --region 300x200+64+32 --delay 0.2 || fail "--grab part.BMP failed"
[ "$(head -c 2 "$work/part.BMP")" = BM ] && [ "$(identify -format '%wx%h' "$work/part.BMP")" = 300x200 ] \
    || fail "part.BMP is not a 300x200 BMP"
convert "$work/part.BMP" "$work/part.png"
"$E2E_PROBE" patch "$work/part.png" 0 0 64 32 200 || fail "part.BMP does not hold the region's pixels"

# Watch the screen while a grab waits and reads it: no window may appear, not even for a moment.
xdotool search --onlyvisible --name . >/dev/null 2>&1 && fail "a window is shown before the grab"
"$QUORVEX7" --grab "$work/late.jpg" --delay 1.5 &
app_pid=$!
polls=0
while kill -0 "$app_pid" 2>/dev/null; do
    xdotool search --onlyvisible --name . >/dev/null 2>&1 && fail "a window appeared during the grab"
    polls=$((polls + 1))
    sleep 0.05
done
wait "$app_pid" || fail "--grab late.jpg --delay 1.5 failed"
app_pid=
[ "$polls" -ge 10 ] || fail "the grab ended after $polls looks, before its delay was over"
[ "$(identify -format '%m' "$work/late.jpg")" = JPEG ] || fail "late.jpg is not a JPEG"

"$QUORVEX7" --help | grep -q -- '--grab' || fail "--help does not list --grab"
"$QUORVEX7" --version | grep -q '^quorvex7 ' || fail "--version"

expect_failure "no display" env -u DISPLAY "$QUORVEX7" --grab "$work/a.jpg"
expect_failure "no display for the window" env -u DISPLAY "$QUORVEX7"
expect_failure "wayland" env WAYLAND_DISPLAY=wayland-0 "$QUORVEX7" --grab "$work/a.jpg"
expect_failure "unwritable path" "$QUORVEX7" --grab /nonexistent-folder/a.jpg
printf old >"$work/kept.bmp" && chmod 0444 "$work/kept.bmp"
expect_failure "read-only file" "$QUORVEX7" --grab "$work/kept.bmp"
[ "$(cat "$work/kept.bmp")" = old ] || fail "the read-only file was replaced"
expect_failure "region outside" "$QUORVEX7" --grab "$work/a.jpg" --region 100x100+1900+0
expect_failure "unknown ending" "$QUORVEX7" --grab "$work/a.png"
expect_failure "bad region" "$QUORVEX7" --grab "$work/a.jpg" --region 100x100
[ ! -e "$work/a.jpg" ] && [ ! -e "$work/a.png" ] || fail "a failed grab left a file"
echo "command-line grabs written, failures reported"
