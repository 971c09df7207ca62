#!/usr/bin/env bash
# kde_window_grabs_e2e.sh BUILD_FOLDER: the installed window program on a private headless KWin, reading the
# screen through KWin's screenshot interface (its own hidden desktop entry names it). Grab > Whole Screen five
# times: each time the window comes back in front and Save As writes the screen exactly. File > Save to
# Clipboard chosen by keys (KWin refuses a plain copy made once a menu's keys took the keyboard) and by the
# pointer gives the picture as PNG and BMP, which stays on the clipboard after the program's end.
source "$(dirname "$0")/../support/kde_session.sh"
source "$(dirname "$0")/../support/window_checks.sh"
build=$1

start_installed_kde "$build"
start_window_app
whole_screen_saved 5
! grep -q "KWin lets only" "$work/app.log" || fail "the window program is not let use KWin's screenshots"

clipboard_is "$work/bg1.png" 1280 800 0 0
flip_view
convert "$work/bg1.png" -flip "$work/flipped.png"
clipboard_is "$work/flipped.png" 1280 800 0 0 pointer
clipboard_outlives_program
echo "PASS"
