# The user's actions and what the user sees, the same verbs on every display system. Each session gives the
# steps: seat_move X Y, seat_button press|release [right], keys KEY... (xkb names, alt+g holds Alt; in turn, a
# moment between), type_text TEXT and screen_shot FILE (the whole desktop); where it has them, focus_app (the
# main window given the keyboard), dialog_ready, clipboard_clear, still_gone and menu_keys_at_once. The clipboard is
# wl-clipboard's unless the session gives clipboard_read, clipboard_give and keeper_mark.
pointer_rest="1270 790" # the cursor, drawn into the output's pixels on sway, out of the grabs

pointer() { # pointer X Y [press|release [right]]...: to that point, then the buttons in turn
    seat_move "$1" "$2"
    shift 2
    local action
    for action in "$@"; do
        sleep 0.1
        seat_button $action
    done
    sleep 0.1
}
click() { # click X Y [right]
    pointer "$1" "$2" "press${3:+ $3}" "release${3:+ $3}"
    pointer $pointer_rest
}
drag() { # drag X Y DX DY [STEPS [right]]: pressed at X, Y, moved by DX, DY in STEPS (4) steps and released
    local steps=${5:-4} step
    pointer "$1" "$2" "press${6:+ $6}"
    for ((step = 1; step < steps; step++)); do
        pointer $(($1 + step * $3 / steps)) $(($2 + step * $4 / steps))
    done
    pointer $(($1 + $3)) $(($2 + $4)) "release${6:+ $6}"
    pointer $pointer_rest
}

shot() { screen_shot "$work/shot.png" 2>"$work/shot.err" || fail "no screenshot: $(cat "$work/shot.err")"; }
shows_pixel() { # shows_pixel PICTURE X Y: the last shot has that picture's pixel there
    local shown
    shown=$(pixel "$work/shot.png" "$2" "$3") && [ "$shown" = "$(pixel "$@")" ]
}
hides_pixel() { # hides_pixel PICTURE X Y: the last shot has another colour there
    local shown expected
    shown=$(pixel "$work/shot.png" "$2" "$3") && expected=$(pixel "$@") && [ "$shown" != "$expected" ]
}
changed_from() { shot && ! same_pixels "$work/shot.png" "$1"; } # changed_from PICTURE: a new shot differs

