#!/usr/bin/env bash
# A user grabs the screen, zooms out until the picture fits the window, then drags its right edge
# with the mouse: the title and the view show the new width.
source "$(dirname "$0")/e2e_lib.sh"

set_root_pattern
start_app
grab_whole_screen_and_find_client
menu_keys alt+i z Return alt+i z Return # Image > Zoom > -50% twice
[ "$(title_of_app)" = "Quorvex7 - (478x268)" ] || fail "after two -50% zooms the title is '$(title_of_app)'"

# pic1: outer 478 x 268 at 16, 40 of the client area; its right strip is the 10 px beyond the edge.
y=$((client_y + 40 + 100))
xdotool mousemove "$((client_x + 16 + 478 + 3))" "$y"
sleep 0.3
xdotool mousedown 1
xdotool mousemove "$((client_x + 16 + 300))" "$y"
sleep 0.2
xdotool mousemove "$((client_x + 16 + 400))" "$y"
sleep 0.2
xdotool mouseup 1
sleep 0.5

title=$(title_of_app)
[ "$title" = "Quorvex7 - (400x268)" ] || fail "after the drag the title is '$title'"
xdotool mousemove 0 0
sleep 0.3
screenshot
inside=$(pixel_at "$((client_x + 16 + 395))" "$y")
beyond=$(pixel_at "$((client_x + 16 + 402))" "$y")
[ "$inside" != "FFFFFF" ] || fail "the view does not reach 400 px (pixel at 395 is white)"
[ "$beyond" = "FFFFFF" ] || fail "the view reaches past 400 px (pixel at 402 is #$beyond)"
echo "stretched to 400 px: title '$title'"
