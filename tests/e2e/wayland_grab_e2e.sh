#!/usr/bin/env bash
# The command-line grab on a private headless sway through screen copy, whose backgrounds are known
# pictures: at scale 1, at scale 2, turned, and on two outputs of different scales.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
trap 'stop_sway; finish' EXIT

start_desktop 1
"$QUORVEX7" --grab "$work/shot.png" && same_pixels "$work/shot.png" "$work/bg1.png" || fail "the PNG grab is not the screen"
"$QUORVEX7" --grab "$work/shot.bmp" --screen screencopy && same_pixels "$work/shot.bmp" "$work/bg1.png" \
    || fail "the BMP grab is not the screen"
"$QUORVEX7" --grab - --region 300x200+900+550 >"$work/part.png" && is_part "$work/part.png" "$work/bg1.png" 300x200+900+550 \
    || fail "the region is not that part of the screen"
"$QUORVEX7" --grab "$work/far.png" --region 100x100+1200+0 2>"$work/err" && fail "a region beyond the screen"
grep -q "is not inside the 1280x800 screen" "$work/err" || fail "no reason for the region: $(cat "$work/err")"
QUORVEX7_SCREEN=x11 "$QUORVEX7" --grab "$work/x.png" 2>"$work/err" && fail "X11 forced without a display"
grep -q "no display" "$work/err" || fail "the forced source's failure: $(cat "$work/err")"
stop_sway

start_desktop 2 # its device pixels; a region at odd device pixels reaches out to whole logical pixels
"$QUORVEX7" --grab "$work/shot2.png" && same_pixels "$work/shot2.png" "$work/bg2.png" \
    || fail "the grab at scale 2 is not the device pixels"
"$QUORVEX7" --grab "$work/part2.png" --region 301x201+901+551 && is_part "$work/part2.png" "$work/bg2.png" 301x201+901+551 \
    || fail "the region at scale 2 is not those device pixels"
stop_sway

# A monitor on its side, and one mirrored and turned: each shows upright, whole and in part.
"$E2E_PROBE" pattern 800 1280 "$work/tall.png" || fail "cannot write the pattern"
for transform in 90 flipped-270; do
    start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 transform $transform bg $work/tall.png center"
    "$QUORVEX7" --grab "$work/turned.png" && same_pixels "$work/turned.png" "$work/tall.png" \
        || fail "the output turned $transform is not upright"
    "$QUORVEX7" --grab "$work/turned-part.png" --region 300x200+400+900 \
        && is_part "$work/turned-part.png" "$work/tall.png" 300x200+400+900 || fail "the region turned $transform"
    stop_sway
done

# Two outputs at scale 1 and 2: the picture at the larger scale, the first output's pixels 2 x 2.
start_desktop 1+2
"$QUORVEX7" --grab "$work/both.png" || fail "the grab of two outputs failed"
[ "$(identify -format %wx%h "$work/both.png")" = 5120x1600 ] || fail "two outputs: $(identify "$work/both.png")"
convert "$work/bg1.png" -scale 200% "$work/left-expected.png"
is_part "$work/left-expected.png" "$work/both.png" 2560x1600+0+0 || fail "the scale-1 output is not its pixels doubled"
is_part "$work/bg2.png" "$work/both.png" 2560x1600+2560+0 || fail "the scale-2 output is not its device pixels"
"$QUORVEX7" --grab "$work/across.png" --region 401x301+2359+99 && is_part "$work/across.png" "$work/both.png" 401x301+2359+99 \
    || fail "the region across two outputs is not that part"
echo "PASS"
