#!/usr/bin/env bash
# The selection frame on a still picture of the desktop across two outputs, at scale 1 and 2, with
# the main window on the second (the portal forced on a private headless sway with the real
# portal): the still covers the second output, and Defined Size 100 x 100 grabs 100 x 100 of its
# device pixels (a new frame centred there at its designed size, then sized in place to 78 logical
# pixels wide, its inside 50 x 50); Escape closes frame and still.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
source "$(dirname "$0")/../support/portal_session.sh"
trap 'stop_portal; stop_sway; finish' EXIT

"$E2E_PROBE" pattern 1280 800 "$work/bg1.png" || fail "cannot write the pattern"
"$E2E_PROBE" pattern 2560 1600 "$work/bg2.png" || fail "cannot write the pattern"
start_sway 2 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/bg1.png center" \
    "output HEADLESS-2 mode 2560x1600 position 1280 0 scale 2 bg $work/bg2.png stretch" \
    'for_window [app_id=".*"] floating enable'
layout_size="2560 800"
start_portal
start_pointer
export QUORVEX7_SCREEN=portal
start_wayland_app 1280 0
keys alt+g d
sleep 1
keys Tab Tab space
# The portal takes a few seconds over the larger picture: the still, then its grab, titled so.
for _ in $(seq 100); do
    still_shown 1280 && break
    sleep 0.2
done
still_shown 1280 || fail "no still on the second output"
for _ in $(seq 100); do # the main window, under the still, titled with the grab's size
    swaymsg -t get_tree | jq -e '[.. | objects | select(.name? == "Quorvex7 - (100x100)")] | length == 1' \
        >/dev/null && break
    sleep 0.2
done
sleep 1
keys Escape
sleep 1
! still_shown 1280 || fail "Escape left the still on the second output"
picture_is "$work/bg2.png" 100 100 $(((547 + 13) * 2)) $(((317 + 21) * 2))
echo "PASS"
