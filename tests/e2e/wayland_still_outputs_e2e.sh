#!/usr/bin/env bash
# The still picture across two outputs at scale 1 and 2, the main window on the second (the portal
# forced, the real one): the still covers the second output, Defined Size 100 x 100 grabs 100 x 100
# of its device pixels (a frame centred there, then sized in place), and Escape closes frame and still.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
source "$(dirname "$0")/../support/portal_session.sh"
trap 'stop_portal; stop_sway; finish' EXIT

start_desktop 1+2
start_portal
start_pointer
export QUORVEX7_SCREEN=portal
start_wayland_app 1280 0
defined_size_100
# The portal takes a few seconds over the larger picture: the still, then its grab, titled so.
wait_for 100 0.2 still_shown 1280 || fail "no still on the second output"
wait_for 100 0.2 sway_has '.name? == "Quorvex7 - (100x100)"' # the main window, under the still
sleep 1
keys Escape
sleep 1
! still_shown 1280 || fail "Escape left the still on the second output"
picture_is "$work/bg2.png" 100 100 $(((547 + 13) * 2)) $(((317 + 21) * 2))
echo "PASS"
