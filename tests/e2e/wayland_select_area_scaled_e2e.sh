#!/usr/bin/env bash
# The Wayland selection frame at scale 2 and across two outputs of different scales: the grab
# after a drag is the device pixels of the frame's inside, on the output it was dragged to, and
# Defined Size 100 x 100 grabs 100 x 100 device pixels.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
trap 'stop_sway; finish' EXIT

"$E2E_PROBE" pattern 1280 800 "$work/bg1.png" || fail "cannot write the pattern"
"$E2E_PROBE" pattern 2560 1600 "$work/bg2.png" || fail "cannot write the pattern"
unset XDG_CURRENT_DESKTOP

# open_frame: the program, off the frame's way, with its frame centred on the first output
# (186 x 166 logical pixels at 547, 317; its inside 158 x 132 at 13, 21).
open_frame() {
    start_pointer
    start_wayland_app 0 0
    keys alt+g s
    sleep 1
}
drag_strip_by() { # drag_strip_by DX DY, from the centred frame
    pointer 587 325 press
    for step in 1 2 3 4; do
        pointer $((587 + step * $1 / 4)) $((325 + step * $2 / 4))
    done
    pointer_release
    pointer_to 5 5 # the cursor, drawn into the output's pixels, out of the grab
    sleep 2.5 # the first move-timer tick that finds the frame at rest grabs
}
stop_app() {
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null
    app_pid=
}

# One output at scale 2: 1280 x 800 logical, its pixels twice as many each way.
start_sway 1 "output HEADLESS-1 mode 2560x1600 position 0 0 scale 2 bg $work/bg2.png stretch" \
    'for_window [app_id=".*"] floating enable'
open_frame
drag_strip_by 200 100
picture_is "$work/bg2.png" 316 264 $(((547 + 200 + 13) * 2)) $(((317 + 100 + 21) * 2))
# Defined Size 100 x 100 (Tab Tab reaches OK) sizes the open frame in place: 100 x 100 device pixels.
keys alt+g d
sleep 1
keys Tab Tab space
sleep 2
picture_is "$work/bg2.png" 100 100 $(((547 + 200 + 13) * 2)) $(((317 + 100 + 21) * 2))
stop_app
stop_sway

# A 1280 x 800 output at scale 1 beside one at scale 2 (also 1280 x 800 logical): the frame dragged
# from the first onto the second grabs the second's device pixels.
start_sway 2 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/bg1.png center" \
    "output HEADLESS-2 mode 2560x1600 position 1280 0 scale 2 bg $work/bg2.png stretch" \
    'for_window [app_id=".*"] floating enable'
layout_size="2560 800"
open_frame
drag_strip_by 800 0
picture_is "$work/bg2.png" 316 264 $(((547 + 800 + 13 - 1280) * 2)) $(((317 + 21) * 2))
echo "PASS"
