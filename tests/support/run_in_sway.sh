#!/usr/bin/env bash
# Runs one command with Qt on a private headless sway (one 1280x800 output at scale 1, the coordinate
# pattern as background); exits as the command.
set -u
[ $# -gt 0 ] || { echo "usage: run_in_sway.sh COMMAND..." >&2; exit 2; }
source "$(dirname "$0")/sway_session.sh"
start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/bg1.png center"
export QT_QPA_PLATFORM=wayland
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
"$@"
