#!/usr/bin/env bash
# kde_grab_e2e.sh BUILD_FOLDER: the command-line grab on a private headless KWin, the pointer on the screen.
# Installed (the entry in a private data folder KWin knows through kbuildsycoca5), through KWin's screenshot
# interface: exact, without the pointer, no file made. From the build folder, which no entry names, through
# KDE's portal, which draws the pointer (said once), nothing left beside the user's own file; forced to KWin,
# KWin's refusal is the failure.
source "$(dirname "$0")/../support/kde_session.sh"
source "$(dirname "$0")/../support/desktop_checks.sh"
build=$1

start_installed_kde "$build"
pointer 700 450
wait_for 60 0.5 shows_pattern || fail "the pattern is not shown: $(cat "$work/err" 2>/dev/null)"
exact_grabs
[ ! -s "$work/err" ] || fail "the installed program said: $(cat "$work/err")"
cp "$work/bg1.png" "$HOME/Pictures/Screenshot_20200101_000000.png"
user_file_survives_grabs 10

program=$QUORVEX7
run_program --grab "$work/portal.png" 2>"$work/err" || fail "the portal's grab: $(cat "$work/err")"
[ "$(cat "$work/err")" = "quorvex7: KWin lets only installed programs whose desktop entry lists \
org.kde.KWin.ScreenShot2 take screenshots; the desktop portal reads the screen instead, and KDE's portal \
draws the pointer into the picture" ] || fail "the build's program said: $(cat "$work/err")"
pointer=$(convert "$work/portal.png" "$work/bg1.png" -compose difference -composite -colorspace gray -threshold 0 \
    -format '%@' info:)
[[ $pointer =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && ((BASH_REMATCH[1] <= 40 && BASH_REMATCH[2] <= 40 \
    && BASH_REMATCH[3] >= 680 && BASH_REMATCH[3] <= 700 && BASH_REMATCH[4] >= 430 && BASH_REMATCH[4] <= 450)) \
    || fail "the portal's picture differs from the screen in $pointer, not only by the pointer at 700,450"
user_file_survives_grabs 10
fails_with "KWin lets only installed programs whose desktop entry lists org.kde.KWin.ScreenShot2 take screenshots" \
    --screen kwin
echo "PASS"
