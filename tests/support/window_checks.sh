# Sourced by the GNOME and KDE scripts of the window program, after their session: the program driven through
# the driver's verbs, the screen read by the command line ($program, else $QUORVEX7) against the coordinate
# pattern $work/bg1.png shown full-screen.

start_window_app() { # the window program, natively on Wayland, until its window is on the screen; it runs in
    # $work/saved, where Save As opens. Its window is told from the desktop's pattern, shown first.
    wait_for 60 0.5 eval 'shot && same_pixels "$work/shot.png" "$work/bg1.png"' || fail "the pattern is not shown"
    mkdir -p "$work/saved"
    (cd "$work/saved" && exec env QT_QPA_PLATFORM=wayland "${program:-$QUORVEX7}") >"$work/app.log" 2>&1 &
    app_pid=$!
    wait_for 100 0.2 changed_from "$work/bg1.png" || fail "no window on the screen"
    # A click on its title bar (where it differs clearly from the pattern: no shadow) gives it the keyboard,
    # which a new window may not have at once: until Alt+G opens its menu (closed again by Escape).
    local w h x y try
    IFS='x+' read -r w h x y < <(convert "$work/shot.png" "$work/bg1.png" -compose difference -composite \
        -colorspace gray -threshold 20% -format '%@' info:)
    cp "$work/shot.png" "$work/no-menu.png"
    for try in 1 2 3; do
        click $((x + w / 2)) $((y + 8))
        keys alt+g
        wait_for 20 0.1 changed_from "$work/no-menu.png" && break
    done
    keys Escape Escape
    wait_for 20 0.1 eval 'shot && same_pixels "$work/shot.png" "$work/no-menu.png"' || fail "the window takes no keys"
}

# Save As's dialog is centred on the screen, over the main window (GNOME's may be drawn before it takes the keys:
# the main window's title, greyed, is no sign of it).
dialog_ready() { [ "${1:-}" != save ] || hides_pixel "$work/no-menu.png" 640 400; }

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
# whole_screen_saved N: Grab > Whole Screen, the window back in front showing it, and File > Save As to a BMP
# (its name typed: a path would call up the dialog's completion, which may take the keys), exactly the screen; N
# times, the view flipped before each.
whole_screen_saved() {
    local run
    for run in $(seq "$1"); do
        [ "$run" = 1 ] || flip_view
        grab_menu alt+g w
        wait_for 40 0.25 view_shows_grab || fail "run $run: after Whole Screen the window does not show the grab"
        save_as "$run.bmp" "$work/saved/$run.bmp"
        same_pixels "$work/saved/$run.bmp" "$work/bg1.png" || fail "run $run: the saved grab is not the screen"
    done
}
# view_is REFERENCE W H X Y: the picture view shows that part of REFERENCE, a selection's grab (which takes the
# view's 2-pixel border away: the picture 2 pixels above and left of a whole-screen grab's at $vx $vy)
view_is() {
    shot && convert "$work/shot.png" -crop "$2x$3+$((vx - 2))+$((vy - 2))" +repage "$work/view.png" \
        && is_part "$work/view.png" "$1" "$2x$3+$4+$5"
}
