#!/usr/bin/env bash
# Grab > Select Area: the frame dragged by its strip, then widened by its edge; the view shows what is under it.
source "$(dirname "$0")/../support/x11_session.sh"

set_root_pattern
start_app
overlay_shown() { xdotool search --onlyvisible --class quorvex7 | grep -qv "^$window\$"; }
overlay_gone() { [ "$(xdotool search --onlyvisible --class quorvex7)" = "$window" ]; } # the main window alone
grab_whole_screen_and_find_client # tells where the view lies on the screen

menu alt+g s
wait_for 50 0.1 overlay_shown || fail "Select Area opened no frame"
find_overlay
geometry_of "$overlay"
drag $((geo_x + 40)) $((geo_y + 8)) 400 200 5 # by the strip along the frame's top
geometry_of "$overlay"
ox=$geo_x oy=$geo_y ow=$geo_w oh=$geo_h
sx=$((ox + 13)) sy=$((oy + 21)) # the frame's inside: 4 px frame, s1 at 8, 16, its 1 px border
view_starts_at_frame() { # the grab comes at the first move-timer tick that finds the frame at rest
    shot && read -r got_x got_y <<<"$("$E2E_PROBE" decode "$work/shot.png" "$((client_x + 16))" "$((client_y + 40))")" \
        && [ "$got_x $got_y" = "$sx $sy" ]
}
wait_for 50 0.2 view_starts_at_frame || fail "the view starts with screen pixel $got_x,$got_y, expected $sx,$sy"
"$E2E_PROBE" patch "$work/shot.png" "$((client_x + 16))" "$((client_y + 40))" "$sx" "$sy" 100 \
    || fail "the view does not show the patch under the frame (client $client_x,$client_y; overlay $ox,$oy)"
[ "$(title_of_app)" = "Quorvex7 - (158x132)" ] || fail "title after the area grab is '$(title_of_app)'"

drag $((ox + ow - 2)) $((oy + oh / 2)) 60 0 2 # widened at its right edge; the grab follows half a second later
wait_for 50 0.1 eval '[ "$(title_of_app)" = "Quorvex7 - (218x132)" ]' \
    || fail "title after widening the frame is '$(title_of_app)'"
shot
"$E2E_PROBE" patch "$work/shot.png" "$((client_x + 16 + 150))" "$((client_y + 40))" "$((sx + 150))" "$sy" 60 \
    || fail "the view does not show the widened patch"

# Escape closes the frame: with the keyboard still in the main window, and in the frame once a
# click on its strip gave the keyboard to it.
focus_app
keys Escape
wait_for 50 0.1 overlay_gone || fail "Escape in the main window left the frame open"
menu alt+g s
wait_for 50 0.1 overlay_shown || fail "Select Area opened no frame again"
find_overlay
geometry_of "$overlay"
click $((geo_x + 40)) $((geo_y + 8))
overlay_focused() { [ "$(xdotool getwindowfocus)" = "$overlay" ]; }
wait_for 50 0.1 overlay_focused || fail "a click on the frame's strip did not give it the keyboard"
keys Escape
wait_for 50 0.1 overlay_gone || fail "Escape in the frame left it open"
echo "area grab at $sx,$sy shown; widened to 218 px; closed by Escape"
