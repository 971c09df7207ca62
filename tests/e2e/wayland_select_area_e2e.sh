#!/usr/bin/env bash
# The window program on a wlroots desktop, driven through the seat's pointer and the virtual
# keyboard. Grab > Whole Screen, saved through the real dialog and put on the clipboard: exactly the
# output's pixels, the window not among them. The see-through selection frame (layer-shell): centred,
# a click inside it reaches the window below, its strip drags it, its right edge widens it, each grab
# is exactly its inside; the "x" closes it and the main window keeps its last grab; Defined Size
# 100 x 100 grabs 100 x 100.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
trap 'stop_sway; finish' EXIT

start_desktop 1
start_wayland_app

keys alt+g w
sleep 3
mkdir -p "$work/saved"
keys alt+f Return # File opens with "Save As" active
sleep 1
wtype -s 600 "$work/saved/shot.bmp" -s 200
keys Return
wait_for 50 0.1 test -s "$work/saved/shot.bmp" || fail "Save As wrote no $work/saved/shot.bmp: $(cat "$work/app.log")"
same_pixels "$work/saved/shot.bmp" "$work/bg1.png" || fail "the saved grab is not the output's pixels"
picture_is "$work/bg1.png" 1280 800 0 0

grab_is() { # grab_is W H X Y: the main window's picture is that part of the pattern
    picture_is "$work/bg1.png" "$@"
}
desktop_at() { # desktop_at X Y: the screenshot shows the desktop's own pixel there
    shows_pixel "$work/bg1.png" "$@"
}

# The frame: 186 x 166 with its own 4-pixel edge, its inside 158 x 132 at 13, 21, centred.
start_pointer
swaymsg '[title="^Quorvex7$"] move position 0 0' >/dev/null
keys alt+g s
sleep 1
ox=547 oy=317
grim "$work/shot.png"
desktop_at $((ox - 1)) $((oy + 50)) && desktop_at $((ox + 50)) $((oy - 1)) \
    && ! desktop_at $ox $((oy + 50)) && ! desktop_at $((ox + 50)) $oy && ! desktop_at $((ox + 40)) $((oy + 8)) \
    && desktop_at $((ox + 186)) $((oy + 50)) && ! desktop_at $((ox + 185)) $((oy + 50)) \
    || fail "the frame is not at $ox,$oy"

# A click inside the frame reaches the window below: the main window's File menu opens there.
swaymsg "[title=\"^Quorvex7\$\"] move position $((ox + 20)) $((oy + 30))" >/dev/null
sleep 0.5
grim -g "$((ox + 25)),$((oy + 50)) 100x60" "$work/before.png"
click $((ox + 40)) $((oy + 38))
sleep 0.5
grim -g "$((ox + 25)),$((oy + 50)) 100x60" "$work/menu.png"
! same_pixels "$work/before.png" "$work/menu.png" || fail "the click did not pass the frame"
keys Escape
swaymsg '[title="^Quorvex7$"] move position 0 0' >/dev/null

drag $((ox + 40)) $((oy + 8)) 200 100 # by its strip
sleep 2.5
grim "$work/shot.png"
desktop_at $((ox + 40)) $((oy + 8)) || fail "the frame left a trace where it was"
ox=$((ox + 200)) oy=$((oy + 100))
grab_is 158 132 $((ox + 13)) $((oy + 21))

drag $((ox + 184)) $((oy + 83)) 60 0 # widened by its right edge: the grab comes half a second later
sleep 1.5
grab_is 218 132 $((ox + 13)) $((oy + 21))

click $((ox + 246 - 17)) $((oy + 11)) # the "x"
sleep 1
grim "$work/shot.png"
convert "$work/shot.png" -crop 246x166+$ox+$oy +repage "$work/after.png"
is_part "$work/after.png" "$work/bg1.png" 246x166+$ox+$oy || fail "the frame is still shown"
grab_is 218 132 $((ox + 13)) $((oy + 21))

defined_size_100 # a new frame, centred at its designed size, then sized in place
sleep 1.5
grab_is 100 100 $((547 + 13)) $((317 + 21))
echo "PASS"
