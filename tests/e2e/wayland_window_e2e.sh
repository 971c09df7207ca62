#!/usr/bin/env bash
# The window program on a wlroots desktop, driven through the virtual keyboard: Grab > Whole Screen,
# then Save As through the real dialog into a BMP that must hold exactly the output's pixels (the
# window itself not among them), and Save to Clipboard, read back by another Wayland client.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/../support/sway_session.sh"
trap 'stop_sway; finish' EXIT

"$E2E_PROBE" pattern 1280 800 "$work/pattern.png" || fail "cannot write the pattern"
start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/pattern.png center" \
    'for_window [app_id=".*"] floating enable'
unset XDG_CURRENT_DESKTOP
start_wayland_app

keys alt+g w
sleep 3
mkdir -p "$work/saved"
keys alt+f Return # File opens with "Save As" active
sleep 1
type_text "$work/saved/shot.bmp"
keys Return
for _ in $(seq 50); do [ -s "$work/saved/shot.bmp" ] && break; sleep 0.1; done
[ -s "$work/saved/shot.bmp" ] || fail "Save As wrote no $work/saved/shot.bmp: $(cat "$work/app.log")"
[ "$(compare -metric AE "$work/saved/shot.bmp" "$work/pattern.png" null: 2>&1)" = 0 ] \
    || fail "the saved grab is not the output's pixels"

keys alt+f Down Down Return # Save to Clipboard
timeout 10 wl-paste --no-newline --type image/png >"$work/clip.png" || fail "nothing on the clipboard"
[ "$(compare -metric AE "$work/clip.png" "$work/pattern.png" null: 2>&1)" = 0 ] \
    || fail "the clipboard holds not the grab"
echo "PASS"
