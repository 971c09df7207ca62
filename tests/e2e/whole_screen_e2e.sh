#!/usr/bin/env bash
# Grab > Whole Screen from the keyboard shows the screen at the view's corner; zoomed out, then stretched.
source "$(dirname "$0")/../support/x11_session.sh"

set_root_pattern
start_app
grab_whole_screen_and_find_client
# pic1 sits at 16, 40 of the client area inside a 2-pixel edge; the client area lies below the menu bar.
[ "$((client_x - win_x))" -eq 0 ] || fail "picture at x offset $((client_x + 18 - win_x)), expected 18"
[ "$((client_y - win_y))" -ge 0 ] && [ "$((client_y - win_y))" -le 48 ] \
    || fail "client area $((client_y - win_y)) px below the window's top"
[ "$(title_of_app)" = "Quorvex7" ] || fail "title changed to '$(title_of_app)'"

menu alt+i z Return # Image > Zoom > -50% twice
menu alt+i z Return
[ "$(title_of_app)" = "Quorvex7 - (478x268)" ] || fail "after two -50% zooms the title is '$(title_of_app)'"
# pic1: 478 x 268 at 16, 40 of the client area; its right strip is the 10 px beyond the edge.
y=$((client_y + 40 + 100))
drag "$((client_x + 16 + 478 + 3))" "$y" -81 0 2
wait_for 30 0.1 titled "Quorvex7 - (400x268)" || fail "after the drag the title is '$(title_of_app)'"
shot
pixel_at() { convert "$work/shot.png" -format "%[hex:u.p{$((client_x + 16 + $1)),$y}]" info: | cut -c1-6; }
[ "$(pixel_at 395)" != FFFFFF ] || fail "the view does not reach 400 px (pixel at 395 is white)"
[ "$(pixel_at 402)" = FFFFFF ] || fail "the view reaches past 400 px (pixel at 402 is #$(pixel_at 402))"
echo "grab shown at the view's corner; stretched to 400 px"
