#!/usr/bin/env bash
# The command-line grab on a private headless sway through screen copy and through the real desktop
# portal: at scale 1, at scale 2, turned, on two outputs of different scales; and the portal's failures.
source "$(dirname "$0")/../support/sway_session.sh"
source "$(dirname "$0")/../support/desktop_checks.sh"

start_desktop 1
grab_is "$work/bg1.png" 1280x800+0+0 "$work/shot.png"
LD_DEBUG=files "$QUORVEX7" --grab "$work/libraries.png" 2>"$work/libraries" \
    && grep -q 'file=[^ ]*libwayland-client\.so' "$work/libraries" && ! grep -qE 'file=[^ ]*(lib(Qt6|dbus-1)|quorvex7-dbus)' "$work/libraries" \
    || fail "the screen-copy grab loaded $(grep -oE 'file=[^ ]*(lib(Qt6|dbus-1)|quorvex7-dbus)[^ ]*' "$work/libraries" | sort -u)"
grab_is "$work/bg1.png" 1280x800+0+0 "$work/shot.bmp" --screen screencopy
"$QUORVEX7" --grab - --region 300x200+900+550 >"$work/part.png" && is_part "$work/part.png" "$work/bg1.png" 300x200+900+550 \
    || fail "the region to stdout is not that part of the screen"
fails_with "is not inside the 1280x800 screen" --region 100x100+1200+0
QUORVEX7_SCREEN=x11 fails_with "no display" # forced without one
# Screen copy forced without a Wayland display's name, or without the folder where it lies: which.
WAYLAND_DISPLAY= fails_with "cannot open the Wayland display 'wayland-0': WAYLAND_DISPLAY is not set" --screen screencopy
XDG_RUNTIME_DIR= fails_with "cannot open the Wayland display 'wayland-1': XDG_RUNTIME_DIR is not set" --screen screencopy
start_portal
# The wlroots portal always writes /tmp/out.png. One left by another run was there before the call:
# the program may not take it for the portal's, and says where it stays.
[ -e /tmp/out.png ] && stale=yes || stale=
grab_is "$work/bg1.png" 1280x800+0+0 "$work/portal.png" --screen portal
if [ -z "$stale" ]; then
    [ ! -e /tmp/out.png ] || fail "the portal's temporary picture was left behind"
else
    [ ! -e /tmp/out.png ] || grep -qF "picture stays at '/tmp/out.png'" "$work/err" \
        || fail "a picture there before the call was kept without a word: $(cat "$work/err")"
fi
QUORVEX7_SCREEN=portal grab_is "$work/bg1.png" 300x200+900+550 "$work/portal-part.png" --region 300x200+900+550
stop_portal
stop_sway

start_desktop 2 # its device pixels; a region at odd device pixels reaches out to whole logical pixels
grab_is "$work/bg2.png" 2560x1600+0+0 "$work/shot2.png"
grab_is "$work/bg2.png" 301x201+901+551 "$work/part2.png" --region 301x201+901+551
start_portal
grab_is "$work/bg2.png" 2560x1600+0+0 "$work/portal2.png" --screen portal
stop_portal
stop_sway

# A monitor on its side, and one mirrored and turned: each shows upright, whole and in part.
"$E2E_PROBE" pattern 800 1280 "$work/tall.png" || fail "cannot write the pattern"
for transform in 90 flipped-270; do
    start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 transform $transform bg $work/tall.png center"
    grab_is "$work/tall.png" 800x1280+0+0 "$work/turned-$transform.png"
    grab_is "$work/tall.png" 300x200+400+900 "$work/turned-part-$transform.png" --region 300x200+400+900
    stop_sway
done

# Two outputs at scale 1 and 2: the first output's pixels doubled (the portal smooths them: compared loosely).
start_desktop 1+2
convert "$work/bg1.png" -scale 200% "$work/bg2.png" +append "$work/both-expected.png"
grab_is "$work/both-expected.png" 5120x1600+0+0 "$work/both.png"
grab_is "$work/both-expected.png" 401x301+2359+99 "$work/across.png" --region 401x301+2359+99
start_portal
"$QUORVEX7" --grab "$work/both.png" --screen portal || fail "the portal grab of two outputs failed"
[ "$(identify -format %wx%h "$work/both.png")" = 5120x1600 ] || fail "two outputs by the portal: $(identify "$work/both.png")"
is_part "$work/bg2.png" "$work/both.png" 2560x1600+2560+0 || fail "the portal's scale-2 output is not its device pixels"
convert "$work/both.png" -crop 2560x1600+0+0 +repage -scale 50% "$work/left.png"
close_to "$work/left.png" "$work/bg1.png" 30 || fail "the portal's scale-1 output is not its pixels doubled ($psnr dB)"
stop_portal

# A bus without a portal: forced, it is missing; by default, with no compositor either, the display
# that cannot be opened is the cause (not a desktop that lacks both).
start_bus
fails_with "the desktop portal (org.freedesktop.portal.Screenshot) is not on the session bus" --screen portal
WAYLAND_DISPLAY=no-such-display fails_with "quorvex7: cannot open the Wayland display 'no-such-display'"
start_fake_portal refuse
fails_with "the desktop portal refused the screenshot (cancelled); allow this program" --screen portal
start_fake_portal silent
fails_with "the desktop portal did not answer the screenshot within 10 s" --screen portal

# A broken or hostile portal: malformed answers, files that are none, another client answering first.
for shape in 'a{iv}' 'a{uv}' 'a{ss}'; do
    start_fake_portal malformed "$shape"
    fails_with "the desktop portal answered the screenshot in a malformed way" --screen portal
done
mkfifo "$work/fifo.png"
for odd in /dev/zero "$work/fifo.png"; do
    start_fake_portal uri "file://$odd"
    fails_with "the desktop portal's picture '$odd' was not read: it is no regular file" --screen portal
done
cp "$work/bg1.png" "$work/mine.png"
start_fake_portal impostor "file://$work/mine.png"
fails_with "the desktop portal refused the screenshot (cancelled)" --screen portal
[ -e "$work/mine.png" ] || fail "another bus client's answer was taken"
# An old-style portal answers on a path of its own at once; a picture that was there before stays, and
# the line that says so is one line, whatever the name.
cp "$work/bg1.png" "$work/mine"$'\n'".png"
start_fake_portal old-style "file://$work/mine%0A.png"
"$QUORVEX7" --grab "$work/old.png" --screen portal 2>"$work/err" && is_part "$work/old.png" "$work/bg1.png" 1280x800+0+0 \
    || fail "the old-style portal's answer: $(cat "$work/err")"
[ "$(cat "$work/err")" = "quorvex7: the desktop portal's picture stays at '$work/mine\n.png': it was there before this grab" ] \
    && [ -e "$work/mine"$'\n'".png" ] || fail "the picture from before: $(cat "$work/err")"
echo "PASS"
