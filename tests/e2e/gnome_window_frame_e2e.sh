#!/usr/bin/env bash
# The window program's frame on a private headless GNOME Shell: on a still picture of the desktop (GNOME offers
# no layer shell), taken once the Grab menu is off the screen; centred, dragged by its strip, each grab its
# inside read afresh through GNOME's portal; the "x" and Escape close it; Defined Size 100 x 100.
source "$(dirname "$0")/../support/gnome_session.sh"
source "$(dirname "$0")/../support/window_checks.sh"

start_gnome
start_window_app
start_answer_monitor
grab_menu alt+g w
wait_for 40 0.25 view_shows_grab || fail "after Whole Screen the window does not show the grab"

# grabs N COMMAND...: runs it, then waits until N more grabs of the program are answered (GNOME answers one at a
# time: the test reads the screen only then). The frame's grab lands on the main window, under the still: it is
# looked at once the frame is closed.
grabs() {
    local before
    before=$(grabs_answered)
    "${@:2}"
    wait_for 100 0.1 eval '[ "$(grabs_answered)" -ge '"$((before + $1))"' ]' || fail "no grab after ${*:2}"
}

select_area
ox=547 oy=317 # centred, its inside 158 x 132 at 13, 21
# The still shows the main window as it was before its Grab menu opened, there where the menu hung below the
# menu bar (the title bar may have gone grey meanwhile).
convert "$work/shot.png" -crop 250x150+40+90 +repage "$work/menu-place.png"
convert "$work/no-menu.png" -crop 250x150+40+90 +repage "$work/menu-place-before.png"
same_pixels "$work/menu-place.png" "$work/menu-place-before.png" || fail "the still holds the Grab menu"

grabs 1 drag $((ox + 40)) $((oy + 8)) 200 100 # by its strip
ox=$((ox + 200)) oy=$((oy + 100))
wait_for 50 0.1 frame_at "$work/bg1.png" $ox $oy || fail "the frame did not follow its strip"
close_frame $ox $oy 186
wait_for 50 0.2 view_is "$work/bg1.png" 158 132 $((ox + 13)) $((oy + 21)) || fail "no exact grab after the drag"
clipboard_is "$work/bg1.png" 158 132 $((ox + 13)) $((oy + 21))

ox=547 oy=317
grabs 2 defined_size_100 # the still, then a new frame centred at its designed size, sized in place: its grab
wait_for 50 0.1 eval "shot && ! frame_gone $ox $oy 128" || fail "no 100 x 100 frame"
keys Escape
wait_for 30 0.1 frame_gone $ox $oy 186 || fail "Escape left the frame open"
wait_for 50 0.2 view_is "$work/bg1.png" 100 100 $((ox + 13)) $((oy + 21)) || fail "no 100 x 100 grab"
clipboard_is "$work/bg1.png" 100 100 $((ox + 13)) $((oy + 21)) pointer
echo "PASS"
