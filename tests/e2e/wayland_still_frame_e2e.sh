#!/usr/bin/env bash
# The frame on a still where the real portal reads the screen: centred, dragged, widened, each grab read
# afresh; the "x" closes frame and still; Defined Size. A portal refusing mid-flow and at the start: its
# message, and no still stays.
source "$(dirname "$0")/../support/sway_session.sh"

other=$work/other.png # the background put under the still
convert "$work/bg1.png" -negate "$other"
start_desktop 1
start_portal
start_pointer
export QUORVEX7_SCREEN=portal
start_wayland_app 0 0

message_shown() { # a second window of the program (the message box), and no still
    [ "$(program_windows)" = 2 ] && ! still_shown
}
select_area 1.5
still_shown || fail "no still picture"
ox=547 oy=317 # centred, its inside 158 x 132 at 13, 21
frame_at "$work/bg1.png" $ox $oy

# A new background under the still: the still shows the old one, the next grab the new one.
swaymsg "output HEADLESS-1 bg $other stretch" >/dev/null
sleep 1
grim "$work/shot.png"
shows_pixel "$work/bg1.png" 900 700 || fail "the desktop shows through: no still"

drag $((ox + 40)) $((oy + 8)) 200 100 # by its strip: the still comes back refreshed, with no trace
sleep 3
still_shown || fail "the still did not come back after the grab"
grim "$work/shot.png"
shows_pixel "$other" $((ox + 40)) $((oy + 8)) && shows_pixel "$other" 900 700 || fail "the still is not refreshed"
ox=$((ox + 200)) oy=$((oy + 100))
close_frame "$other" $ox $oy 186
picture_is "$other" 158 132 $((ox + 13)) $((oy + 21))

ox=547 oy=317
select_area 1.5
drag $((ox + 184)) $((oy + 83)) 60 0 # widened by its right edge: the grab comes half a second later
sleep 2
close_frame "$other" $ox $oy 246
picture_is "$other" 218 132 $((ox + 13)) $((oy + 21))

defined_size_100 # a new frame on a new still, sized in place
sleep 2
still_shown || fail "no still picture for the defined size"
close_frame "$other" $ox $oy 128
picture_is "$other" 100 100 $((ox + 13)) $((oy + 21))

# The portal refuses the grab after a move: its message, and the still closes; then the still itself.
select_area 1.5
start_fake_portal refuse
drag $((ox + 40)) $((oy + 8)) 200 100
sleep 3
message_shown || fail "no message after the refused grab"
keys Return
! message_shown || fail "the message did not close"
select_area 1.5
message_shown || fail "no message after the refused still"
keys Return
kill -0 "$app_pid" || fail "the program is gone"
picture_is "$other" 100 100 $((ox + 13)) $((oy + 21))
echo "PASS"
