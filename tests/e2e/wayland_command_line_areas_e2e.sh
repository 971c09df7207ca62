#!/usr/bin/env bash
# quorvex7 --select, --window, --output, --list-outputs and --pointer on a private headless sway with
# an output at scale 1 beside one at scale 2 (at the end 1.5), driven by its virtual pointer, against
# the patterns.
source "$(dirname "$0")/../support/sway_session.sh"
source "$(dirname "$0")/../support/desktop_checks.sh"

start_desktop 1+2
start_pointer
layout_size="5120 1600" # the pointer's points are the desktop picture's pixels (device pixels at scale 2)
convert "$work/bg1.png" -scale 200% "$work/bg2.png" +append "$work/both.png"
shows_dimmed() { # shows_dimmed X Y: the screen shows the picture's pixel at X, Y (even) at half its brightness
    local scale=2
    [ "$1" -lt 2560 ] && scale=1 # read at the output's own scale, never resampled
    grim -s $scale -g "$(($1 / 2)),$(($2 / 2)) 1x1" "$work/dot.png" 2>/dev/null \
        && [ "$(pixel "$work/dot.png" 0 0)" = "$(half "$(pixel "$work/both.png" "$1" "$2")")" ]
}
shows_own() { # shows_own X Y: the screen shows the picture's own pixel at X, Y (even; the second output)
    grim -s 2 -g "$(($1 / 2)),$(($2 / 2)) 1x1" "$work/dot.png" 2>/dev/null \
        && [ "$(pixel "$work/dot.png" 0 0)" = "$(pixel "$work/both.png" "$1" "$2")" ]
}
selection_shown() { shows_dimmed 100 100 && shows_dimmed 4000 1400; } # on both outputs

