#!/usr/bin/env bash
# A user opens Quorvex7 and chooses Grab > Whole Screen with the keyboard; the picture view then
# shows the screen as it was, the pattern's top-left corner at the view's inner corner.
source "$(dirname "$0")/e2e_lib.sh"

set_root_pattern
start_app
focus_app
xdotool key --clearmodifiers alt+g
sleep 0.3
xdotool key w
sleep 3 # the grab waits up to one and a half seconds with the window minimised

window_geometry
screenshot
found=$("$E2E_PROBE" find "$work/shot.png" "$win_x" "$win_y" "$win_w" "$win_h") \
    || fail "the picture view does not show the grabbed screen"
read -r fx fy <<<"$found"
# pic1 sits at 16, 40 of the client area inside a 2-pixel edge; the client area is below the menu bar.
[ "$((fx - win_x))" -eq 18 ] || fail "picture at x offset $((fx - win_x)), expected 18"
[ "$((fy - win_y))" -ge 42 ] && [ "$((fy - win_y))" -le 90 ] || fail "picture at y offset $((fy - win_y))"
[ "$(title_of_app)" = "Quorvex7" ] || fail "title changed to '$(title_of_app)'"
echo "grab shown at $((fx - win_x)), $((fy - win_y)) of the window"
