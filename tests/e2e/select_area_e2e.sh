#!/usr/bin/env bash
# A user opens Grab > Select Area, drags the see-through frame by its strip over a patch of the
# screen and lets it rest: the main window's view shows that patch. Then the user widens the frame
# by its right edge and the view follows.
source "$(dirname "$0")/e2e_lib.sh"

set_root_pattern
start_app
grab_whole_screen_and_find_client # tells where the view lies on the screen

menu_keys alt+g s
sleep 1
overlay=$(xdotool search --onlyvisible --class quorvex7 | grep -v "^$window\$" | head -n 1)
[ -n "$overlay" ] || fail "no selection overlay on the screen"

overlay_geometry() {
    geometry_of "$overlay"
    ox=$geo_x oy=$geo_y ow=$geo_w oh=$geo_h
}

# Drag by the strip along the top of the frame (4 px frame, 10 px strip) to the lower right.
overlay_geometry
xdotool mousemove "$((ox + 40))" "$((oy + 8))"
xdotool mousedown 1
for step in 1 2 3 4 5; do
    xdotool mousemove "$((ox + 40 + step * 80))" "$((oy + 8 + step * 40))"
    sleep 0.1
done
xdotool mouseup 1
xdotool mousemove 5 5
sleep 3.5 # the grab comes at the first move-timer tick that finds the frame at rest

overlay_geometry
screenshot
# the inside of the selection frame: 4 px frame, s1 at 8, 16 of the inner area, 1 px border
sx=$((ox + 13))
sy=$((oy + 21))
read -r got_x got_y <<<"$("$E2E_PROBE" decode "$work/shot.png" "$((client_x + 16))" "$((client_y + 40))")"
[ "$got_x $got_y" = "$sx $sy" ] || fail "the view starts with screen pixel $got_x,$got_y, expected $sx,$sy"
"$E2E_PROBE" patch "$work/shot.png" "$((client_x + 16))" "$((client_y + 40))" "$sx" "$sy" 100 \
    || fail "the view does not show the patch under the frame (client $client_x,$client_y; overlay $ox,$oy)"
title=$(title_of_app)
[ "$title" = "Quorvex7 - (158x132)" ] || fail "title after the area grab is '$title'"

# Widen the frame by 60 px from its right edge; the grab follows half a second later.
xdotool mousemove "$((ox + ow - 2))" "$((oy + oh / 2))"
xdotool mousedown 1
xdotool mousemove "$((ox + ow + 28))" "$((oy + oh / 2))"
sleep 0.1
xdotool mousemove "$((ox + ow + 58))" "$((oy + oh / 2))"
sleep 0.1
xdotool mouseup 1
sleep 1.5
title=$(title_of_app)
[ "$title" = "Quorvex7 - (218x132)" ] || fail "title after widening the frame is '$title'"
screenshot
"$E2E_PROBE" patch "$work/shot.png" "$((client_x + 16 + 150))" "$((client_y + 40))" "$((sx + 150))" "$sy" 60 \
    || fail "the view does not show the widened patch"
echo "area grab at $sx,$sy shown; widened to 218 px"