menu() { # menu KEY...: the first key (alt+g) opens a menu of the main window, waited for on the screen; the
    # others are then pressed in it
    ! declare -F focus_app >/dev/null || focus_app
    shot && cp "$work/shot.png" "$work/no-menu.png"
    if [ -n "${menu_keys_at_once:-}" ]; then # where a menu closes with the keyboard that opened it
        keys "$@"
        cp "$work/no-menu.png" "$work/menu.png"
        return
    fi
    keys "$1"
    wait_for 50 0.1 changed_from "$work/no-menu.png" || fail "$1 opened no menu"
    cp "$work/shot.png" "$work/menu.png"
    shift
    [ $# = 0 ] || keys "$@"
}
# grab_menu KEY...: a menu's command that makes the program read the screen; where the session counts the
# program's answered grabs (grabs_answered, GNOME's), until its grab is answered, so that no shot of the test's
# asks meanwhile.
grab_menu() {
    local before
    declare -F grabs_answered >/dev/null || {
        menu "$@"
        return
    }
    before=$(grabs_answered)
    menu "$@"
    wait_for 100 0.1 eval '[ "$(grabs_answered)" -gt '"$before"' ]' || fail "the grab after $* was not answered"
}
settled() { # settled A B: two shots alike but for a blinking text cursor (a few dozen pixels)
    cmp -s "$1" "$2" || [ "$(compare -metric AE "$1" "$2" null: 2>&1)" -lt 200 ] 2>/dev/null
}
dialog_shown() { # dialog_shown [save]: a dialog opened from a menu: drawn (settled in two shots in a row), the
    # screen neither as with the menu nor as without it; ready (with the keyboard) where the session tells
    cp "$work/shot.png" "$work/previous.png"
    shot && settled "$work/shot.png" "$work/previous.png" && ! same_pixels "$work/shot.png" "$work/no-menu.png" \
        && ! same_pixels "$work/shot.png" "$work/menu.png" && { ! declare -F dialog_ready >/dev/null || dialog_ready "$@"; }
}
defined_size_100() { # Grab > Defined Size, the dialog's own 100 x 100: its OK
    menu alt+g d
    wait_for 100 0.2 dialog_shown || fail "no Defined Size dialog"
    keys Tab Tab space
}
# save_as TYPED [FILE]: File > Save As, TYPED into the dialog; FILE (TYPED unless given) must appear. A dialog may
# be drawn before it takes the keys (the main window ignores them meanwhile) and may show them late: the name
# replaces the field's text until the dialog shows a change, then once more, so that the field holds it once.
save_as() {
    local file=${2:-$1} try
    rm -f "$file"
    menu alt+f Return # File opens with Save As active
    wait_for 50 0.2 dialog_shown save || fail "no Save As dialog"
    cp "$work/shot.png" "$work/dialog.png"
    for try in 1 2 3 4 5; do
        keys ctrl+a
        type_text "$1"
        wait_for 10 0.2 changed_from "$work/dialog.png" && break
    done
    keys ctrl+a
    type_text "$1"
    keys Return
    wait_for 100 0.2 test -s "$file" || fail "Save As wrote no $file: $(tail -3 "$work/app.log")"
}

# The frame of Grab > Select Area and Defined Size: 186 x 166 at OX, OY, its strip at 40, 8, its "x" 17 from the
# right; its inside 13, 21 from its corner.
frame_at() { # frame_at PICTURE OX OY: the frame is shown there over PICTURE
    shot
    shows_pixel "$1" $(($2 - 1)) $(($3 + 50)) && shows_pixel "$1" $(($2 + 50)) $(($3 - 1)) \
        && hides_pixel "$1" "$2" $(($3 + 50)) && hides_pixel "$1" $(($2 + 50)) "$3" \
        && hides_pixel "$1" $(($2 + 40)) $(($3 + 8)) && shows_pixel "$1" $(($2 + 186)) $(($3 + 50)) \
        && hides_pixel "$1" $(($2 + 185)) $(($3 + 50))
}
frame_gone() { # frame_gone OX OY W [PICTURE]: no frame W wide there (nor a still), PICTURE (bg1.png) shows
    { ! declare -F still_gone >/dev/null || still_gone; } && shot \
        && convert "$work/shot.png" -crop "$3x166+$1+$2" +repage "$work/part.png" \
        && is_part "$work/part.png" "${4:-$work/bg1.png}" "$3x166+$1+$2"
}
close_frame() { # close_frame OX OY W [PICTURE]: the "x" of the frame W wide closes it
    click $(($1 + $3 - 17)) $(($2 + 11))
    wait_for 50 0.1 frame_gone "$@" || fail "the x left the frame at $1,$2 open"
}
select_area() { # select_area [PICTURE [SCALE]]: Grab > Select Area, until its frame shows centred on PICTURE
    local picture=${1:-$work/bg1.png} scale=${2:-1}
    grab_menu alt+g s
    if [ "$scale" = 1 ]; then
        wait_for 50 0.2 frame_at "$picture" 547 317 || fail "no frame at 547,317"
    else # its strip, in the shot's pixels
        wait_for 50 0.2 eval 'shot && hides_pixel "$picture" $((587 * scale)) $((325 * scale))' || fail "no frame at 547,317"
    fi
}

clipboard_read() { # clipboard_read png|bmp|text: the clipboard's image of that type, or its text
    if [ "$1" = text ]; then
        timeout 5 wl-paste --no-newline
    else
        timeout 5 wl-paste --no-newline --type "image/$1"
    fi
}
clipboard_give() { printf %s "$1" | wl-copy; } # another program takes the clipboard with that text
keeper_mark() { echo "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR"; } # in the environment of this session's keepers

pasted_is() { # pasted_is TYPE REFERENCE WxH+X+Y: the clipboard's image/TYPE is that part of REFERENCE
    clipboard_read "$1" >"$work/clip.$1" 2>/dev/null && is_part "$work/clip.$1" "$2" "$3"
}
# clipboard_is REFERENCE W H X Y [pointer]: File > Save to Clipboard, by keys (or by the pointer: File, then the
# entry, at their places beside the view at $vx $vy; the entry $clipboard_entry_dy below the view's top, as the
# session's fonts place it), gives that part of REFERENCE as PNG and as BMP. Asked again: a grab may land late.
clipboard_is() {
    local part=$2x$3+$4+$5 try
    for try in 1 2 3 4 5; do
        ! declare -F clipboard_clear >/dev/null || clipboard_clear || fail "cannot clear the clipboard"
        if [ "${6:-}" = pointer ]; then
            shot && cp "$work/shot.png" "$work/no-menu.png"
            click $((vx + 5)) $((vy - 53))
            wait_for 50 0.1 changed_from "$work/no-menu.png" || fail "no File menu"
            click $((vx + 80)) $((vy + clipboard_entry_dy))
        else
            menu alt+f Down Down Return
        fi
        wait_for 20 0.25 pasted_is png "$1" "$part" && break
    done
    wait_for 20 0.25 pasted_is png "$1" "$part" && wait_for 20 0.25 pasted_is bmp "$1" "$part" \
        || fail "the clipboard ($(identify -format '%m %wx%h ' "$work/clip.png" "$work/clip.bmp" 2>&1)) is not $part of $(basename "$1")${6:+ (by the pointer)}"
}
keeper_yields() { # the clipboard's keeper ends once another program takes the clipboard, which then has its text
    clipboard_keeper "$(keeper_mark)" || fail "nothing keeps the clipboard"
    clipboard_give other
    wait_for 100 0.1 gone "$keeper" || fail "the keeper stayed after another program took the clipboard"
    [ "$(clipboard_read text)" = other ] || fail "the other program's text is not on the clipboard"
}
clipboard_outlives_program() { # File > Exit: the clipboard's PNG and BMP stay what they were, from a keeper
    local type
    for type in png bmp; do
        clipboard_read $type >"$work/live.$type" || fail "no image/$type on the clipboard"
    done
    menu alt+f x
    # It ends once the keeper holds the clipboard, which may take the keeper's own time limit (20 s).
    wait_for 250 0.1 gone "$app_pid" || {
        stuck_report "$app_pid" >&2
        fail "the program did not end within 25 s of File > Exit$(! declare -F program_windows >/dev/null \
            || echo " (windows of it shown: $(program_windows))")"
    }
    app_pid=
    for type in png bmp; do
        clipboard_read $type >"$work/after.$type" && cmp -s "$work/after.$type" "$work/live.$type" \
            || fail "after the end the clipboard's image/$type is not what it was"
    done
}
