# Sourced by the GNOME and KDE scripts of the window program, after their session: the program driven as a
# user would, through the session's keys NAME..., type_text, pointer, click and drag, and the screen read
# by the command line ($program) against the coordinate pattern $work/bg1.png shown full-screen.

# menu KEY...: the first key (alt+g) opens a menu of the main window, which is waited for on the screen; the
# others are then pressed in it.
menu() {
    shot && cp "$work/shot.png" "$work/no-menu.png"
    keys "$1"
    wait_for 50 0.1 eval 'shot && ! same_pixels "$work/shot.png" "$work/no-menu.png"' || fail "$1 opened no menu"
    cp "$work/shot.png" "$work/menu.png"
    shift
    keys "$@"
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
shot() { "$program" --grab "$work/shot.png" 2>"$work/shot.err" || fail "no screenshot: $(cat "$work/shot.err")"; }
shows_pixel() { # shows_pixel PICTURE X Y: the last shot has that picture's pixel there
    [ "$(convert "$work/shot.png" -crop "1x1+$2+$3" -format '%[hex:u.p]' info:)" \
        = "$(convert "$1" -crop "1x1+$2+$3" -format '%[hex:u.p]' info:)" ]
}

start_window_app() { # the window program, natively on Wayland, until its window is on the screen; it runs in
    # $work/saved, where Save As opens. Its window is told from the desktop's pattern, shown first.
    wait_for 60 0.5 eval 'shot && same_pixels "$work/shot.png" "$work/bg1.png"' || fail "the pattern is not shown"
    mkdir -p "$work/saved"
    (cd "$work/saved" && exec env QT_QPA_PLATFORM=wayland "$program") >"$work/app.log" 2>&1 &
    app_pid=$!
    wait_for 100 0.2 eval 'shot && ! same_pixels "$work/shot.png" "$work/bg1.png"' || fail "no window on the screen"
    # A click on its title bar (where it differs clearly from the pattern: no shadow) gives it the keyboard,
    # which a new window may not have at once: until Alt+G opens its menu (closed again by Escape).
    local w h x y try
    IFS='x+' read -r w h x y < <(convert "$work/shot.png" "$work/bg1.png" -compose difference -composite \
        -colorspace gray -threshold 20% -format '%@' info:)
    cp "$work/shot.png" "$work/no-menu.png"
    for try in 1 2 3; do
        click $((x + w / 2)) $((y + 8))
        keys alt+g
        wait_for 20 0.1 eval 'shot && ! same_pixels "$work/shot.png" "$work/no-menu.png"' && break
    done
    keys Escape Escape
    wait_for 20 0.1 eval 'shot && same_pixels "$work/shot.png" "$work/no-menu.png"' || fail "the window takes no keys"
}

# The picture view shows a whole-screen grab from its corner: where, in $vx $vy; the window is then on the screen,
# in front of the pattern's window.
view_shows_grab() {
    local found
    shot && found=$("$E2E_PROBE" find "$work/shot.png" 1 1 1279 799) && read -r vx vy <<<"$found"
}
flip_view() { # Image > Mirror/Flip > Vertical: the window shows no grab as it was
    menu alt+i Down Down Right Return
    wait_for 20 0.25 eval '! view_shows_grab && ! same_pixels "$work/shot.png" "$work/bg1.png"' \
        || fail "the view was not flipped"
}
# whole_screen_saved N: Grab > Whole Screen, the window back in front showing it, and File > Save As to a BMP,
# exactly the screen; N times, the view flipped before each.
whole_screen_saved() {
    local run
    for run in $(seq "$1"); do
        [ "$run" = 1 ] || flip_view
        grab_menu alt+g w
        wait_for 40 0.25 view_shows_grab || fail "run $run: after Whole Screen the window does not show the grab"
        save_as_bmp "$run.bmp"
        same_pixels "$work/saved/$run.bmp" "$work/bg1.png" || fail "run $run: the saved grab is not the screen"
    done
}
# The middle of the screen covered, the same in two shots in a row: a dialog up and drawn, ready for keys.
dialog_ready() {
    cp "$work/shot.png" "$work/previous.png"
    shot && ! shows_pixel "$work/before.png" 640 400 && same_pixels "$work/shot.png" "$work/previous.png"
}
save_as_bmp() { # save_as_bmp NAME: File > Save As, the name typed into the dialog (a path would call up its
    shot && cp "$work/shot.png" "$work/before.png" # completion, which may take the keys)
    menu alt+f Return
    wait_for 50 0.2 dialog_ready || fail "no Save As dialog"
    # GNOME's dialog (another program's) may be drawn a moment before it takes the keys: typed until it shows
    # the name (the keys meanwhile go to the main window, which ignores them).
    cp "$work/shot.png" "$work/dialog.png"
    local try
    for try in 1 2 3; do
        type_text "$1"
        wait_for 10 0.2 eval 'shot && ! same_pixels "$work/shot.png" "$work/dialog.png"' && break
    done
    keys Return
    wait_for 50 0.2 test -s "$work/saved/$1" || fail "Save As wrote no $1: $(cat "$work/app.log")"
}

# clipboard_is REFERENCE W H X Y [pointer]: File > Save to Clipboard, by keys (or by the pointer: File, then the
# entry, at their places beside the view at $vx $vy; the entry $clipboard_entry_dy below the view's top, as the
# session's fonts place it), gives that part of REFERENCE as PNG and as BMP.
pasted_is() { # pasted_is TYPE REFERENCE WxH+X+Y: the clipboard's image/TYPE is that part of REFERENCE
    timeout 5 wl-paste --no-newline --type "image/$1" >"$work/clip.$1" 2>/dev/null && is_part "$work/clip.$1" "$2" "$3"
}
clipboard_is() {
    local type
    if [ "${6:-}" = pointer ]; then
        shot && cp "$work/shot.png" "$work/no-menu.png"
        click $((vx + 5)) $((vy - 53))
        wait_for 50 0.1 eval 'shot && ! same_pixels "$work/shot.png" "$work/no-menu.png"' || fail "no File menu"
        click $((vx + 80)) $((vy + clipboard_entry_dy))
    else
        menu alt+f Down Down Return
    fi
    for type in png bmp; do
        wait_for 25 0.2 pasted_is "$type" "$1" "$2x$3+$4+$5" \
            || fail "the clipboard's image/$type ($(identify -format %wx%h "$work/clip.$type" 2>&1)) is not $2x$3+$4+$5 of $(basename "$1")${6:+ (by the pointer)}"
    done
}

frame_at() { # frame_at PICTURE OX OY: the 186 x 166 frame (its strip at 40, 8) is shown there on PICTURE
    shot
    shows_pixel "$1" $(($2 - 1)) $(($3 + 50)) && shows_pixel "$1" $(($2 + 50)) $(($3 - 1)) \
        && ! shows_pixel "$1" "$2" $(($3 + 50)) && ! shows_pixel "$1" $(($2 + 50)) "$3" \
        && ! shows_pixel "$1" $(($2 + 40)) $(($3 + 8)) && shows_pixel "$1" $(($2 + 186)) $(($3 + 50)) \
        && ! shows_pixel "$1" $(($2 + 185)) $(($3 + 50))
}
frame_gone() { # frame_gone OX OY W: no frame W wide there, the pattern shows
    shot && convert "$work/shot.png" -crop "$3x166+$1+$2" +repage "$work/part.png" \
        && is_part "$work/part.png" "$work/bg1.png" "$3x166+$1+$2"
}
select_area() { grab_menu alt+g s && wait_for 50 0.2 frame_at "$work/bg1.png" 547 317 || fail "no frame at 547,317"; }
defined_size_100() { # Grab > Defined Size, the dialog's own 100 x 100: its OK
    menu alt+g d # the dialog where the desktop puts it: the screen neither as with the menu nor as without it
    wait_for 50 0.2 eval 'shot && ! same_pixels "$work/shot.png" "$work/menu.png" \
        && ! same_pixels "$work/shot.png" "$work/no-menu.png"' || fail "no Defined Size dialog"
    keys Tab Tab space
}
# view_is REFERENCE W H X Y: the picture view shows that part of REFERENCE, a selection's grab (which takes the
# view's 2-pixel border away: the picture 2 pixels above and left of a whole-screen grab's at $vx $vy)
view_is() {
    shot && convert "$work/shot.png" -crop "$2x$3+$((vx - 2))+$((vy - 2))" +repage "$work/view.png" \
        && is_part "$work/view.png" "$1" "$2x$3+$4+$5"
}
