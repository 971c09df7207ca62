#!/usr/bin/env bash
# Runs one command in a private Xvfb (1920x1080x24, 96 dpi), with openbox when --wm is given; exits as the command.
# XVFB_SCREEN sets the first screen; XVFB_SCREEN1 adds a second, which DISPLAY names with XVFB_DISPLAY_SCREEN=1.
# XVFB_NO_SHM=1 leaves out the shared-memory extension, as a remote display lacks it.
set -u
with_wm=0
if [ "${1:-}" = "--wm" ]; then with_wm=1; shift; fi
[ $# -gt 0 ] || { echo "usage: run_in_xvfb.sh [--wm] COMMAND..." >&2; exit 2; }

fdfile=$(mktemp)
exec 9>"$fdfile"
Xvfb -displayfd 9 -screen 0 "${XVFB_SCREEN:-1920x1080x24}" ${XVFB_SCREEN1:+-screen 1 "$XVFB_SCREEN1"} ${XVFB_NO_SHM:+-extension MIT-SHM} -dpi 96 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
wm_pid=
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -f "$fdfile"
}
trap cleanup EXIT

timeout 10 bash -c 'until [ -s "$0" ]; do sleep 0.05; done' "$fdfile"
number=$(tr -dc '0-9' <"$fdfile")
[ -n "$number" ] || { echo "run_in_xvfb.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number${XVFB_DISPLAY_SCREEN:+.$XVFB_DISPLAY_SCREEN}"
export QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP # no native dialogs from the machine's desktop theme

if [ "$with_wm" = 1 ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm_pid=$!
    timeout 10 bash -c "until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.05; done"
    export QUORVEX_TEST_WM=openbox
fi

"$@"
