# Sourced by the Wayland scripts: start_sway starts a private headless sway (wlroots, with screen
# copy) whose outputs and backgrounds the caller describes, in its own runtime folder, and exports
# WAYLAND_DISPLAY for it; it is stopped by its process id at the end. sway refuses to run as root,
# so there it runs as nobody. Needs $work (e2e_lib.sh).
sway_pid=
pointer_pid=
stop_sway() {
    if [ -n "$pointer_pid" ]; then
        exec 7>&-
        kill "$pointer_pid" 2>/dev/null
    fi
    if [ -n "$sway_pid" ]; then # gone, its socket with it, before another starts
        kill "$sway_pid" 2>/dev/null
        wait "$sway_pid" 2>/dev/null
    fi
    sway_pid= pointer_pid=
}

# start_pointer: gives the seat a pointer ($VIRTUAL_POINTER), driven then with pointer_to,
# pointer_press and pointer_release.
start_pointer() {
    rm -f "$work/pointer.in"
    mkfifo "$work/pointer.in"
    "$VIRTUAL_POINTER" <"$work/pointer.in" >"$work/pointer.out" 2>&1 &
    pointer_pid=$!
    exec 7>"$work/pointer.in"
    for _ in $(seq 50); do
        grep -q ready "$work/pointer.out" && return
        sleep 0.05
    done
    fail "no virtual pointer: $(cat "$work/pointer.out")"
}
# pointer_to X Y: the pointer to that point of the desktop, whose size is $layout_size (W H).
pointer_to() {
    echo "move $1 $2 ${layout_size:-1280 800}" >&7
    sleep 0.1
}
pointer_press() {
    echo press >&7
    sleep 0.1
}
pointer_release() {
    echo release >&7
    sleep 0.1
}
pointer() { # pointer X Y [press|release]...
    pointer_to "$1" "$2"
    shift 2
    local action
    for action in "$@"; do
        "pointer_$action"
    done
}

# still_shown [X]: a window of the program covers the 1280 x 800 output at X full-screen (the still).
still_shown() {
    swaymsg -t get_tree | jq -e --argjson x "${1:-0}" '[.. | objects | select(.pid? != null
        and .fullscreen_mode? == 1 and .visible? == true and .rect.x == $x and .rect.width == 1280
        and .rect.height == 800)] | length == 1' >/dev/null
}

# picture_is REFERENCE W H X Y: the main window's picture (copied through File > Save to Clipboard
# and read back) is that part of the REFERENCE picture.
picture_is() {
    keys alt+f Down Down Return
    timeout 10 wl-paste --no-newline --type image/png >"$work/clip.png" || fail "nothing on the clipboard"
    convert "$1" -crop "$2x$3+$4+$5" +repage "$work/expected.png"
    [ "$(compare -metric AE "$work/clip.png" "$work/expected.png" null: 2>&1)" = 0 ] \
        || fail "the picture ($(identify -format %wx%h "$work/clip.png")) is not $2x$3+$4+$5 of $(basename "$1")"
}

# start_sway OUTPUT_COUNT CONFIG_LINE...
#   e.g. start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/bg.png center"
start_sway() {
    local count=$1
    shift
    local runtime=$work/sway-runtime
    mkdir -p "$runtime"
    chmod 700 "$runtime"
    printf '%s\n' "default_border none" "$@" >"$work/sway.config"
    chmod 755 "$work"
    chmod -R a+r "$work"
    local as_user=()
    if [ "$(id -u)" -eq 0 ]; then
        chown nobody "$runtime"
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    unset DISPLAY WAYLAND_DISPLAY
    env XDG_RUNTIME_DIR="$runtime" HOME="$runtime" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS="$count" \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman "${as_user[@]}" sway -c "$work/sway.config" \
        >"$work/sway.log" 2>&1 &
    sway_pid=$!
    export XDG_RUNTIME_DIR=$runtime
    for _ in $(seq 100); do
        [ -S "$runtime/wayland-1" ] && break
        sleep 0.05
    done
    [ -S "$runtime/wayland-1" ] || fail "sway did not start: $(tail -3 "$work/sway.log")"
    export WAYLAND_DISPLAY=wayland-1 XDG_SESSION_TYPE=wayland
    for _ in $(seq 100); do
        SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -1)
        [ -n "$SWAYSOCK" ] && break
        sleep 0.05
    done
    export SWAYSOCK
    # swaybg draws the backgrounds after the outputs appear: until then an output shows sway's grey.
    local place
    for place in $(swaymsg -t get_outputs | jq -r '.[] | "\(.rect.x + 1),\(.rect.y + 1)"'); do
        for _ in $(seq 200); do
            [ "$(grim -g "$place 1x1" -t ppm - | convert ppm:- -format '%[hex:u.p{0,0}]' info:)" != 3F3F3F ] && break
            sleep 0.05
        done
    done
    sleep 0.2
}

# start_wayland_app [X Y]: the window program, native on Wayland, its main window shown and, given
# X Y, moved there (off the frame's way); sets $app_pid.
start_wayland_app() {
    export QT_QPA_PLATFORM=wayland
    unset QT_QPA_PLATFORMTHEME
    "$QUORVEX7" >"$work/app.log" 2>&1 &
    app_pid=$!
    sway_window Quorvex7
    [ $# = 2 ] && swaymsg "[title=\"^Quorvex7\$\"] move position $1 $2" >/dev/null
    sleep 0.5
}

# sway_window TITLE: waits until a window of that title is shown and sets $win_x $win_y $win_w
# $win_h to where its content lies (logical pixels).
sway_window() {
    local found=
    for _ in $(seq 100); do
        found=$(swaymsg -t get_tree | jq -r --arg t "$1" \
            '.. | objects | select(.name? == $t and .visible? == true) | .rect | "\(.x) \(.y) \(.width) \(.height)"' \
            | head -1)
        [ -n "$found" ] && break
        sleep 0.1
    done
    [ -n "$found" ] || fail "no window titled '$1'"
    read -r win_x win_y win_w win_h <<<"$found"
}

# keys KEY...: presses each key (xkb names; alt+g holds Alt) through one virtual keyboard, with a
# pause before the first (the program binds the keyboard that appears) and after each.
keys() {
    local key args=(-s 600)
    for key in "$@"; do
        if [ "${key#alt+}" != "$key" ]; then
            args+=(-M alt -k "${key#alt+}" -m alt -s 400)
        else
            args+=(-k "$key" -s 400)
        fi
    done
    wtype "${args[@]}"
}

# type_text TEXT: types it through the virtual keyboard.
type_text() {
    wtype -s 600 "$1" -s 200
}
