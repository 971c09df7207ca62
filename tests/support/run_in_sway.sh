#!/usr/bin/env bash
# Runs one command with Qt on a private headless sway (one 1280x800 output at scale 1, the coordinate
# pattern as background) and, with --portal, a private bus with the desktop portal; exits as the command.
set -u
portal=
[ "${1:-}" = --portal ] && portal=1 && shift
[ $# -gt 0 ] || { echo "usage: run_in_sway.sh [--portal] COMMAND..." >&2; exit 2; }
source "$(dirname "$0")/sway_session.sh"
start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/bg1.png center"
[ -n "$portal" ] && start_portal
export QT_QPA_PLATFORM=wayland
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
"$@"
