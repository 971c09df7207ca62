# Sourced by the X11 scripts, run in a private Xvfb (run_in_xvfb.sh): the driver's steps through xdotool,
# import and xclip; the window program's main window is $window.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/driver.sh"
pointer_rest="5 5"

seat_move() { xdotool mousemove "$1" "$2"; }
seat_button() { # seat_button press|release [right]
    local button=1
    [ "${2:-}" = right ] && button=3
    if [ "$1" = press ]; then xdotool mousedown $button; else xdotool mouseup $button; fi
}
keys() { xdotool key --clearmodifiers --delay 400 "$@"; }
type_text() { xdotool type --delay 20 "$1"; }
screen_shot() { import -window root -depth 8 "ppm:$1"; } # uncompressed: quick on large screens
focus_app() { # the main window given the keyboard, with or without a window manager
    [ -n "${QUORVEX_TEST_WM:-}" ] && xdotool windowactivate --sync "$window" 2>/dev/null
    xdotool windowfocus --sync "$window" 2>/dev/null
    sleep 0.2
}
dialog_ready() { # another window of the program's has the keyboard
    local focused
    focused=$(xdotool getwindowfocus) && [ "$focused" != "$window" ] \
        && xdotool search --onlyvisible --class quorvex7 | grep -qx "$focused"
}
clipboard_read() { # clipboard_read png|bmp|text; an owner that never answers fails the read, not the test's time
    if [ "$1" = text ]; then
        timeout 30 xclip -selection clipboard -o
    else
        timeout 30 xclip -selection clipboard -t "image/$1" -o
    fi
}
clipboard_give() { printf %s "$1" | xclip -selection clipboard -i; }
keeper_mark() { echo "DISPLAY=$DISPLAY"; }

set_root_pattern() { # the root window shows the coordinate pattern $work/pattern.png at the screen's size
    size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    "$E2E_PROBE" pattern "${size%x*}" "${size#*x}" "$work/pattern.png" || fail "cannot write the pattern"
    display -window root "$work/pattern.png" >/dev/null 2>&1 || true # exits 1 even when it worked
}

start_app() { # sets $window to the main window's id
    "$QUORVEX7" >"$work/app.log" 2>&1 &
    app_pid=$!
    window=$(xdotool search --sync --onlyvisible --limit 1 --name '^Quorvex7$') || fail "no window titled Quorvex7"
    sleep 0.5
}

geometry_of() { # geometry_of WINDOW: sets $geo_x $geo_y $geo_w $geo_h, its client area on the screen
    read -r geo_x geo_y geo_w geo_h <<<"$(xwininfo -id "$1" | awk '/Absolute upper-left [XY]|Width:|Height:/ {printf "%s ", $NF}')"
}
title_of_app() { xdotool getwindowname "$window"; }
titled() { [ "$(title_of_app)" = "$1" ]; }

# Grab > Whole Screen; sets $client_x $client_y, the client area's corner, from where the view shows the grab
# (to the right of the window's own corner, where the screen shows while the window hides for the grab).
# The window must be at rest around the shot: openbox animates its return from being minimised, and a
# place read during the animation is not where the shot shows it.
view_found() {
    local before
    geometry_of "$window" && before="$geo_x $geo_y $geo_w $geo_h" && shot \
        && found=$("$E2E_PROBE" find "$work/shot.png" "$geo_x" "$geo_y" "$geo_w" "$geo_h") \
        && [ "${found%% *}" -gt "$geo_x" ] && geometry_of "$window" && [ "$geo_x $geo_y $geo_w $geo_h" = "$before" ]
}
grab_whole_screen_and_find_client() {
    local found
    menu alt+g w
    wait_for 50 0.2 view_found || fail "the picture view does not show the grabbed screen"
    win_x=$geo_x win_y=$geo_y
    read -r client_x client_y <<<"$found"
    client_x=$((client_x - 18)) client_y=$((client_y - 42))
}

find_overlay() { # sets $overlay to the selection frame's window
    overlay=$(xdotool search --onlyvisible --class quorvex7 | grep -v "^$window\$" | head -n 1)
    [ -n "$overlay" ] || fail "no selection overlay on the screen"
}
