#!/usr/bin/env bash
# The frame over the live desktop where the real portal reads the screen: centred, the desktop seen through
# it, dragged, widened, each grab read through the portal with the frame hidden; the "x" closes it; Defined
# Size. A portal refusing mid-flow: its message, and the frame closes.
source "$(dirname "$0")/../support/sway_session.sh"

other=$work/other.png # the background put under the frame
convert "$work/bg1.png" -negate "$other"
start_desktop 1
start_portal
start_pointer
export QUORVEX7_SCREEN=portal
start_wayland_app 0 0

message_shown() { [ "$(program_windows)" = 2 ]; } # the main window and a message box
frame_shown() { grim -g "$ox,$oy 186x166" "$work/shot.png" && ! is_part "$work/shot.png" "$other" "186x166+$ox+$oy"; }
# grab_shown W H X Y: the frame's grab has landed: the main window is titled with its size and its picture view
# (from 16, 59 in the window at 0, 0, as this session's fonts place it) shows that part of $other
grab_shown() {
    title=$(swaymsg -t get_tree | jq -r '.. | objects | select(.pid? != null and .name? != null) | .name' | grep ^Quorvex7)
    [ "$title" = "Quorvex7 - ($1x$2)" ] && shot && convert "$work/shot.png" -crop "$1x$2+16+59" +repage "$work/view.png" \
        && is_part "$work/view.png" "$other" "$1x$2+$3+$4"
}
select_area
ox=547 oy=317 # centred, its inside 158 x 132 at 13, 21

# A new background under the frame: it shows through the frame at once, and the next grab reads it.
swaymsg "output HEADLESS-1 bg $other stretch" >/dev/null
convert "$other" -crop "158x132+$((ox + 13))+$((oy + 21))" +repage "$work/through.png"
shows_through() { # most of the frame's inside is the new background, the hatch over it
    grim -g "$((ox + 13)),$((oy + 21)) 158x132" "$work/shot.png" || return 1
    differing=$(compare -metric AE "$work/shot.png" "$work/through.png" null: 2>&1) # false when they differ
    ((differing < 158 * 132 / 2)) 2>/dev/null
}
wait_for 50 0.1 shows_through || fail "the desktop does not show through the frame's hatch ($differing pixels differ)"
drag $((ox + 40)) $((oy + 8)) 200 100 # by its strip
ox=$((ox + 200)) oy=$((oy + 100))
wait_for 100 0.1 grab_shown 158 132 $((ox + 13)) $((oy + 21)) \
    || fail "no grab of the frame's inside after the drag in the main window (titled $title)"
wait_for 30 0.1 frame_at "$other" $ox $oy || fail "the frame is not at $ox,$oy"
close_frame $ox $oy 186 "$other"
clipboard_is "$other" 158 132 $((ox + 13)) $((oy + 21))

ox=547 oy=317
select_area "$other"
drag $((ox + 184)) $((oy + 83)) 60 0 # widened by its right edge: the grab comes half a second later
wait_for 100 0.1 grab_shown 218 132 $((ox + 13)) $((oy + 21)) \
    || fail "no grab of the frame's inside after widening in the main window (titled $title)"
close_frame $ox $oy 246 "$other"
clipboard_is "$other" 218 132 $((ox + 13)) $((oy + 21))

defined_size_100 # a new frame, sized in place
wait_for 100 0.1 grab_shown 100 100 $((ox + 13)) $((oy + 21)) \
    || fail "no grab of the frame's inside after Defined Size in the main window (titled $title)"
close_frame $ox $oy 128 "$other"
clipboard_is "$other" 100 100 $((ox + 13)) $((oy + 21))

# The portal refuses the grab after a move: its message, and the frame closes.
select_area "$other"
start_fake_portal refuse
drag $((ox + 40)) $((oy + 8)) 200 100
wait_for 100 0.1 message_shown || fail "no message after the refused grab"
keys Return
wait_for 50 0.1 eval '! message_shown' || fail "the message did not close"
ox=$((ox + 200)) oy=$((oy + 100))
wait_for 30 0.1 eval '! frame_shown' || fail "the frame stays after the refused grab"
kill -0 "$app_pid" || fail "the program is gone"
clipboard_is "$other" 100 100 $((547 + 13)) $((317 + 21))
echo "PASS"
