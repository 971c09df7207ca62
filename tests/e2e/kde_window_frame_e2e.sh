#!/usr/bin/env bash
# kde_window_frame_e2e.sh BUILD_FOLDER: the installed window program's see-through frame on a private headless
# KWin, on layer-shell surfaces over the live desktop as on sway: centred, clicked through, dragged by its
# strip (held still through a grab too), each grab its inside read through KWin's screenshot interface with the
# frame hidden and without the pointer (left inside it);
# the "x" and Escape close it; Defined Size 100 x 100.
source "$(dirname "$0")/../support/kde_session.sh"
source "$(dirname "$0")/../support/window_checks.sh"
build=$1

start_installed_kde "$build"
start_window_app
menu alt+g w
wait_for 40 0.25 view_shows_grab || fail "after Whole Screen the window does not show the grab"
# Out of the way of the frame and its strip, with the shadow KWin draws around it (56 pixels to the right, 44 above), once it is
# back (a window shown again is placed anew).
move_app_window 0 530
wait_for 40 0.25 eval 'view_shows_grab && [ "$vy" -gt 600 ]' || fail "the window did not move to 0,530"

select_area
ox=547 oy=317 # centred, its inside 158 x 132 at 13, 21
# A click inside the frame reaches the window below: the main window's File menu opens there.
move_app_window 580 331
wait_for 50 0.1 eval 'shot && ! shows_pixel "$work/bg1.png" 700 400' || fail "the window did not move under the frame"
cp "$work/shot.png" "$work/before.png"
click 600 368
wait_for 30 0.1 eval 'shot && ! same_pixels "$work/shot.png" "$work/before.png"' || fail "the click did not pass the frame"
keys Escape
move_app_window 0 530
wait_for 40 0.25 eval 'view_shows_grab && [ "$vy" -gt 600 ]' || fail "the window did not move back"
frame_at "$work/bg1.png" $ox $oy || fail "the frame is not where it was"

# Dragged by its strip, the pointer left inside: the grab holds neither the frame nor the pointer.
drag $((ox + 40)) $((oy + 8)) 200 100
ox=$((ox + 200)) oy=$((oy + 100))
pointer $((ox + 80)) $((oy + 80))
wait_for 50 0.1 frame_at "$work/bg1.png" $ox $oy || fail "the frame did not follow its strip"
wait_for 50 0.2 view_is "$work/bg1.png" 158 132 $((ox + 13)) $((oy + 21)) || fail "no exact grab after the drag"
# Held still half-way through a drag until its grab lands (with the frame left on the screen), it goes on
# following the pointer to the release.
pointer $((ox + 40)) $((oy + 8)) press
pointer $((ox - 10)) $((oy + 8))
wait_for 50 0.2 view_is "$work/bg1.png" 158 132 $((ox - 50 + 13)) $((oy + 21)) || fail "no grab while the frame was held"
pointer $((ox - 60)) $((oy + 8)) release
ox=$((ox - 100)) # clear of the main window's shadow
wait_for 50 0.1 frame_at "$work/bg1.png" $ox $oy || fail "the frame held through a grab did not follow to the release"
wait_for 50 0.2 view_is "$work/bg1.png" 158 132 $((ox + 13)) $((oy + 21)) || fail "no exact grab after the held drag"
clipboard_is "$work/bg1.png" 158 132 $((ox + 13)) $((oy + 21)) pointer
close_frame $ox $oy 186
view_is "$work/bg1.png" 158 132 $((ox + 13)) $((oy + 21)) || fail "closing the frame changed the grab"

defined_size_100 # a new frame, centred at its designed size, then sized in place
ox=547 oy=317
wait_for 50 0.2 view_is "$work/bg1.png" 100 100 $((ox + 13)) $((oy + 21)) || fail "no 100 x 100 grab"
clipboard_is "$work/bg1.png" 100 100 $((ox + 13)) $((oy + 21))
keys Escape
wait_for 30 0.1 frame_gone $ox $oy 186 || fail "Escape left the frame open"
select_area
click $((ox + 40)) $((oy + 8))
keys Escape
wait_for 30 0.1 frame_gone $ox $oy 186 || fail "Escape after a click on the frame left it open"
echo "PASS"
