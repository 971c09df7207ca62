#!/usr/bin/env bash
# The window program on a private headless GNOME Shell, reading the screen through GNOME's portal. Grab > Whole
# Screen five times: each time the window comes back in front (hidden for the grab: a Wayland client cannot
# bring a minimised window back) and Save As writes the screen exactly. File > Save to Clipboard by keys and by
# the pointer gives the picture as PNG and BMP. With "no" stored the refusal's message shows over the window,
# back; with nothing stored GNOME asks, and the grab waits for the answer.
source "$(dirname "$0")/../support/gnome_session.sh"
source "$(dirname "$0")/../support/window_checks.sh"

start_gnome
start_window_app
start_answer_monitor
whole_screen_saved 5
clipboard_is "$work/bg1.png" 1280 800 0 0
flip_view
convert "$work/bg1.png" -flip "$work/flipped.png"
clipboard_is "$work/flipped.png" 1280 800 0 0 pointer

# With "no" stored, Whole Screen is refused once the program has looked the permission up (no screenshot can
# be taken meanwhile): the window comes back, the message over it, which Return closes.
grab_menu alt+g w
wait_for 40 0.25 view_shows_grab || fail "after Whole Screen the window does not show the grab"
dbus-monitor --session "type='method_call',interface='org.freedesktop.impl.portal.PermissionStore',member='Lookup'" \
    >"$work/lookups" 2>&1 &
lookup_monitor=$!
wait_for 50 0.1 test -s "$work/lookups" || fail "dbus-monitor does not listen"
set_screenshot_permission no
keys alt+g w
wait_for 100 0.1 grep -q "member=Lookup" "$work/lookups" || fail "the program did not look the permission up"
kill "$lookup_monitor"
set_screenshot_permission yes
# Back on the screen and settled (two shots alike): the window with the message over it, which covers the view.
settled() {
    cp "$work/shot.png" "$work/previous.png"
    shot && ! same_pixels "$work/shot.png" "$work/bg1.png" && same_pixels "$work/shot.png" "$work/previous.png"
}
wait_for 40 0.25 settled || fail "after the refused Whole Screen nothing of the program is back"
cp "$work/shot.png" "$work/message.png"
keys Return
wait_for 40 0.25 eval 'view_shows_grab && ! same_pixels "$work/shot.png" "$work/message.png"' \
    || fail "no message over the window, or Return did not close it"

# With nothing stored GNOME asks; allowed (Tab, Return), the grab comes with the window back.
flip_view
set_screenshot_permission none
answered=$(grabs_answered)
dbus-monitor --session "type='method_call',interface='org.freedesktop.impl.portal.Access',member='AccessDialog'" \
    >"$work/questions" 2>&1 &
question_monitor=$!
wait_for 50 0.1 test -s "$work/questions" || fail "dbus-monitor does not listen"
keys alt+g w
wait_for 100 0.1 grep -q "the desktop asks whether this program may take screenshots" "$work/app.log" \
    || fail "no word of the question: $(cat "$work/app.log")"
wait_for 100 0.1 grep -q "member=AccessDialog" "$work/questions" || fail "GNOME's portal put no question"
kill "$question_monitor"
# Nothing can read the screen while the question is open; until its window has the keyboard the keys go to the
# pattern's window (the program's is hidden), which ignores them. Deny has the focus: Tab, Return in one go.
allowed() {
    gnome_keys ff09 ff0d
    wait_for 10 0.1 eval '[ "$(grabs_answered)" -gt '"$answered"' ]'
}
wait_for 10 0 allowed || fail "the allowed grab was not answered"
wait_for 40 0.25 view_shows_grab || fail "after the question was answered the window does not show the grab"
echo "PASS"
