#!/usr/bin/env bash
# quorvex7 --select, --window, --output, --list-outputs and --pointer on X11, driven by real pointer
# events, against the coordinate pattern; the --delay countdown on a terminal.
source "$(dirname "$0")/../support/x11_session.sh"
source "$(dirname "$0")/../support/desktop_checks.sh"

set_root_pattern
selection_shown() { xdotool search --onlyvisible --name '^Quorvex7 selection$' >/dev/null 2>&1; }
selection_gone() { # the X server lists its windows, none of them the selection
    local tree
    tree=$(xwininfo -root -tree) && ! grep -qF '"Quorvex7 selection"' <<<"$tree"
}
dimmed_pixel() { half "$(pixel "$work/pattern.png" "$1" "$2")"; } # dimmed_pixel X Y: the pattern's, at half its brightness

# A drag over the whole-screen window: what shows meanwhile, then exactly the pixels from the press
# to the release, both taken in, with nothing of the selection in them.
start_select --grab "$work/drag.png"
read -r _ _ sel_w sel_h <<<"$(xwininfo -name 'Quorvex7 selection' | awk '/Absolute upper-left [XY]|Width:|Height:/ {printf "%s ", $NF}')"
[ "${sel_w}x$sel_h" = "$size" ] || fail "the selection covers ${sel_w}x$sel_h, not the whole ${size} screen"
pointer 100 120 press
pointer 250 200
pointer 399 319
dragged_shown() { # the screen shows the area to the pointer, and the size box beside it
    import -window root "$work/shot.png" 2>/dev/null && [ "$(pixel "$work/shot.png" 200 200)" = "$(pixel "$work/pattern.png" 200 200)" ] \
        && [ "$(pixel "$work/shot.png" 416 336)" = 202020 ]
}
wait_for 100 0.1 dragged_shown || fail "the dragged area is not shown to the pointer"
pointer 399 319 release
end_select 0
is_part "$work/drag.png" "$work/pattern.png" 300x200+100+120 || fail "the dragged area is not the screen's 300x200+100+120"
[ "$(pixel "$work/shot.png" 50 50)" = "$(dimmed_pixel 50 50)" ] || fail "the screen outside the area is not dimmed"
[ "$(pixel "$work/shot.png" 200 200)" = "$(pixel "$work/pattern.png" 200 200)" ] || fail "the area shows dimmed"
border=$(pixel "$work/shot.png" 99 200) && [ -n "$border" ] && [ "$border" != "$(dimmed_pixel 99 200)" ] \
    || fail "no border round the area"
# The size beside the pointer: its dark box with light text below and right of it.
bright=$(convert "$work/shot.png" -crop 118x26+415+335 +repage -format '%[fx:maxima.r>0.9]' info:)
[ "$(pixel "$work/shot.png" 416 336)" = 202020 ] && [ "$bright" = 1 ] || fail "no size shown beside the pointer"

# On a screen whose text is drawn at twice the size (Xft.dpi 192), the size is twice as large and far.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.antialias:\t1\nXft.dpi:\t192\n')"
label_doubled() {
    shot && [ "$(pixel "$work/shot.png" 432 352)" = 202020 ] && [ "$(pixel "$work/shot.png" 665 401)" = 202020 ] \
        && [ "$(pixel "$work/shot.png" 416 336)" = "$(dimmed_pixel 416 336)" ]
}
start_select --print
pointer 100 120 press
pointer 250 200
pointer 399 319
wait_for 50 0.1 label_doubled || fail "the size is not drawn at twice its size"
pointer 399 319 release
end_select 0
xprop -root -remove RESOURCE_MANAGER

# --print: the area only; Escape, the right button cancel and write nothing.
start_select --print
drag 640 500 -100 -100 2
end_select 0
[ "$(cat "$work/out")" = "101x101+540+400" ] || fail "--select --print printed $(cat "$work/out")"
for cancel in "keys Escape" "click 700 700 right"; do
    start_select --grab "$work/cancelled.png"
    pointer 700 700
    $cancel
    cancelled "$cancel"
done

# No window has had the focus yet: openbox names none and keeps the focus in a window of its own.
"$QUORVEX7" --window --print 2>"$work/err" && fail "--window before any window was focused printed an area"
[ "$(cat "$work/err")" = "quorvex7: no window has the focus" ] || fail "--window before any window: $(cat "$work/err")"

