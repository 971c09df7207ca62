#!/usr/bin/env bash
# The window program on a wlroots desktop: Whole Screen saved and copied is the output's pixels; the
# see-through frame centred, clicked through, dragged, widened, closed, each grab its inside; Defined Size.
source "$(dirname "$0")/../support/sway_session.sh"

start_desktop 1
start_wayland_app

menu alt+g w
clipboard_is "$work/bg1.png" 1280 800 0 0 # asked until the grab has landed
mkdir -p "$work/saved"
save_as "$work/saved/shot.bmp"
same_pixels "$work/saved/shot.bmp" "$work/bg1.png" || fail "the saved grab is not the output's pixels"

start_pointer
swaymsg '[title="^Quorvex7$"] move position 0 0' >/dev/null
select_area
ox=547 oy=317 # centred, its inside 158 x 132 at 13, 21

# A click inside the frame reaches the window below: the main window's File menu opens there.
swaymsg "[title=\"^Quorvex7\$\"] move position $((ox + 20)) $((oy + 30))" >/dev/null
wait_for 50 0.1 sway_has ".name? == \"Quorvex7\" and .rect.x == $((ox + 20)) and .rect.y == $((oy + 30))" \
    || fail "the main window did not move under the frame"
grim -g "$((ox + 25)),$((oy + 50)) 100x60" "$work/before.png" || fail "grim cannot read the screen"
click $((ox + 40)) $((oy + 38))
menu_open() { grim -g "$((ox + 25)),$((oy + 50)) 100x60" "$work/file-menu.png" && other_pixels "$work/before.png" "$work/file-menu.png"; }
wait_for 30 0.1 menu_open || fail "the click did not pass the frame"
keys Escape
swaymsg '[title="^Quorvex7$"] move position 0 0' >/dev/null

drag $((ox + 40)) $((oy + 8)) 200 100 # by its strip
wait_for 50 0.1 eval 'shot && shows_pixel "$work/bg1.png" $((ox + 40)) $((oy + 8))' || fail "the frame left a trace where it was"
ox=$((ox + 200)) oy=$((oy + 100))
clipboard_is "$work/bg1.png" 158 132 $((ox + 13)) $((oy + 21))

drag $((ox + 184)) $((oy + 83)) 60 0 # widened by its right edge: the grab comes half a second later
clipboard_is "$work/bg1.png" 218 132 $((ox + 13)) $((oy + 21))

close_frame $ox $oy 246
clipboard_is "$work/bg1.png" 218 132 $((ox + 13)) $((oy + 21))

defined_size_100 # a new frame, centred at its designed size, then sized in place
clipboard_is "$work/bg1.png" 100 100 $((547 + 13)) $((317 + 21))

# Escape closes the frame: with the keyboard in the main window (where a layer surface leaves it),
# also after a click on the frame's strip.
ox=547 oy=317
keys Escape # the Defined Size frame
wait_for 30 0.1 frame_gone $ox $oy 186 || fail "Escape left the frame open"
select_area
click $((ox + 40)) $((oy + 8))
keys Escape
wait_for 30 0.1 frame_gone $ox $oy 186 || fail "Escape after a click on the frame left it open"

# After the program's end the clipboard gives the same bytes, from a keeper process until another
# program takes the clipboard; beside a clipboard manager (one that keeps a copy of each selection,
# as history managers do) the keeper serves it the same.
clipboard_outlives_program
keeper_yields

wl-paste --type image/png --watch sh -c 'cat >"$0.part" && mv "$0.part" "$0"' "$work/managed.png" &
manager_pid=$!
cat "$work/live.png" "$work/live.bmp" | "$QUORVEX7" --keep-clipboard wayland image/png "$(stat -c %s "$work/live.png")" \
    image/bmp "$(stat -c %s "$work/live.bmp")" || fail "the keeper did not take the clipboard"
wait_for 100 0.1 cmp -s "$work/managed.png" "$work/live.png" || fail "the clipboard manager saw other bytes"
clipboard_read bmp | cmp -s - "$work/live.bmp" || fail "the kept image/bmp is not what it was"
keeper_yields
kill "$manager_pid"
echo "PASS"
