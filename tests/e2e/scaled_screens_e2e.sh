#!/usr/bin/env bash
# Scaled and two-monitor screens: the whole screen, a defined-size and a dragged frame, pixel for pixel.
source "$(dirname "$0")/../support/x11_session.sh"

ratio=${QT_SCALE_FACTOR:-1}
if [ -n "${QUORVEX_TEST_XFT_DPI:-}" ]; then
    echo "Xft.dpi: $QUORVEX_TEST_XFT_DPI" | xrdb -merge
    ratio=$(awk -v d="$QUORVEX_TEST_XFT_DPI" 'BEGIN { print d / 96 }')
    unset QT_SCALE_FACTOR
fi
scaled() { # scaled N: N logical pixels in device pixels, rounded as Qt rounds them
    awk -v n="$1" -v r="$ratio" 'BEGIN { printf "%d\n", int(n * r + 0.5) }'
}
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

shows_inside() { # shows_inside FILE X Y W H: FILE is exactly the W x H pixels of the screen at X, Y
    is_part "$1" "$work/pattern.png" "$4x$5+$2+$3" \
        || fail "$1 ($(identify -format %wx%h "$1"), from $("$E2E_PROBE" decode "$1" 0 0)) is not $4x$5 at $2,$3"
}

start_app
xdotool windowmove --sync "$window" "$home_x" 0 # the primary monitor's corner, wherever a window manager put it

grab_whole_screen_and_find_client # the pattern's corner is found unscaled: shown 1:1
save_as "$work/whole.bmp"
shows_inside "$work/whole.bmp" 0 0 "${size%x*}" "${size#*x}"
menu alt+i z Return # Image > Zoom > -50%: half the device pixels
[ "$(title_of_app)" = "Quorvex7 - ($((width / 2))x$((height / 2)))" ] || fail "title after -50%: $(title_of_app)"

# Defined Size 100 x 100 opens the frame on the main window's monitor.
defined_size_100
wait_for 100 0.1 titled "Quorvex7 - (100x100)" || fail "title after the defined size: $(title_of_app)"
expected_x=$((home_x + (monitor_width - $(scaled 186)) / 2))
frame_centred() { # the frame is shown where it belongs (a window manager places it after mapping it); a
    # closing dialog or menu may still be mapped beside it
    for overlay in $(xdotool search --onlyvisible --class quorvex7 | grep -v "^$window\$"); do
        geometry_of "$overlay" && [ "$geo_x" -ge $((expected_x - 2)) ] && [ "$geo_x" -le $((expected_x + 2)) ] && return
    done
    return 1
}
program_windows_at() { for w in $(xdotool search --onlyvisible --class quorvex7); do geometry_of "$w" && echo -n "$w ($(xdotool getwindowname "$w")) at $geo_x,$geo_y ${geo_w}x$geo_h; "; done; }
wait_for 50 0.1 frame_centred || fail "no frame centred at its designed 186 px (x $expected_x): $(program_windows_at)"
inside_x=$((geo_x + $(scaled 13))) inside_y=$((geo_y + $(scaled 21)))
save_as "$work/defined.bmp"
shows_inside "$work/defined.bmp" "$inside_x" "$inside_y" 100 100

# Dragged by its strip with the right button (any button moves it) sideways, onto the other monitor
# when there is one, and left to rest.
strip_x=$((geo_x + $(scaled 40))) strip_y=$((geo_y + $(scaled 8)))
distance=$((direction * monitor_width / 4))
[ "$monitors" = 2 ] && distance=$((direction * (monitor_width / 2 + 37)))
drag "$strip_x" "$strip_y" "$distance" 72 8 right
moved_x=$((geo_x + distance)) moved_y=$((geo_y + 72))
view_x=$((client_x + 18)) view_y=$((client_y + 42)) # where the whole screen's grab showed its corner
# Once the frame rests where the pointer left it, the move timer's grab lands in the picture view: there it shows
# the pattern 1:1 from inside the frame (no menu opens over the frame before).
moved_grab_shown() {
    local from_x from_y
    shown_from=
    geometry_of "$overlay" && [ "$geo_x" -ge $((moved_x - 2)) ] && [ "$geo_x" -le $((moved_x + 2)) ] \
        && [ "$geo_y" -ge $((moved_y - 2)) ] && [ "$geo_y" -le $((moved_y + 2)) ] || return 1
    shot && shown_from=$("$E2E_PROBE" decode "$work/shot.png" "$view_x" "$view_y") || return 1
    read -r from_x from_y <<<"$shown_from"
    # a few pixels into the frame's inside (the view's border is gone), from where 64 x 64 of it are shown
    ((from_x - geo_x - $(scaled 13) >= 0 && from_x - geo_x - $(scaled 13) < 36)) \
        && ((from_y - geo_y - $(scaled 21) >= 0 && from_y - geo_y - $(scaled 21) < 36)) \
        && "$E2E_PROBE" patch "$work/shot.png" "$view_x" "$view_y" "$from_x" "$from_y" 64
}
wait_for 100 0.2 moved_grab_shown || fail "no grab after the move: the frame at $geo_x,$geo_y (to rest at" \
    "$moved_x,$moved_y), the view at $view_x,$view_y shows the pattern from ${shown_from:-nowhere}"
save_as "$work/moved.bmp"
shows_inside "$work/moved.bmp" "$((geo_x + $(scaled 13)))" "$((geo_y + $(scaled 21)))" 100 100
# The command line's region is in desktop coordinates, across the seam too.
region_x=$((width / 2 - 50)) # astride the seam of two monitors
region_y=$((height - 100)) # below the main window
"$QUORVEX7" --grab "$work/region.png" --region "100x80+$region_x+$region_y" || fail "the command-line region grab failed"
shows_inside "$work/region.png" "$region_x" "$region_y" 100 80
echo "scale $ratio, $monitors monitor(s): whole screen $size, defined size and moved frame exact"
