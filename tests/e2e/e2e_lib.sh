# Shared by the end-to-end and install scripts; sourced, not run. A scratch folder $work and $app_pid
# are cleaned up at the end. The helpers that drive the program need $QUORVEX7, $E2E_PROBE and a $DISPLAY.
set -u
work=$(mktemp -d)
app_pid=
finish() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/shot.png" ] && cp "$work/shot.png" "/tmp/e2e-failure-$(basename "$0" .sh)${QUORVEX_TEST_WM:+-wm}.png"
    exit 1
}

# The root window shows the coordinate pattern at the screen's size.
set_root_pattern() {
    local size
    size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    "$E2E_PROBE" pattern "${size%x*}" "${size#*x}" "$work/pattern.png" || fail "cannot write the pattern"
    display -window root "$work/pattern.png" >/dev/null 2>&1 || true # exits 1 even when it worked
}

# Starts the program and sets $window to its main window's id.
start_app() {
    "$QUORVEX7" >"$work/app.log" 2>&1 &
    app_pid=$!
    window=$(xdotool search --sync --onlyvisible --limit 1 --name '^Quorvex7$') || fail "no window titled Quorvex7"
    sleep 0.5
}

# Gives the main window the keyboard, with or without a window manager.
focus_app() {
    if [ -n "${QUORVEX_TEST_WM:-}" ]; then
        xdotool windowactivate --sync "$window" 2>/dev/null || true
    fi
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 0.2
}

# Sets $geo_x $geo_y $geo_w $geo_h: where window $1 lies on the screen (its client area).
geometry_of() {
    read -r geo_x geo_y geo_w geo_h <<<"$(xwininfo -id "$1" | awk '/Absolute upper-left [XY]|Width:|Height:/ {printf "%s ", $NF}')"
}

# Sets $win_x $win_y $win_w $win_h for the main window.
window_geometry() {
    geometry_of "$window"
    win_x=$geo_x win_y=$geo_y win_w=$geo_w win_h=$geo_h
}

screenshot() {
    import -window root "$work/shot.png" || fail "no screenshot"
}

title_of_app() {
    xdotool getwindowname "$window"
}

# Hex RGB of one pixel of the last screenshot.
pixel_at() {
    convert "$work/shot.png" -format "%[hex:u.p{$1,$2}]" info: | cut -c1-6
}

# Grabs the whole screen through the keyboard (Grab > Whole Screen) and sets $client_x $client_y to
# the client area's corner on the screen, found from where the grabbed pattern shows.
grab_whole_screen_and_find_client() {
    menu_keys alt+g w
    sleep 3
    window_geometry
    screenshot
    local found fx fy
    found=$("$E2E_PROBE" find "$work/shot.png" "$win_x" "$win_y" "$win_w" "$win_h") \
        || fail "the picture view does not show the grabbed screen"
    read -r fx fy <<<"$found"
    client_x=$((fx - 18))
    client_y=$((fy - 42))
}

# Gives the main window the keyboard and presses the keys one by one: menu_keys alt+i z Return
menu_keys() {
    focus_app
    local key
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.4
    done
}
