#!/usr/bin/env bash
# The command-line grab on a wlroots desktop through screen copy: a private headless sway whose
# backgrounds are known pictures, at scale 1, at scale 2, turned, and with two outputs of different
# scales.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
trap 'stop_sway; finish' EXIT

same_pixels() { # same_pixels A B: the two pictures hold exactly the same pixels
    [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}

"$E2E_PROBE" pattern 1280 800 "$work/bg1.png" || fail "cannot write the pattern"
"$E2E_PROBE" pattern 2560 1600 "$work/bg2.png" || fail "cannot write the pattern"

# One output at scale 1: every pixel, in every format; a region; standard output.
start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/bg1.png center"
"$QUORVEX7" --grab "$work/shot.png" || fail "the grab failed"
same_pixels "$work/shot.png" "$work/bg1.png" || fail "the PNG grab is not the screen"
"$QUORVEX7" --grab "$work/shot.bmp" --screen screencopy || fail "the BMP grab failed"
same_pixels "$work/shot.bmp" "$work/bg1.png" || fail "the BMP grab is not the screen"
"$QUORVEX7" --grab - --region 300x200+900+550 >"$work/part.png" || fail "the region grab failed"
convert "$work/bg1.png" -crop 300x200+900+550 +repage "$work/part-expected.png"
same_pixels "$work/part.png" "$work/part-expected.png" || fail "the region is not that part of the screen"
"$QUORVEX7" --grab "$work/far.png" --region 100x100+1200+0 2>"$work/err" && fail "a region beyond the screen"
grep -q "is not inside the 1280x800 screen" "$work/err" || fail "no reason for the region: $(cat "$work/err")"
QUORVEX7_SCREEN=x11 "$QUORVEX7" --grab "$work/x.png" 2>"$work/err" && fail "X11 forced without a display"
grep -q "no display" "$work/err" || fail "the forced source's failure: $(cat "$work/err")"
stop_sway

# One output at scale 2: its device pixels, 2560 x 1600.
start_sway 1 "output HEADLESS-1 mode 2560x1600 position 0 0 scale 2 bg $work/bg2.png stretch"
"$QUORVEX7" --grab "$work/shot2.png" || fail "the grab at scale 2 failed"
same_pixels "$work/shot2.png" "$work/bg2.png" || fail "the grab at scale 2 is not the device pixels"
# A region at odd device pixels: the copy of its part reaches out to whole logical pixels.
"$QUORVEX7" --grab "$work/part2.png" --region 301x201+901+551 || fail "the region grab at scale 2 failed"
convert "$work/bg2.png" -crop 301x201+901+551 +repage "$work/part2-expected.png"
same_pixels "$work/part2.png" "$work/part2-expected.png" || fail "the region at scale 2 is not those device pixels"
stop_sway

# A monitor on its side, and one mirrored and turned: the picture shows each as it shows, upright,
# the whole output and an area of it.
"$E2E_PROBE" pattern 800 1280 "$work/tall.png" || fail "cannot write the pattern"
convert "$work/tall.png" -crop 300x200+400+900 +repage "$work/tall-part.png"
for transform in 90 flipped-270; do
    start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 transform $transform bg $work/tall.png center"
    "$QUORVEX7" --grab "$work/turned.png" || fail "the grab of a turned output ($transform) failed"
    same_pixels "$work/turned.png" "$work/tall.png" || fail "the output turned $transform is not upright"
    "$QUORVEX7" --grab "$work/turned-part.png" --region 300x200+400+900 || fail "the region ($transform) failed"
    same_pixels "$work/turned-part.png" "$work/tall-part.png" || fail "the region turned $transform"
    stop_sway
done

# Two outputs: 1280 x 800 at scale 1, beside 2560 x 1600 at scale 2 (1280 x 800 logical). The
# picture is at the larger scale: the first output's pixels each cover 2 x 2.
start_sway 2 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/bg1.png center" \
    "output HEADLESS-2 mode 2560x1600 position 1280 0 scale 2 bg $work/bg2.png stretch"
"$QUORVEX7" --grab "$work/both.png" || fail "the grab of two outputs failed"
[ "$(identify -format %wx%h "$work/both.png")" = 5120x1600 ] || fail "two outputs: $(identify "$work/both.png")"
convert "$work/both.png" -crop 2560x1600+0+0 +repage "$work/left.png"
convert "$work/bg1.png" -scale 200% "$work/left-expected.png"
same_pixels "$work/left.png" "$work/left-expected.png" || fail "the scale-1 output is not its pixels doubled"
convert "$work/both.png" -crop 2560x1600+2560+0 +repage "$work/right.png"
same_pixels "$work/right.png" "$work/bg2.png" || fail "the scale-2 output is not its device pixels"
"$QUORVEX7" --grab "$work/across.png" --region 401x301+2359+99 || fail "the region across two outputs failed"
convert "$work/both.png" -crop 401x301+2359+99 +repage "$work/across-expected.png"
same_pixels "$work/across.png" "$work/across-expected.png" || fail "the region across two outputs is not that part"
echo "PASS"
