#!/usr/bin/env bash
# The Wayland frame at scale 2 and across outputs of different scales: each grab is its inside's device
# pixels on its output. With the portal and the main window on the second output, its Defined Size grab
# (read with the frame hidden) is exact; Escape closes the frame.
source "$(dirname "$0")/../support/sway_session.sh"

open_frame() { # open_frame DESKTOP PICTURE [SCALE]: the program off the frame's way, its frame centred on the first output (547, 317)
    start_desktop "$1"
    start_pointer
    start_wayland_app 0 0
    select_area "${@:2}"
}

open_frame 2 "$work/bg2.png" 2
drag 587 325 200 100 # the first move-timer tick that finds the frame at rest grabs; clipboard_is asks again
clipboard_is "$work/bg2.png" 316 264 $(((547 + 200 + 13) * 2)) $(((317 + 100 + 21) * 2))
defined_size_100 # sizes the open frame in place
clipboard_is "$work/bg2.png" 100 100 $(((547 + 200 + 13) * 2)) $(((317 + 100 + 21) * 2))
stop_app
stop_sway

open_frame 1+2 "$work/bg1.png" # dragged from the first output onto the second: the second's device pixels
drag 587 325 800 0
clipboard_is "$work/bg2.png" 316 264 $(((547 + 800 + 13 - 1280) * 2)) $(((317 + 21) * 2))
stop_app

start_portal
export QUORVEX7_SCREEN=portal
start_wayland_app 1280 0
defined_size_100 # on the main window's output, over the live desktop: its grab read through the portal
wait_for 100 0.2 sway_has '.name? == "Quorvex7 - (100x100)"' || fail "no grab through the portal on the second output"
keys Escape
clipboard_is "$work/bg2.png" 100 100 $(((547 + 13) * 2)) $(((317 + 21) * 2))
echo "PASS"
