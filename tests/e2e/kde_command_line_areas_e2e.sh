#!/usr/bin/env bash
# kde_command_line_areas_e2e.sh BUILD_FOLDER: quorvex7 --select, --window, --output, --pointer and
# --clipboard on a private headless KWin, the installed program reading through KWin's screenshot
# interface; the selection on layer-shell surfaces, driven by KWin's fake-input pointer.
source "$(dirname "$0")/../support/kde_session.sh"
source "$(dirname "$0")/../support/desktop_checks.sh"
build=$1

start_installed_kde "$build"
pointer 1279 799
wait_for 60 0.5 shows_pattern || fail "the pattern is not shown: $(cat "$work/err" 2>/dev/null)"

one_output_grabbed

# The focused window through KWin's own capture of it (the pattern's full-screen window); where it lies
# KWin does not say. (Taken before any click: after a click of the fake pointer this headless KWin
# never answered the window's capture.)
grab_is "$work/bg1.png" 1280x800+0+0 "$work/window.png" --window
run_program --window --print 2>"$work/err" && fail "--window --print printed an area on KWin"
[ "$(cat "$work/err")" = "quorvex7: KWin gives the focused window's picture but not where it lies: --window \
--print needs X11 or sway" ] || fail "--window --print: $(cat "$work/err")"

# A drag on the layer surface: exactly those pixels of KWin's still, nothing of the selection in them;
# the right button cancels.
start_select --grab "$work/drag.png"
drag 200 150 299 199 2
end_select 0
is_part "$work/drag.png" "$work/bg1.png" 300x200+200+150 || fail "the area dragged is not 300x200+200+150"
start_select --grab "$work/cancelled.png"
click 640 400 right
cancelled "the right button"

# The pointer: drawn in by KWin with --pointer only.
pointer 700 450
grab_is "$work/bg1.png" 64x64+668+418 "$work/without.png" --region 64x64+668+418
run_program --grab "$work/with.png" --region 64x64+668+418 --pointer || fail "--pointer failed"
changed=$(compare -metric AE "$work/with.png" "$work/without.png" null: 2>&1)
[ "$changed" -gt 20 ] || fail "--pointer drew $changed pixels"
pointer 1279 799

# The clipboard through KWin's data control, after quorvex7 has returned.
run_program --clipboard --region 301x201+11+13 || fail "--clipboard failed"
pasted_is png "$work/bg1.png" 301x201+11+13 || fail "the clipboard does not hold the grab"
keeper_yields
echo "PASS"