# A window: picked by a click, and the focused one; with its window manager's frame where one draws it.
xmessage -geometry 300x160+420+260 -title target "quorvex7 area test" &
message_pid=$!
trap 'kill "$message_pid" 2>/dev/null; finish' EXIT
target=$(xdotool search --sync --onlyvisible --name '^target$' | head -1)
[ -n "${QUORVEX_TEST_WM:-}" ] && xdotool windowactivate --sync "$target"
xdotool windowfocus --sync "$target"
geometry_of "$target"
read -r left right top bottom <<<"$(xprop -id "$target" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ,)"
border=$(xwininfo -id "$target" | awk '/Border width:/ {print 2 * $NF}') # the X server's, round the window
left=${left:-0} right=${right:-0} top=${top:-0} bottom=${bottom:-0}
frame="$((geo_w + border + left + right))x$((geo_h + border + top + bottom))+$((geo_x - left))+$((geo_y - top))"
[ "$("$QUORVEX7" --window --print)" = "$frame" ] || fail "--window is $("$QUORVEX7" --window --print), not $frame"
"$QUORVEX7" --grab "$work/window.png" --window && [ "$(identify -format %wx%h "$work/window.png")" = "${frame%%+*}" ] \
    || fail "--window did not grab the ${frame%%+*} window"
start_select --print
click $((geo_x + 20)) $((geo_y + 20))
end_select 0
[ "$(cat "$work/out")" = "$frame" ] || fail "a click picked $(cat "$work/out"), not the window at $frame"
kill "$message_pid"
wait "$message_pid" 2>/dev/null
if [ -z "${QUORVEX_TEST_WM:-}" ]; then # the focus went back to the root
    "$QUORVEX7" --window --print 2>"$work/err" && fail "--window without a focused window printed an area"
    [ "$(cat "$work/err")" = "quorvex7: no window has the focus" ] || fail "--window without a window: $(cat "$work/err")"
fi

# Monitors: as RandR has them, each grabbed alone.
xrandr --setmonitor LEFT 700/185x1080/286+0+0 none >/dev/null && xrandr --setmonitor RIGHT 1220/323x1080/286+700+0 none >/dev/null \
    || fail "cannot make two monitors"
"$QUORVEX7" --list-outputs >"$work/outputs" || fail "--list-outputs failed"
grep -qx "LEFT 700x1080+0+0 scale 1 pixels 700x1080+0+0" "$work/outputs" \
    && grep -qx "RIGHT 1220x1080+700+0 scale 1 pixels 1220x1080+700+0" "$work/outputs" || fail "--list-outputs: $(cat "$work/outputs")"
"$QUORVEX7" --grab "$work/right.png" --output RIGHT && is_part "$work/right.png" "$work/pattern.png" 1220x1080+700+0 \
    || fail "--output RIGHT is not the right monitor"
"$QUORVEX7" --grab "$work/none.png" --output MIDDLE 2>"$work/err" && fail "--output MIDDLE grabbed"
[ "$(cat "$work/err")" = "quorvex7: there is no output 'MIDDLE' (there are: LEFT, RIGHT, screen)" ] && [ ! -e "$work/none.png" ] \
    || fail "--output MIDDLE: $(cat "$work/err")"

# The pointer: drawn in only when asked, with its own pixels where it lies.
pointer 900 600
"$QUORVEX7" --grab "$work/without.png" --region 64x64+868+568 && is_part "$work/without.png" "$work/pattern.png" 64x64+868+568 \
    || fail "a grab without --pointer is not the bare screen"
"$QUORVEX7" --grab "$work/with.png" --region 64x64+868+568 --pointer || fail "--pointer failed"
changed=$(compare -metric AE "$work/with.png" "$work/without.png" null: 2>&1)
[ "$changed" -gt 20 ] || fail "--pointer drew $changed pixels"
convert "$work/with.png" -crop 24x24+0+0 +repage "$work/corner.png" && is_part "$work/corner.png" "$work/pattern.png" 24x24+868+568 \
    || fail "--pointer changed pixels away from the pointer"

# --clipboard: PNG on the clipboard after quorvex7 has returned, and the JPEG file too, from one read;
# what serves it ends once another program takes the clipboard.
"$QUORVEX7" --grab "$work/also.jpg" --clipboard --region 300x200+64+32 || fail "--grab --clipboard failed"
convert "$work/pattern.png" -crop 300x200+64+32 +repage "$work/also-expected.png"
close_to "$work/also.jpg" "$work/also-expected.png" 34 || fail "also.jpg is not the grab ($psnr dB)"
pasted_is png "$work/pattern.png" 300x200+64+32 || fail "the clipboard does not hold the grab as PNG"
keeper_yields
"$QUORVEX7" --clipboard --output RIGHT && pasted_is png "$work/pattern.png" 1220x1080+700+0 || fail "--clipboard --output RIGHT"
keeper_yields

# --delay counts down on a terminal, and says nothing elsewhere.
script -qfc "'$QUORVEX7' --grab '$work/late.png' --delay 1.2" "$work/typescript" >/dev/null </dev/null || fail "--delay on a terminal failed"
grep -q "quorvex7: grabbing in 2 s" "$work/typescript" && grep -q "quorvex7: grabbing in 1 s" "$work/typescript" \
    || fail "no countdown: $(cat -v "$work/typescript")"
"$QUORVEX7" --grab "$work/late.png" --delay 0.5 2>"$work/err" && [ ! -s "$work/err" ] || fail "--delay wrote $(cat "$work/err")"
echo "areas chosen, pointer drawn"
