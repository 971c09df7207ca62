#!/usr/bin/env bash
# quorvex7 --grab on screens of other depths, each in a private Xvfb of its own: a 16-bit screen
# gives its colours (not a black picture), a palette screen is refused in one line.
source "$(dirname "$0")/e2e_lib.sh"
runner="$(dirname "$0")/../support/run_in_xvfb.sh"

# The orange of the report: 16 bits keep 5, 6 and 5 of its bits, which read back as ff8200.
grab_at_depth() { # depth file
    XVFB_SCREEN="640x480x$1" "$runner" bash -c 'xsetroot -solid "#ff8000" && "$0" --grab "$1"' "$QUORVEX7" "$2"
}
grab_at_depth 16 "$work/shot.bmp" || fail "--grab shot.bmp on a 16-bit screen failed"
colour=$(convert "$work/shot.bmp" -format '%[hex:u.p{320,240}]' info: | cut -c1-6)
[ "$colour" = FF8200 ] || fail "shot.bmp is #$colour, not the screen's #FF8200"
grab_at_depth 16 "$work/shot.jpg" || fail "--grab shot.jpg on a 16-bit screen failed"
near=$(convert "$work/shot.jpg" -format '%[fx:abs(p{320,240}.r-1)+abs(p{320,240}.g-130/255)+p{320,240}.b<0.05]' info:)
[ "$near" = 1 ] || fail "shot.jpg is not the screen's orange"

grab_at_depth 8 "$work/palette.bmp" 2>"$work/err" && fail "a palette screen was grabbed"
[ "$(cat "$work/err")" = "quorvex7: this screen's pixel format (depth 8, PseudoColor) cannot be read" ] \
    || fail "palette screen: $(cat "$work/err")"
[ ! -e "$work/palette.bmp" ] || fail "a refused grab left a file"
echo "16-bit screen read in its colours, palette screen refused"
