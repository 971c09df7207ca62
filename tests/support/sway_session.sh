# Sourced by the Wayland scripts: a private headless sway in its own runtime folder (as nobody when run as
# root), stopped by its pid; its backgrounds the patterns $work/bg1.png (1280x800) and bg2.png (2560x1600).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/portal_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/driver.sh"
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

start_pointer() { # the seat's pointer ($VIRTUAL_POINTER)
    rm -f "$work/pointer.in"
    mkfifo "$work/pointer.in"
    "$VIRTUAL_POINTER" <"$work/pointer.in" >"$work/pointer.out" 2>&1 &
    pointer_pid=$!
    exec 7>"$work/pointer.in"
    wait_for 50 0.05 grep -q ready "$work/pointer.out" || fail "no virtual pointer: $(cat "$work/pointer.out")"
}
seat_move() { echo "move $1 $2 ${layout_size:-1280 800}" >&7; } # $layout_size: the desktop's
seat_button() { echo "$*" >&7; }
screen_shot() { grim ${shot_scale:+-s "$shot_scale"} "$1"; } # $shot_scale: the shot's, else the largest output's
clipboard_clear() { wl-copy --clear; }
dialog_ready() { # a window of the program's other than its main window has the keyboard
    local focused
    focused=$(focused_window) && [ -n "$focused" ] && [ "$focused" != "$main_window" ]
}
program_windows() { # how many windows of the program sway shows, full-screen stills aside
    sway_count '.pid? != null and .visible? == true and .fullscreen_mode? == 0'
}
focus_app() { # until a window of the program has the keyboard again: where a closed frame or dialog hands
    # it back late on a busy machine, keys meanwhile would go nowhere
    wait_for 100 0.1 eval '[ -n "$(focused_window)" ]' || fail "no window of the program gets the keyboard"
}
focused_window() { # sway's focused window, by its id; nothing when sway does not answer
    local tree
    tree=$(swaymsg -t get_tree) && jq '.. | objects | select(.focused? == true and .pid? != null) | .id' <<<"$tree"
}
still() { # still [X]: the condition of a program window covering the 1280 x 800 output at X full-screen
    echo ".pid? != null and .fullscreen_mode? == 1 and .visible? == true and .rect.x == ${1:-0}
        and .rect.width == 1280 and .rect.height == 800"
}
still_gone() { sway_has_none "$(still "$@")"; }
sway_count() { # sway_count JQ_CONDITION: how many nodes of sway's tree meet it; nothing when sway does not answer
    local tree
    tree=$(swaymsg -t get_tree) && jq "[.. | objects | select($1)] | length" <<<"$tree"
}
# sway_has, sway_has_none JQ_CONDITION: some node meets it, none does; either false when sway does not answer
sway_has() { [ "$(sway_count "$1")" -gt 0 ] 2>/dev/null; }
sway_has_none() { [ "$(sway_count "$1")" = 0 ]; }

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
    unset XDG_CURRENT_DESKTOP shot_scale
    case $1 in
    1) start_sway 1 "output HEADLESS-1 $one" "$floating" ;;
    2) start_sway 1 "output HEADLESS-1 $two" "$floating" ;;
    1+2)
        start_sway 2 "output HEADLESS-1 $one" "output HEADLESS-2 ${two/position 0 0/position 1280 0}" "$floating"
        layout_size="2560 800" shot_scale=1 # the first output's own pixels
        ;;
    esac
}

start_wayland_app() { # start_wayland_app [X Y]: the main window shown, moved to X, Y when given
    export QT_QPA_PLATFORM=wayland
    unset QT_QPA_PLATFORMTHEME
    "$QUORVEX7" >"$work/app.log" 2>&1 &
    app_pid=$!
    wait_for 100 0.1 sway_has '.name? == "Quorvex7" and .visible? == true' || fail "no window titled Quorvex7"
    wait_for 50 0.1 eval 'main_window=$(focused_window) && [ -n "$main_window" ]' || main_window=
    [ $# = 2 ] && swaymsg "[title=\"^Quorvex7\$\"] move position $1 $2" >/dev/null
    sleep 0.5
}
stop_app() {
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null
    app_pid=
}

menu_keys_at_once=yes # a virtual keyboard's menu closes when it goes
keys() { # keys KEY...: through one virtual keyboard, a pause first for it to be bound
    local key args=(-s 600)
    for key in "$@"; do
        case $key in
        *+*) args+=(-M "${key%+*}" -k "${key#*+}" -m "${key%+*}" -s 400) ;;
        *) args+=(-k "$key" -s 400) ;;
        esac
    done
    wtype "${args[@]}"
}
type_text() { wtype -s 600 "$1" -s 200; }
