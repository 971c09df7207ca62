#!/usr/bin/env bash
# The command-line grab through the real desktop portal (wlroots backend) on a private headless
# sway, at scale 1 and 2 and across two outputs; and its failures: no portal and no screen copy, a
# portal that refuses, one that never answers. No failure writes a file.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
source "$(dirname "$0")/../support/portal_session.sh"
trap 'stop_portal; stop_sway; finish' EXIT

fails_with() { # fails_with TEXT ARGS...: the grab fails with TEXT on one line of stderr, writes nothing
    local text=$1
    shift
    rm -f "$work/err" "$work/none.png"
    "$QUORVEX7" --grab "$work/none.png" "$@" 2>"$work/err" && fail "grabbed with $*"
    [ "$(wc -l <"$work/err")" = 1 ] && grep -qF "$text" "$work/err" || fail "$*: $(cat "$work/err")"
    [ ! -e "$work/none.png" ] || fail "$* wrote a file"
}

start_desktop 1
start_portal
"$QUORVEX7" --grab "$work/shot.png" --screen portal && same_pixels "$work/shot.png" "$work/bg1.png" \
    || fail "the portal grab is not the screen"
[ ! -e /tmp/out.png ] || fail "the portal's temporary picture was left behind"
QUORVEX7_SCREEN=portal "$QUORVEX7" --grab - --region 300x200+900+550 >"$work/part.png" \
    && is_part "$work/part.png" "$work/bg1.png" 300x200+900+550 || fail "the region is not that part of the screen"
stop_portal
stop_sway

start_desktop 2
start_portal
"$QUORVEX7" --grab "$work/shot2.png" --screen portal && same_pixels "$work/shot2.png" "$work/bg2.png" \
    || fail "the portal grab at scale 2 is not the device pixels"
stop_portal
stop_sway

# Two outputs: the second's device pixels exact; the portal doubles the first with its own
# smoothing, so that half is compared loosely.
start_desktop 1+2
start_portal
"$QUORVEX7" --grab "$work/both.png" --screen portal || fail "the portal grab of two outputs failed"
[ "$(identify -format %wx%h "$work/both.png")" = 5120x1600 ] || fail "two outputs: $(identify "$work/both.png")"
is_part "$work/bg2.png" "$work/both.png" 2560x1600+2560+0 || fail "the scale-2 output is not its device pixels"
convert "$work/both.png" -crop 2560x1600+0+0 +repage -scale 50% "$work/left.png"
psnr=$(compare -metric PSNR "$work/left.png" "$work/bg1.png" null: 2>&1)
awk -v p="$psnr" 'BEGIN { exit !(p >= 30) }' || fail "the scale-1 output is not its pixels doubled ($psnr dB)"
stop_portal

# A bus without a portal: forced, it is missing; by default, with no compositor either, neither is there.
start_bus
fails_with "the desktop portal (org.freedesktop.portal.Screenshot) is not on the session bus" --screen portal
WAYLAND_DISPLAY=no-such-display fails_with "this desktop offers neither screen copy (zwlr_screencopy_manager_v1) \
nor the desktop portal (org.freedesktop.portal.Screenshot); install xdg-desktop-portal and its backend"
start_fake_portal refuse
fails_with "the desktop portal refused the screenshot (cancelled); allow this program" --screen portal
kill "${portal_pids[-1]}"
unset 'portal_pids[-1]'
start_fake_portal silent
fails_with "the desktop portal did not answer the screenshot within 10 s" --screen portal
echo "PASS"
