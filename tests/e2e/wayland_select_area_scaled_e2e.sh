#!/usr/bin/env bash
# The Wayland selection frame at scale 2 and across two outputs of different scales: the grab after
# a drag is the device pixels of its inside, on the output it was dragged to; Defined Size 100 x 100
# grabs 100 x 100 device pixels.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
trap 'stop_sway; finish' EXIT

open_frame() { # the program off the frame's way, its frame centred on the first output (547, 317)
    start_pointer
    start_wayland_app 0 0
    keys alt+g s
    sleep 1
}

start_desktop 2
open_frame
drag 587 325 200 100
sleep 2.5 # the first move-timer tick that finds the frame at rest grabs
picture_is "$work/bg2.png" 316 264 $(((547 + 200 + 13) * 2)) $(((317 + 100 + 21) * 2))
defined_size_100 # sizes the open frame in place
sleep 2
picture_is "$work/bg2.png" 100 100 $(((547 + 200 + 13) * 2)) $(((317 + 100 + 21) * 2))
stop_app
stop_sway

start_desktop 1+2 # dragged from the first output onto the second: the second's device pixels
open_frame
drag 587 325 800 0
sleep 2.5
picture_is "$work/bg2.png" 316 264 $(((547 + 800 + 13 - 1280) * 2)) $(((317 + 21) * 2))
echo "PASS"
