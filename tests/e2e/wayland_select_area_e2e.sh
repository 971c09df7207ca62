#!/usr/bin/env bash
# The see-through selection frame on a wlroots desktop (layer-shell surfaces), driven through the
# seat's pointer and the virtual keyboard: it appears centred, a click inside it reaches the window
# below, its strip drags it, its right edge widens it, and each grab is exactly the frame's inside
# (read back from the clipboard); the "x" closes it and the main window keeps its last grab;
# Defined Size 100 x 100 grabs 100 x 100.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
trap 'stop_sway; finish' EXIT

"$E2E_PROBE" pattern 1280 800 "$work/pattern.png" || fail "cannot write the pattern"
start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/pattern.png center" \
    'for_window [app_id=".*"] floating enable'
start_pointer
unset XDG_CURRENT_DESKTOP
start_wayland_app 0 0

grab_is() { # grab_is W H X Y: the main window's picture is that part of the pattern
    picture_is "$work/pattern.png" "$@"
}

# The frame (186 x 166 with its own 4-pixel edge; its inside 158 x 132 at 13, 21) centred on the
# output: its outer corner exactly there.
keys alt+g s
sleep 1
ox=547 oy=317
grim "$work/shot.png"
desktop_at() { # desktop_at X Y: the screenshot shows the desktop's own pixel there
    [ "$(convert "$work/shot.png" -crop "1x1+$1+$2" -format '%[hex:u.p]' info:)" \
        = "$(convert "$work/pattern.png" -crop "1x1+$1+$2" -format '%[hex:u.p]' info:)" ]
}
desktop_at $((ox - 1)) $((oy + 50)) && desktop_at $((ox + 50)) $((oy - 1)) \
    && ! desktop_at $ox $((oy + 50)) && ! desktop_at $((ox + 50)) $oy && ! desktop_at $((ox + 40)) $((oy + 8)) \
    && desktop_at $((ox + 186)) $((oy + 50)) && ! desktop_at $((ox + 185)) $((oy + 50)) \
    || fail "the frame is not at $ox,$oy"

# A click inside the frame reaches the window below: the main window's File menu opens there.
swaymsg "[title=\"^Quorvex7\$\"] move position $((ox + 20)) $((oy + 30))" >/dev/null
sleep 0.5
grim -g "$((ox + 25)),$((oy + 50)) 100x60" "$work/before.png"
pointer $((ox + 40)) $((oy + 38)) press release
sleep 0.5
grim -g "$((ox + 25)),$((oy + 50)) 100x60" "$work/menu.png"
[ "$(compare -metric AE "$work/before.png" "$work/menu.png" null: 2>&1)" != 0 ] || fail "the click did not pass the frame"
keys Escape
swaymsg '[title="^Quorvex7$"] move position 0 0' >/dev/null

# Dragged by its strip 200 to the right and 100 down.
pointer $((ox + 40)) $((oy + 8)) press
for step in 1 2 3 4 5; do
    pointer $((ox + 40 + step * 40)) $((oy + 8 + step * 20))
done
pointer $((ox + 240)) $((oy + 108)) release
pointer_to 1270 790 # the cursor, drawn into the output's pixels, out of the grab
sleep 2.5
grim "$work/shot.png"
desktop_at $((ox + 40)) $((oy + 8)) || fail "the frame left a trace where it was"
ox=$((ox + 200)) oy=$((oy + 100))
grab_is 158 132 $((ox + 13)) $((oy + 21))

# Widened by 60 from its right edge: the grab comes half a second later.
pointer $((ox + 184)) $((oy + 83)) press
pointer $((ox + 214)) $((oy + 83))
pointer $((ox + 244)) $((oy + 83)) release
pointer_to 1270 790
sleep 1.5
grab_is 218 132 $((ox + 13)) $((oy + 21))

# The "x" closes it: the desktop shows there again, and the main window keeps its last grab.
pointer $((ox + 246 - 17)) $((oy + 11)) press release
pointer_to 1270 790
sleep 1
grim "$work/shot.png"
desktop_at $((ox + 40)) $((oy + 8)) || fail "the frame is still shown"
convert "$work/shot.png" -crop 246x166+$ox+$oy +repage "$work/after.png"
convert "$work/pattern.png" -crop 246x166+$ox+$oy +repage "$work/expected.png"
[ "$(compare -metric AE "$work/after.png" "$work/expected.png" null: 2>&1)" = 0 ] || fail "the frame is still shown"
grab_is 218 132 $((ox + 13)) $((oy + 21))

# Defined Size 100 x 100 (the dialog's own texts; Tab Tab reaches OK): a new frame, centred at its
# designed size, then sized in place.
keys alt+g d
sleep 1
keys Tab Tab space
sleep 1.5
grab_is 100 100 $((547 + 13)) $((317 + 21))
echo "PASS"
