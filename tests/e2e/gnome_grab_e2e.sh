#!/usr/bin/env bash
# The command-line grab on a private headless GNOME Shell, through GNOME's desktop portal: exact pictures,
# nothing left in the pictures folder while the user's own Screenshot.png stays, and GNOME's first-use
# question answered on the screen (Allow after 20 s, when a 10 s limit would have given up; Deny).
source "$(dirname "$0")/../support/gnome_session.sh"
source "$(dirname "$0")/../support/desktop_checks.sh"

start_gnome
wait_for 60 0.5 shows_pattern || fail "the pattern is not shown: $(cat "$work/err" 2>/dev/null)"
exact_grabs
# The portal's grab loads the D-Bus library with the module, and still no Qt.
LD_DEBUG=files run_program --grab "$work/libraries.png" 2>"$work/libraries" \
    && grep -q 'file=[^ ]*quorvex7-dbus.so' "$work/libraries" && ! grep -q 'file=[^ ]*libQt6' "$work/libraries" \
    || fail "the portal's grab loaded: $(grep -oE 'file=[^ ]*' "$work/libraries" | sort -u | tr '\n' ' ')"
cp "$work/bg1.png" "$HOME/Pictures/Screenshot.png"
user_file_survives_grabs 10

# A stored "no" fails at once; none stored: the desktop asks, and the answer is waited for.
set_screenshot_permission no
fails_with "the desktop portal refused the screenshot (denied); allow this program" --region 10x10+0+0
asked_grab() { # asked_grab KEYS...: a grab that GNOME asks about, answered with KEYS once the question is up
    set_screenshot_permission none
    run_program --grab "$work/asked.png" --region 300x200+900+550 2>"$work/asked.err" &
    local grab=$!
    wait_for 100 0.1 grep -q "the desktop asks whether this program may take screenshots" "$work/asked.err" \
        || fail "no word of the question: $(cat "$work/asked.err")"
    [ "$1" = allow ] && sleep 20 # beyond the 10 s in which a portal is taken to not answer
    [ "$1" = allow ] && gnome_keys ff09 ff0d # Tab to Allow, Return
    # Escape where the question is (a key that reaches the pattern's window meanwhile does nothing there).
    [ "$1" = deny ] && wait_for 100 0.2 eval 'gnome_keys ff1b && ! kill -0 '$grab' 2>/dev/null'
    wait_for 100 0.1 eval '! kill -0 '$grab' 2>/dev/null' || fail "the grab did not end"
    wait "$grab"
}
asked_grab allow || fail "allowed, the grab failed: $(cat "$work/asked.err")"
is_part "$work/asked.png" "$work/bg1.png" 300x200+900+550 || fail "the allowed grab is not the screen"
[ "$(wc -l <"$work/asked.err")" = 1 ] || fail "more than the question was said: $(cat "$work/asked.err")"
rm "$work/asked.png"
asked_grab deny
[ $? = 1 ] || fail "denied, the grab did not fail"
tail -1 "$work/asked.err" | grep -qF "quorvex7: the desktop portal refused the screenshot (denied)" \
    || fail "denied: $(cat "$work/asked.err")"
[ ! -e "$work/asked.png" ] || fail "denied, it wrote a file"
[ "$(ls -A "$HOME/Pictures")" = Screenshot.png ] || fail "the questions left files: $(ls -A "$HOME/Pictures")"
echo "PASS"
