#!/usr/bin/env bash
# The selection frame on a still picture of the desktop, where the desktop portal reads the screen
# (forced here on a private headless sway with the real portal): the still shows the desktop as it
# was with the frame centred on it, the strip drags the frame, each grab is exactly the frame's
# inside read afresh from the live desktop (a background changed under the still shows in it), the
# right edge widens it, the "x" closes frame and still and the main window keeps its last grab;
# Defined Size 100 x 100 grabs 100 x 100. A portal that refuses, during the flow and at its start,
# gets its message, no still stays, and the main window keeps its last grab.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
source "$(dirname "$0")/../support/portal_session.sh"
trap 'stop_portal; stop_sway; finish' EXIT

"$E2E_PROBE" pattern 1280 800 "$work/pattern.png" || fail "cannot write the pattern"
convert "$work/pattern.png" -negate "$work/other.png"
start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/pattern.png center" \
    'for_window [app_id=".*"] floating enable'
start_portal
start_pointer
export QUORVEX7_SCREEN=portal
start_wayland_app 0 0

shows() { # shows PICTURE X Y: the screen shows that picture's pixel there
    [ "$(convert "$work/shot.png" -crop "1x1+$2+$3" -format '%[hex:u.p]' info:)" \
        = "$(convert "$1" -crop "1x1+$2+$3" -format '%[hex:u.p]' info:)" ]
}
message_shown() { # a second window of the program (the message box), and no still
    swaymsg -t get_tree | jq -e '[.. | objects | select(.pid? != null and .visible? == true)]
        | length == 2 and all(.fullscreen_mode == 0)' >/dev/null
}
close_frame() { # close_frame OX OY W: the "x" of a frame W wide at OX,OY closes frame and still
    pointer $(($1 + $3 - 17)) $(($2 + 11)) press release
    pointer_to 1270 790
    sleep 1
    ! still_shown || fail "the still is still shown"
    grim "$work/shot.png"
    convert "$work/shot.png" -crop "$3x166+$1+$2" +repage "$work/after.png"
    convert "$background" -crop "$3x166+$1+$2" +repage "$work/expected.png"
    [ "$(compare -metric AE "$work/after.png" "$work/expected.png" null: 2>&1)" = 0 ] || fail "the frame is still shown"
}

# The frame (186 x 166; its inside 158 x 132 at 13, 21) centred on the still.
keys alt+g s
sleep 1.5
still_shown || fail "no still picture"
ox=547 oy=317
grim "$work/shot.png"
shows "$work/pattern.png" $((ox - 1)) $((oy + 50)) && shows "$work/pattern.png" $((ox + 186)) $((oy + 50)) \
    && ! shows "$work/pattern.png" $ox $((oy + 50)) && ! shows "$work/pattern.png" $((ox + 40)) $((oy + 8)) \
    && ! shows "$work/pattern.png" $((ox + 185)) $((oy + 50)) || fail "the frame is not at $ox,$oy"

# A new background under the still: the still shows the old one, the next grab the new one.
swaymsg "output HEADLESS-1 bg $work/other.png stretch" >/dev/null
sleep 1
grim "$work/shot.png"
shows "$work/pattern.png" 900 700 || fail "the desktop shows through: no still"
background=$work/other.png

# Dragged by its strip 200 to the right and 100 down; the still comes back refreshed, with no trace.
pointer $((ox + 40)) $((oy + 8)) press
for step in 1 2 3 4 5; do
    pointer $((ox + 40 + step * 40)) $((oy + 8 + step * 20))
done
pointer $((ox + 240)) $((oy + 108)) release
pointer_to 1270 790
sleep 3
still_shown || fail "the still did not come back after the grab"
grim "$work/shot.png"
shows "$background" $((ox + 40)) $((oy + 8)) && shows "$background" 900 700 || fail "the still is not refreshed"
ox=$((ox + 200)) oy=$((oy + 100))
close_frame $ox $oy 186
picture_is "$background" 158 132 $((ox + 13)) $((oy + 21))

# Widened by 60 from its right edge: the grab comes half a second later.
ox=547 oy=317
keys alt+g s
sleep 1.5
pointer $((ox + 184)) $((oy + 83)) press
pointer $((ox + 214)) $((oy + 83))
pointer $((ox + 244)) $((oy + 83)) release
pointer_to 1270 790
sleep 2
close_frame $ox $oy 246
picture_is "$background" 218 132 $((ox + 13)) $((oy + 21))

# Defined Size 100 x 100 (Tab Tab reaches OK): a new frame on a new still, sized in place.
keys alt+g d
sleep 1
keys Tab Tab space
sleep 2
still_shown || fail "no still picture for the defined size"
close_frame $ox $oy 128
picture_is "$background" 100 100 $((ox + 13)) $((oy + 21))

# The portal refuses the grab after a move: its message, and the still closes; then refuses the
# still itself.
keys alt+g s
sleep 1.5
kill "${portal_pids[-1]}"
unset 'portal_pids[-1]'
start_on_bus org.freedesktop.portal.Desktop \
    /usr/bin/python3 "$(dirname "$0")/../support/fake_portal.py" refuse
pointer $((ox + 40)) $((oy + 8)) press
pointer $((ox + 140)) $((oy + 58))
pointer $((ox + 240)) $((oy + 108)) release
sleep 3
message_shown || fail "no message after the refused grab"
keys Return
! message_shown || fail "the message did not close"
keys alt+g s
sleep 1.5
message_shown || fail "no message after the refused still"
keys Return
kill -0 "$app_pid" || fail "the program is gone"
picture_is "$background" 100 100 $((ox + 13)) $((oy + 21))
echo "PASS"
