#!/usr/bin/env bash
# The window program on a wlroots desktop: Whole Screen saved and copied is the output's pixels; the
# see-through frame centred, clicked through, dragged, widened, closed, each grab its inside; Defined Size.
source "$(dirname "$0")/../support/sway_session.sh"

start_desktop 1
start_wayland_app

keys alt+g w
picture_is "$work/bg1.png" 1280 800 0 0 # asked until the grab has landed
mkdir -p "$work/saved"
before=$(program_windows) && main=$(focused_window) || fail "sway does not answer"
keys alt+f Return # File opens with "Save As" active
wait_for 100 0.2 dialog_focused "$before" "$main" || fail "no Save As dialog with the keyboard"
wtype -s 600 "$work/saved/shot.bmp" -s 200
keys Return
wait_for 50 0.1 test -s "$work/saved/shot.bmp" || fail "Save As wrote no $work/saved/shot.bmp: $(cat "$work/app.log")"
same_pixels "$work/saved/shot.bmp" "$work/bg1.png" || fail "the saved grab is not the output's pixels"

start_pointer
swaymsg '[title="^Quorvex7$"] move position 0 0' >/dev/null
select_area 1
ox=547 oy=317 # centred, its inside 158 x 132 at 13, 21
frame_at "$work/bg1.png" $ox $oy

# A click inside the frame reaches the window below: the main window's File menu opens there.
swaymsg "[title=\"^Quorvex7\$\"] move position $((ox + 20)) $((oy + 30))" >/dev/null
sleep 0.5
grim -g "$((ox + 25)),$((oy + 50)) 100x60" "$work/before.png" || fail "grim cannot read the screen"
click $((ox + 40)) $((oy + 38))
menu_open() { grim -g "$((ox + 25)),$((oy + 50)) 100x60" "$work/menu.png" && other_pixels "$work/before.png" "$work/menu.png"; }
wait_for 30 0.1 menu_open || fail "the click did not pass the frame"
keys Escape
swaymsg '[title="^Quorvex7$"] move position 0 0' >/dev/null

drag $((ox + 40)) $((oy + 8)) 200 100 # by its strip
sleep 2.5
grim "$work/shot.png"
shows_pixel "$work/bg1.png" $((ox + 40)) $((oy + 8)) || fail "the frame left a trace where it was"
ox=$((ox + 200)) oy=$((oy + 100))
picture_is "$work/bg1.png" 158 132 $((ox + 13)) $((oy + 21))

drag $((ox + 184)) $((oy + 83)) 60 0 # widened by its right edge: the grab comes half a second later
sleep 1.5
picture_is "$work/bg1.png" 218 132 $((ox + 13)) $((oy + 21))

close_frame "$work/bg1.png" $ox $oy 246
picture_is "$work/bg1.png" 218 132 $((ox + 13)) $((oy + 21))

defined_size_100 # a new frame, centred at its designed size, then sized in place
sleep 1.5
picture_is "$work/bg1.png" 100 100 $((547 + 13)) $((317 + 21))

# Escape closes the frame: with the keyboard in the main window (where a layer surface leaves it),
# also after a click on the frame's strip.
ox=547 oy=317
frame_gone() { grim -g "$ox,$oy 186x166" "$work/shot.png" && is_part "$work/shot.png" "$work/bg1.png" "186x166+$ox+$oy"; }
keys Escape # the Defined Size frame
wait_for 30 0.1 frame_gone || fail "Escape left the frame open"
select_area 1
frame_at "$work/bg1.png" $ox $oy
click $((ox + 40)) $((oy + 8))
keys Escape
wait_for 30 0.1 frame_gone || fail "Escape after a click on the frame left it open"

# After the program's end the clipboard gives the same bytes, from a keeper process until another
# program takes the clipboard; beside a clipboard manager (one that keeps a copy of each selection,
# as history managers do) the keeper serves it the same.
for type in png bmp; do
    wl-paste --type "image/$type" >"$work/live.$type" || fail "no image/$type on the clipboard"
done
keys alt+f x # File > Exit, as the Exit icon
wait_for 100 0.1 gone "$app_pid" || fail "the program did not end"
app_pid=
for type in png bmp; do
    wl-paste --type "image/$type" >"$work/after.$type" && cmp -s "$work/after.$type" "$work/live.$type" \
        || fail "after the end the clipboard's image/$type is not what it was"
done
clipboard_keeper "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" || fail "no clipboard keeper runs"
wl-copy other
wait_for 100 0.1 gone "$keeper" || fail "the keeper stayed after another program took the clipboard"
[ "$(wl-paste)" = other ] || fail "the other program's text is not on the clipboard"

wl-paste --type image/png --watch sh -c 'cat >"$0.part" && mv "$0.part" "$0"' "$work/managed.png" &
manager_pid=$!
cat "$work/live.png" "$work/live.bmp" | "$QUORVEX7" --keep-clipboard wayland image/png "$(stat -c %s "$work/live.png")" \
    image/bmp "$(stat -c %s "$work/live.bmp")" || fail "the keeper did not take the clipboard"
wait_for 100 0.1 cmp -s "$work/managed.png" "$work/live.png" || fail "the clipboard manager saw other bytes"
wl-paste --type image/bmp | cmp -s - "$work/live.bmp" || fail "the kept image/bmp is not what it was"
clipboard_keeper "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" || fail "no clipboard keeper runs beside the manager"
wl-copy other
wait_for 100 0.1 gone "$keeper" || fail "the keeper stayed after another program took the clipboard"
kill "$manager_pid"
echo "PASS"
