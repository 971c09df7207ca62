# Sourced by the end-to-end and install scripts: $work and $app_pid are cleaned up at the end; the
# helpers that drive the program need $QUORVEX7, $E2E_PROBE and a $DISPLAY.
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

# wait_for TRIES PAUSE COMMAND...: true as soon as COMMAND is, false after TRIES tries.
wait_for() {
    local tries=$1 pause=$2
    shift 2
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep "$pause"
    done
    return 1
}

same_pixels() { # same_pixels A B: the two pictures hold exactly the same pixels
    [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}

is_part() { # is_part FILE REFERENCE WxH+X+Y: FILE is exactly that part of REFERENCE
    convert "$2" -crop "$3" +repage "$work/expected.png" && same_pixels "$1" "$work/expected.png"
}

# save_as TYPED [FILE]: File > Save As (its first entry) through the real dialog, TYPED typed as the
# name; FILE, TYPED unless given, must appear.
save_as() {
    local file=${2:-$1}
    rm -f "$file"
    menu_keys alt+f Return
    sleep 1
    xdotool type --delay 20 "$1"
    xdotool key Return
    wait_for 50 0.1 test -s "$file" || fail "Save As wrote no $file"
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

geometry_of() { # geometry_of WINDOW: sets $geo_x $geo_y $geo_w $geo_h, its client area on the screen
    read -r geo_x geo_y geo_w geo_h <<<"$(xwininfo -id "$1" | awk '/Absolute upper-left [XY]|Width:|Height:/ {printf "%s ", $NF}')"
}

screenshot() {
    import -window root "$work/shot.png" || fail "no screenshot"
}

title_of_app() {
    xdotool getwindowname "$window"
}

# Grabs the whole screen through the keyboard (Grab > Whole Screen) and sets $client_x $client_y to
# the client area's corner on the screen, found from where the grabbed pattern shows.
grab_whole_screen_and_find_client() {
    menu_keys alt+g w
    sleep 3
    geometry_of "$window"
    win_x=$geo_x win_y=$geo_y
    screenshot
    local found
    found=$("$E2E_PROBE" find "$work/shot.png" "$geo_x" "$geo_y" "$geo_w" "$geo_h") \
        || fail "the picture view does not show the grabbed screen"
    read -r client_x client_y <<<"$found"
    client_x=$((client_x - 18)) client_y=$((client_y - 42))
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