"$QUORVEX7" --list-outputs >"$work/outputs" || fail "--list-outputs failed"
[ "$(cat "$work/outputs")" = "HEADLESS-1 1280x800+0+0 scale 1 pixels 2560x1600+0+0
HEADLESS-2 1280x800+1280+0 scale 2 pixels 2560x1600+2560+0" ] || fail "--list-outputs: $(cat "$work/outputs")"
"$QUORVEX7" --grab "$work/second.png" --output HEADLESS-2 && is_part "$work/second.png" "$work/bg2.png" 2560x1600+0+0 \
    || fail "--output HEADLESS-2 is not the second output's pixels"
[ "$("$QUORVEX7" --output HEADLESS-1 --print)" = 2560x1600+0+0 ] \
    || fail "--output HEADLESS-1 --print is $("$QUORVEX7" --output HEADLESS-1 --print), not where --region finds it"
for printing in --list-outputs "--output HEADLESS-1 --print"; do # lines into a closed standard output
    bash -c 'exec "$0" $1 >&-' "$QUORVEX7" "$printing" 2>"$work/err" && fail "$printing printed into nothing"
    grep -q "^quorvex7: standard output is closed" "$work/err" || fail "$printing, closed: $(cat "$work/err")"
done
pointer 5119 1599 # the pointer, which a headless sway draws into screen copies, off the first output
"$QUORVEX7" --grab "$work/first.png" --output HEADLESS-1 && is_part "$work/first.png" "$work/bg1.png" 1280x800+0+0 \
    || fail "--output HEADLESS-1 is not the first output's own pixels (each one once)"

# Dragged across both outputs, from a device pixel of the scale-2 one that is half a logical pixel of
# the scale-1 one: exactly those pixels of the desktop picture, the selection in none of them.
start_select --grab "$work/drag.png"
pointer 2001 301 press
pointer 2500 700
pointer 3000 1000
wait_for 50 0.1 shows_own 2900 900 || fail "the area shows dimmed"
shows_dimmed 4000 200 && shows_dimmed 1000 200 || fail "the outputs are not dimmed outside the area"
pointer 3000 1000 release
end_select 0
is_part "$work/drag.png" "$work/both.png" 1000x700+2001+301 || fail "the area dragged is not 1000x700+2001+301"

# Cancelled by Escape and by the right button: nothing written.
for how in Escape right; do
    start_select --grab "$work/cancelled.png"
    if [ $how = Escape ]; then keys Escape; else click 1000 1000 right; fi
    cancelled $how
done

# A window, as sway's IPC places it: the focused one, and the one a click picks.
start_wayland_app 700 100
read -r wx wy ww wh <<<"$(swaymsg -t get_tree | jq -r '.. | objects | select(.name? == "Quorvex7") | .rect | "\(.x) \(.y) \(.width) \(.height)"')"
expected="$((ww * 2))x$((wh * 2))+$((wx * 2))+$((wy * 2))"
[ "$("$QUORVEX7" --window --print)" = "$expected" ] || fail "--window is $("$QUORVEX7" --window --print), not $expected"
start_select --print
pointer $((wx * 2 + 40)) $((wy * 2 + 40)) press release
end_select 0
[ "$(cat "$work/out")" = "$expected" ] || fail "the click picked $(cat "$work/out"), not $expected"
# With a title bar, which sway's IPC leaves out of the window's place: the frame is all of it.
swaymsg '[title="^Quorvex7$"] border normal 3' >/dev/null
titled() {
    read -r wx wy ww wh title <<<"$(swaymsg -t get_tree | jq -r '.. | objects | select(.name? == "Quorvex7")
        | "\(.rect.x) \(.rect.y) \(.rect.width) \(.rect.height) \(.deco_rect.height)"')"
    [ "$title" -gt 0 ] 2>/dev/null
}
wait_for 50 0.1 titled || fail "sway draws no title bar"
expected="$((ww * 2))x$(((wh + title) * 2))+$((wx * 2))+$(((wy - title) * 2))"
[ "$("$QUORVEX7" --window --print)" = "$expected" ] || fail "--window is $("$QUORVEX7" --window --print), not $expected"
stop_app

# --clipboard through data control: the PNG there after quorvex7 has returned, until another program
# takes the clipboard, when what kept it ends.
"$QUORVEX7" --clipboard --region 401x301+2959+699 || fail "--clipboard failed"
pasted_is png "$work/both.png" 401x301+2959+699 || fail "the clipboard does not hold the grab: $(identify "$work/clip.png" 2>&1)"
keeper_yields

# The pointer: in the grab with --pointer. (A headless sway draws it in software, into every screen
# copy: there a grab without --pointer carries it too, as the README says.)
pointer 600 400
"$QUORVEX7" --grab "$work/with.png" --region 128x128+560+360 --pointer || fail "--pointer failed"
convert "$work/both.png" -crop 128x128+560+360 +repage "$work/bare.png"
changed=$(compare -metric AE "$work/with.png" "$work/bare.png" null: 2>&1)
[ "$changed" -gt 20 ] || fail "--pointer drew $changed pixels"

# The second output at scale 1.5 (1920x1200 pixels, in the picture at 2): a region there is that part
# of the desktop's grab, and the output by its name is its own pixels, as grim reads them.
swaymsg "output HEADLESS-2 mode 1920x1200 scale 1.5" >/dev/null
settled() { # two shots of the output alike: the background is drawn again at the new scale
    grim -o HEADLESS-2 "$work/now.png" && [ "$(identify -format %w "$work/now.png")" = 1920 ] \
        && same_pixels "$work/now.png" "$work/own.png"
    local alike=$?
    mv "$work/now.png" "$work/own.png"
    return $alike
}
wait_for 100 0.1 settled || fail "the output at scale 1.5 does not settle"
"$QUORVEX7" --grab "$work/desktop.png" || fail "the grab at scale 1.5 failed"
grab_is "$work/desktop.png" 401x301+2763+101 "$work/part.png" --region 401x301+2763+101
"$QUORVEX7" --grab "$work/output.png" --output HEADLESS-2 && same_pixels "$work/output.png" "$work/own.png" \
    || fail "--output HEADLESS-2 at scale 1.5 is not its own pixels: $(identify "$work/output.png")"
echo "PASS"
