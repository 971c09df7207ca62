#!/usr/bin/env bash
# On a scaled screen and on two monitors (QUORVEX_TEST_MONITORS=2) every picture pixel is one
# screen pixel: the whole-screen grab, a defined-size frame and the same frame dragged (across the
# seam), each checked through Save As. A monitor is 1280 x 800 logical pixels.
source "$(dirname "$0")/e2e_lib.sh"

# The scale: QT_SCALE_FACTOR, or Xft.dpi in the X resources (QUORVEX_TEST_XFT_DPI) as desktops set it.
ratio=${QT_SCALE_FACTOR:-1}
if [ -n "${QUORVEX_TEST_XFT_DPI:-}" ]; then
    echo "Xft.dpi: $QUORVEX_TEST_XFT_DPI" | xrdb -merge
    ratio=$(awk -v d="$QUORVEX_TEST_XFT_DPI" 'BEGIN { print d / 96 }')
    unset QT_SCALE_FACTOR
fi
scaled() { # scaled N: N logical pixels in device pixels, rounded as Qt rounds them
    awk -v n="$1" -v r="$ratio" 'BEGIN { printf "%d\n", int(n * r + 0.5) }'
}
# With QUORVEX_TEST_PRIMARY=right the main window's monitor is the right one, the other lies left of it.
monitors=${QUORVEX_TEST_MONITORS:-1}
read -r width height <<<"$(xdpyinfo | awk '/dimensions:/ {split($2, s, "x"); print s[1], s[2]}')"
monitor_width=$((width / monitors))
home_x=0 direction=1
if [ "$monitors" = 2 ]; then
    left=left right=right
    if [ "${QUORVEX_TEST_PRIMARY:-left}" = right ]; then
        right='*right' home_x=$monitor_width direction=-1
    fi
    xrandr --setmonitor "$left" "$monitor_width/300x$height/200+0+0" screen >/dev/null
    xrandr --setmonitor "$right" "$monitor_width/300x$height/200+$monitor_width+0" none >/dev/null
fi
set_root_pattern
size=$(xdpyinfo | awk '/dimensions:/ {print $2}')

# shows_inside FILE X Y W H: FILE is exactly the W x H pixels of the screen at X, Y.
shows_inside() {
    [ "$(identify -format %wx%h "$1")" = "$4x$5" ] || fail "$1 is $(identify -format %wx%h "$1"), not $4x$5"
    read -r got_x got_y <<<"$("$E2E_PROBE" decode "$1" 0 0)"
    [ "$got_x,$got_y" = "$2,$3" ] || fail "$1 starts at screen pixel $got_x,$got_y, not $2,$3"
    is_part "$1" "$work/pattern.png" "$4x$5+$2+$3" || fail "$1 is not the screen at $2,$3"
}

start_app
xdotool windowmove --sync "$window" "$home_x" 0 # the primary monitor's corner, wherever a window manager put it

grab_whole_screen_and_find_client # the pattern's corner is found unscaled: shown 1:1
save_as "$work/whole.bmp"
shows_inside "$work/whole.bmp" 0 0 "${size%x*}" "${size#*x}"
menu_keys alt+i z Return # Image > Zoom > -50%: half the device pixels
[ "$(title_of_app)" = "Quorvex7 - ($((width / 2))x$((height / 2)))" ] || fail "title after -50%: $(title_of_app)"

# Defined Size 100 x 100 opens the frame on the main window's monitor.
menu_keys alt+g d
sleep 1
xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace type 100
xdotool key Tab type 100 # a Tab into a box selects its text
xdotool key Tab space # OK
sleep 1.5 # the grab comes half a second after the frame takes its size
overlay=$(xdotool search --onlyvisible --class quorvex7 | grep -v "^$window\$" | head -n 1)
[ -n "$overlay" ] || fail "no selection overlay on the screen"
[ "$(title_of_app)" = "Quorvex7 - (100x100)" ] || fail "title after the defined size: $(title_of_app)"
geometry_of "$overlay"
# It opened at its designed size (186 x 166) in the middle of the first monitor, then took the size.
expected_x=$((home_x + (monitor_width - $(scaled 186)) / 2))
[ "$geo_x" -ge $((expected_x - 2)) ] && [ "$geo_x" -le $((expected_x + 2)) ] \
    || fail "the frame opened at x $geo_x, not in its monitor's middle (x $expected_x)"
# Inside: our 4-pixel frame, s1 at 8, 16 of the client area, its 1-pixel border.
inside_x=$((geo_x + $(scaled 13))) inside_y=$((geo_y + $(scaled 21)))
save_as "$work/defined.bmp"
shows_inside "$work/defined.bmp" "$inside_x" "$inside_y" 100 100

# Dragged by its strip sideways (onto the other monitor when there is one) and left to rest.
strip_x=$((geo_x + $(scaled 40))) strip_y=$((geo_y + $(scaled 8)))
distance=$((direction * monitor_width / 4))
[ "$monitors" = 2 ] && distance=$((direction * (monitor_width / 2 + 37)))
xdotool mousemove "$strip_x" "$strip_y" mousedown 1
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove "$((strip_x + step * distance / 8))" "$((strip_y + step * 9))"
    sleep 0.1
done
xdotool mouseup 1 mousemove 5 5
sleep 3.5 # the grab comes at the first move-timer tick that finds the frame at rest
geometry_of "$overlay"
[ $(((geo_x - inside_x) * direction)) -gt $((distance * direction / 2)) ] || fail "the frame did not move: at $geo_x"
save_as "$work/moved.bmp"
shows_inside "$work/moved.bmp" "$((geo_x + $(scaled 13)))" "$((geo_y + $(scaled 21)))" 100 100
# The command line's region is in desktop coordinates, across the seam too.
region_x=$((width / 2 - 50)) # astride the seam of two monitors
region_y=$((height - 100)) # below the main window
"$QUORVEX7" --grab "$work/region.png" --region "100x80+$region_x+$region_y" || fail "the command-line region grab failed"
shows_inside "$work/region.png" "$region_x" "$region_y" 100 80
echo "scale $ratio, $monitors monitor(s): whole screen $size, defined size and moved frame exact"
