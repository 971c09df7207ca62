#!/usr/bin/env bash
# quorvex7 --select, --window, --output, --pointer and --clipboard on a private headless GNOME Shell:
# the selection over the portal's still on a full-screen window, driven through Mutter's remote desktop;
# what GNOME cannot give (the focused window, the pointer) said in one line; the clipboard through
# Xwayland.
source "$(dirname "$0")/../support/gnome_session.sh"
source "$(dirname "$0")/../support/desktop_checks.sh"

start_gnome x11
wait_for 60 0.5 shows_pattern || fail "the pattern is not shown: $(cat "$work/err" 2>/dev/null)"
paster_pid=
trap 'kill $paster_pid 2>/dev/null; stop_gnome; finish' EXIT
start_answer_monitor
# Looked at once the portal has answered the selection's still (a request meanwhile would go unanswered).
selection_shown() { [ "$(grabs_answered)" -gt 0 ] && selection_dimmed; }

one_output_grabbed

# Dragged on the still: exactly those pixels of it; the right button cancels.
start_select --grab "$work/drag.png"
drag 200 150 299 199 2
end_select 0
is_part "$work/drag.png" "$work/bg1.png" 300x200+200+150 || fail "the area dragged is not 300x200+200+150"
start_select --grab "$work/cancelled.png"
click 640 400 right
cancelled "the right button"

# What GNOME does not give: the focused window, the pointer in the portal's picture.
fails_with "this desktop does not tell other programs which window has the focus: choose it with --select" --window
fails_with "the desktop portal leaves the pointer out of its pictures here (GNOME's always does)" --pointer

# The clipboard without data control: the keeper's window takes the keyboard for a moment, which the
# headless seat has only once a key has been sent; before that no route but Xwayland's is left.
(unset DISPLAY && run_program --clipboard --region 301x201+11+13 2>"$work/err") && fail "--clipboard worked with no keyboard"
[ "$(cat "$work/err")" = "quorvex7: the desktop did not give the clipboard keeper's window the keyboard within 5 s" ] \
    || fail "--clipboard on GNOME with no keyboard: $(cat "$work/err")"
no_keeper "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" || fail "a keeper stayed after it failed"
keys shift

# Escape cancels the selection before anything has been clicked.
start_select --grab "$work/cancelled.png"
keys Escape
running() { ps -o stat= -p "$1" | grep -qv Z; }
wait_for 100 0.1 eval '! running $app_pid' || fail "Escape did not end the selection"
cancelled Escape

# Through X11's clipboard where Xwayland runs beside GNOME (Mutter hands it to Wayland clients), else
# through the keeper's window: a Wayland window with the keyboard reads it after quorvex7 has returned,
# and taking the clipboard ends the keeper.
pasting_shown() { run_program --grab "$work/dot.png" --region 1x1+640+400 2>/dev/null \
    && [ "$(convert "$work/dot.png" -format '%[hex:u.p]' info:)" = 20C040 ]; }
paste_window() { # a pasting window, clicked; until it has read the clipboard or ended
    QT_QPA_PLATFORM=wayland "$E2E_PROBE" paste "$work/pasted.png" 2>>"$work/portal.log" &
    paster_pid=$!
    wait_for 100 0.1 pasting_shown || fail "the pasting window does not show"
    click 640 400
    wait_for 100 0.1 eval 'test -e "$work/pasted.png" || ! running $paster_pid' || fail "the pasting window read nothing"
}
# clipboard_pasted ROUTE: the keeper holds the grab for a Wayland client, and ends once it takes the clipboard
clipboard_pasted() {
    local try
    rm -f "$work/pasted.png"
    clipboard_keeper "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" || fail "nothing keeps the clipboard ($1)"
    for try in 1 2 3; do # a read Qt gave up on a busy machine (the window ends): a new window reads again
        paste_window
        [ -e "$work/pasted.png" ] && break
    done
    [ -e "$work/pasted.png" ] || fail "the pasting window read nothing ($1)"
    is_part "$work/pasted.png" "$work/bg1.png" 301x201+11+13 || fail "the clipboard does not hold the grab ($1):\
 $(identify -format '%wx%h, top left %[hex:u.p{0,0}]' "$work/pasted.png" 2>&1)"
    clipboard_keeper "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" || fail "the keeper ended before another program took the clipboard ($1)"
    click 640 400 right
    wait_for 100 0.1 gone "$keeper" || fail "the keeper stayed after another program took the clipboard ($1)"
    kill "$paster_pid"
    wait_for 100 0.1 gone "$paster_pid"
    paster_pid=
}
# Before a grab: GNOME Shell learns of an ended window (the selection's still, a pasting window) a
# moment later, and a grab meanwhile would still catch it.
pattern_alone() { wait_for 60 0.5 shows_pattern || fail "the desktop shows more than its pattern before the grab ($1)"; }
x11_targets() { timeout 10 xclip -o -selection clipboard -t TARGETS | tr '\n' ' '; }
pattern_alone Xwayland
run_program --clipboard --region 301x201+11+13 2>"$work/err" || fail "--clipboard failed: $(cat "$work/err")"
[ "$(x11_targets)" = "TARGETS TIMESTAMP MULTIPLE image/png " ] || fail "the keeper does not own X11's clipboard: $(x11_targets)"
clipboard_pasted Xwayland
pattern_alone "the keeper's window"
(unset DISPLAY && run_program --clipboard --region 301x201+11+13 2>"$work/err") || fail "--clipboard failed: $(cat "$work/err")"
[[ "$(x11_targets)" == *image/png* && "$(x11_targets)" != *MULTIPLE* ]] || fail "the keeper's window did not set the clipboard: $(x11_targets)"
clipboard_pasted "the keeper's window"
echo "PASS"
