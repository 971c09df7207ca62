# Sourced by the end-to-end and install scripts: $work and $app_pid are cleaned up at the end.
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
    tail -n 5 "$work/app.log" "$work/portal.log" >&2 2>/dev/null
    [ -f "$work/shot.png" ] && cp "$work/shot.png" "/tmp/e2e-failure-$(basename "$0" .sh)${QUORVEX_TEST_WM:+-wm}.png"
    exit 1
}

wait_for() { # wait_for TRIES PAUSE COMMAND...: true as soon as COMMAND is, false after TRIES tries
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
other_pixels() { # other_pixels A B: both pictures read, of one size, and some pixels differ
    compare -metric AE "$1" "$2" null: 2>/dev/null
    [ $? = 1 ] # 2 when a picture cannot be read or the sizes differ
}

close_to() { # close_to A B DB: the pictures agree to at least DB dB (PSNR), which lands in $psnr
    # compare measures only where they overlap: pictures of two sizes are not close.
    psnr="$(identify -format '%wx%h' "$1") against $(identify -format '%wx%h' "$2")"
    [ "${psnr% against *}" = "${psnr#* against }" ] || return 1
    psnr=$(compare -metric PSNR "$1" "$2" null: 2>&1)
    awk -v p="$psnr" -v least="$3" 'BEGIN { exit !(p == "inf" || p + 0 >= least) }'
}

is_part() { # is_part FILE REFERENCE WxH+X+Y: FILE is exactly that part of REFERENCE
    convert "$2" -crop "$3" +repage "$work/expected.png" && same_pixels "$1" "$work/expected.png"
}

# save_as TYPED [FILE]: File > Save As through the real dialog; FILE (TYPED unless given) must appear.
save_as() {
    local file=${2:-$1}
    rm -f "$file"
    menu_keys alt+f Return
    sleep 1
    xdotool type --delay 20 "$1"
    xdotool key Return
    wait_for 50 0.1 test -s "$file" || fail "Save As wrote no $file"
}

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

clipboard_keeper() { # clipboard_keeper NAME=VALUE: sets $keeper to the pid of a clipboard keeper (--keep-clipboard, or what --clipboard left) whose environment has that
    local cmdline
    for cmdline in /proc/[0-9]*/cmdline; do
        tr '\0' ' ' <"$cmdline" 2>/dev/null | grep -q -- '-clipboard ' \
            && tr '\0' '\n' <"${cmdline%cmdline}environ" 2>/dev/null | grep -qxF "$1" \
            && keeper=${cmdline#/proc/} && keeper=${keeper%/cmdline} && return 0
    done
    return 1
}
no_keeper() { ! clipboard_keeper "$1"; }
gone() { [ -n "$1" ] && ! kill -0 "$1" 2>/dev/null; }

screenshot() { import -window root "$work/shot.png" || fail "no screenshot"; }
title_of_app() { xdotool getwindowname "$window"; }

# Grab > Whole Screen; sets $client_x $client_y, the client area's corner, from where the pattern shows.
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

menu_keys() { # menu_keys alt+i z Return: the keys one by one to the main window, focused with or without a WM
    [ -n "${QUORVEX_TEST_WM:-}" ] && xdotool windowactivate --sync "$window" 2>/dev/null
    xdotool windowfocus --sync "$window" 2>/dev/null
    sleep 0.2
    local key
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.4
    done
}

find_overlay() { # sets $overlay to the selection frame's window
    overlay=$(xdotool search --onlyvisible --class quorvex7 | grep -v "^$window\$" | head -n 1)
    [ -n "$overlay" ] || fail "no selection overlay on the screen"
}

x_drag() { # x_drag X Y DX DY STEPS [BUTTON]: the button (the left one) pressed at X, Y, moved by DX, DY and released
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool mousedown "${6:-1}"
    local step
    for step in $(seq "$5"); do
        xdotool mousemove $(($1 + step * $3 / $5)) $(($2 + step * $4 / $5))
        sleep 0.1
    done
    xdotool mouseup "${6:-1}" mousemove 5 5
}
