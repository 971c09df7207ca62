# Sourced by the Wayland scripts: a private headless sway in its own runtime folder (as nobody when run as
# root), stopped by its pid; its backgrounds the patterns $work/bg1.png (1280x800) and bg2.png (2560x1600).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/portal_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/pointer_gestures.sh"
trap 'stop_portal; stop_sway; finish' EXIT
sway_pid=
pointer_pid=
stop_sway() {
    [ -n "$pointer_pid" ] && exec 7>&- && kill "$pointer_pid" 2>/dev/null
    [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null && wait "$sway_pid" 2>/dev/null
    sway_pid= pointer_pid=
}
"$E2E_PROBE" pattern 1280 800 "$work/bg1.png" && "$E2E_PROBE" pattern 2560 1600 "$work/bg2.png" \
    || fail "cannot write the patterns"

start_pointer() { # the seat's pointer ($VIRTUAL_POINTER), driven with pointer, drag, click
    rm -f "$work/pointer.in"
    mkfifo "$work/pointer.in"
    "$VIRTUAL_POINTER" <"$work/pointer.in" >"$work/pointer.out" 2>&1 &
    pointer_pid=$!
    exec 7>"$work/pointer.in"
    wait_for 50 0.05 grep -q ready "$work/pointer.out" || fail "no virtual pointer: $(cat "$work/pointer.out")"
}
seat_move() { echo "move $1 $2 ${layout_size:-1280 800}" >&7; } # $layout_size: the desktop's
seat_button() { echo "$1" >&7; }

select_area() { # select_area PAUSE: Grab > Select Area, then PAUSE seconds for the frame to show
    keys alt+g s
    sleep "$1"
}
program_windows() { # how many windows of the program sway shows, full-screen stills aside
    sway_count '.pid? != null and .visible? == true and .fullscreen_mode? == 0'
}
more_windows_than() { [ "$(program_windows)" -gt "$1" ]; }
focused_window() { # sway's focused window, by its id; nothing when sway does not answer
    local tree
    tree=$(swaymsg -t get_tree) && jq '.. | objects | select(.focused? == true and .pid? != null) | .id' <<<"$tree"
}
dialog_focused() { # dialog_focused COUNT ID: more program windows than COUNT, and one other than ID has the keyboard
    local focused
    more_windows_than "$1" && focused=$(focused_window) && [ -n "$focused" ] && [ "$focused" != "$2" ]
}
defined_size_100() { # Grab > Defined Size, the dialog's own 100 x 100; its keys wait until it has the keyboard
    local before main
    before=$(program_windows) && main=$(focused_window) || fail "sway does not answer"
    keys alt+g d
    wait_for 100 0.2 dialog_focused "$before" "$main" || fail "no Defined Size dialog with the keyboard"
    keys Tab Tab space
}

still() { # still [X]: the condition of a program window covering the 1280 x 800 output at X full-screen
    echo ".pid? != null and .fullscreen_mode? == 1 and .visible? == true and .rect.x == ${1:-0}
        and .rect.width == 1280 and .rect.height == 800"
}
still_shown() { sway_has "$(still "$@")"; }
still_gone() { sway_has_none "$(still "$@")"; }
pixel() { # pixel PICTURE X Y: its colour there, or nothing and false
    local colour
    colour=$(convert "$1" -crop "1x1+$2+$3" -format '%[hex:u.p]' info: 2>/dev/null) && [ -n "$colour" ] \
        && echo "$colour"
}
shows_pixel() { # shows_pixel PICTURE X Y: the screenshot $work/shot.png has that picture's pixel there
    local shown
    shown=$(pixel "$work/shot.png" "$2" "$3") && [ "$shown" = "$(pixel "$@")" ]
}
hides_pixel() { # hides_pixel PICTURE X Y: the screenshot $work/shot.png has another colour there
    local shown expected
    shown=$(pixel "$work/shot.png" "$2" "$3") && expected=$(pixel "$@") && [ "$shown" != "$expected" ]
}
sway_count() { # sway_count JQ_CONDITION: how many nodes of sway's tree meet it; nothing when sway does not answer
    local tree
    tree=$(swaymsg -t get_tree) && jq "[.. | objects | select($1)] | length" <<<"$tree"
}
# sway_has, sway_has_none JQ_CONDITION: some node meets it, none does; either false when sway does not answer
sway_has() { [ "$(sway_count "$1")" -gt 0 ] 2>/dev/null; }
sway_has_none() { [ "$(sway_count "$1")" = 0 ]; }

frame_at() { # frame_at PICTURE OX OY: the 186 x 166 frame (its strip at 40, 8) is shown there on PICTURE
    grim "$work/shot.png" || fail "grim cannot read the screen"
    shows_pixel "$1" $(($2 - 1)) $(($3 + 50)) && shows_pixel "$1" $(($2 + 50)) $(($3 - 1)) \
        && hides_pixel "$1" "$2" $(($3 + 50)) && hides_pixel "$1" $(($2 + 50)) "$3" \
        && hides_pixel "$1" $(($2 + 40)) $(($3 + 8)) && shows_pixel "$1" $(($2 + 186)) $(($3 + 50)) \
        && hides_pixel "$1" $(($2 + 185)) $(($3 + 50)) || fail "the frame is not at $2,$3"
}
closed_at() { # closed_at PICTURE OX OY W: no still, and the place of a frame W wide shows PICTURE
    still_gone && grim -g "$2,$3 $4x166" "$work/shot.png" && is_part "$work/shot.png" "$1" "$4x166+$2+$3"
}
close_frame() { # close_frame PICTURE OX OY W: the "x" of a frame W wide closes it and any still
    click $(($2 + $4 - 17)) $(($3 + 11))
    wait_for 50 0.1 closed_at "$@" || fail "the frame or the still is still shown"
}

clipboard_png() { # the clipboard's image/png, whole, in $work/clip.png
    timeout 5 wl-paste --no-newline --type image/png >"$work/clip.png" 2>/dev/null
}
picture_is() { # picture_is REFERENCE W H X Y: File > Save to Clipboard gives that part (asked again: grabs land late)
    local try
    for try in 1 2 3 4 5; do
        wl-copy --clear || fail "wl-copy cannot clear the clipboard"
        keys alt+f Down Down Return
        wait_for 20 0.25 clipboard_png && is_part "$work/clip.png" "$1" "$2x$3+$4+$5" && return 0
    done
    grim "$work/shot.png"
    fail "the picture ($(identify -format %wx%h "$work/clip.png" 2>&1)) is not $2x$3+$4+$5 of $(basename "$1")"
}

start_sway() { # start_sway OUTPUT_COUNT CONFIG_LINE...
    local count=$1 runtime=$work/sway-runtime as_user=()
    shift
    mkdir -p -m 700 "$runtime"
    printf '%s\n' "default_border none" "$@" >"$work/sway.config"
    chmod 755 "$work"
    chmod -R a+r "$work"
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
    wait_for 100 0.05 test -S "$runtime/wayland-1" || fail "sway did not start: $(tail -3 "$work/sway.log")"
    export WAYLAND_DISPLAY=wayland-1 XDG_SESSION_TYPE=wayland
    wait_for 100 0.05 compgen -G "$runtime/sway-ipc.*.sock" >/dev/null || fail "sway offers no IPC socket"
    SWAYSOCK=$(compgen -G "$runtime/sway-ipc.*.sock" | head -1)
    export SWAYSOCK
    # until swaybg draws the backgrounds an output shows sway's grey
    local place outputs
    outputs=$(swaymsg -t get_outputs) || fail "sway does not answer"
    for place in $(jq -r '.[] | "\(.rect.x + 1),\(.rect.y + 1)"' <<<"$outputs"); do
        wait_for 200 0.05 not_grey "$place" || fail "the output at $place shows no background"
    done
    sleep 0.2
}
not_grey() {
    local colour
    colour=$(grim -g "$1 1x1" -t ppm - | convert ppm:- -format '%[hex:u.p{0,0}]' info:) && [ -n "$colour" ] \
        && [ "$colour" != 3F3F3F ]
}

start_desktop() { # start_desktop 1|2|1+2: floating windows on bg1 at scale 1, bg2 at scale 2, or both side by side
    local one="mode 1280x800 position 0 0 scale 1 bg $work/bg1.png center"
    local two="mode 2560x1600 position 0 0 scale 2 bg $work/bg2.png stretch"
    local floating='for_window [app_id=".*"] floating enable'
    unset XDG_CURRENT_DESKTOP
    case $1 in
    1) start_sway 1 "output HEADLESS-1 $one" "$floating" ;;
    2) start_sway 1 "output HEADLESS-1 $two" "$floating" ;;
    1+2)
        start_sway 2 "output HEADLESS-1 $one" "output HEADLESS-2 ${two/position 0 0/position 1280 0}" "$floating"
        layout_size="2560 800"
        ;;
    esac
}

start_wayland_app() { # start_wayland_app [X Y]: the main window shown, moved to X, Y when given
    export QT_QPA_PLATFORM=wayland
    unset QT_QPA_PLATFORMTHEME
    "$QUORVEX7" >"$work/app.log" 2>&1 &
    app_pid=$!
    wait_for 100 0.1 sway_has '.name? == "Quorvex7" and .visible? == true' || fail "no window titled Quorvex7"
    [ $# = 2 ] && swaymsg "[title=\"^Quorvex7\$\"] move position $1 $2" >/dev/null
    sleep 0.5
}
stop_app() {
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null
    app_pid=
}

keys() { # keys KEY...: xkb names (alt+g holds Alt) through one virtual keyboard, a pause first for it to be bound
    local key args=(-s 600)
    for key in "$@"; do
        case $key in
        alt+*) args+=(-M alt -k "${key#alt+}" -m alt -s 400) ;;
        *) args+=(-k "$key" -s 400) ;;
        esac
    done
    wtype "${args[@]}"
}
