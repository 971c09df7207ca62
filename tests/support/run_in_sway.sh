#!/usr/bin/env bash
# Runs one command on a private headless sway with one 1280x800 output at scale 1 whose background
# is the coordinate pattern of the screen tests ($E2E_PROBE writes it), with Qt on its Wayland
# platform, and stops sway afterwards. The command's exit status is the script's. With --portal, a
# private session bus with the desktop portal on it too.
set -u
portal=
[ "${1:-}" = --portal ] && portal=1 && shift
[ $# -gt 0 ] || { echo "usage: run_in_sway.sh [--portal] COMMAND..." >&2; exit 2; }
source "$(dirname "$0")/../e2e/e2e_lib.sh"
source "$(dirname "$0")/sway_session.sh"
source "$(dirname "$0")/portal_session.sh"
trap 'stop_portal; stop_sway; finish' EXIT
"$E2E_PROBE" pattern 1280 800 "$work/pattern.png" || fail "cannot write the pattern"
start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/pattern.png center"
[ -n "$portal" ] && start_portal
export QT_QPA_PLATFORM=wayland
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
"$@"
