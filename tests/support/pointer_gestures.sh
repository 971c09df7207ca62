# The pointer's gestures on a private Wayland session, over the session's own two steps:
# seat_move X Y (the pointer to that point of the desktop) and seat_button press|release.
pointer() { # pointer X Y [press|release]...: to that point, then the buttons in turn
    seat_move "$1" "$2"
    shift 2
    local action
    for action in "$@"; do
        sleep 0.1
        seat_button "$action"
    done
    sleep 0.1
}
click() { # click X Y
    pointer "$1" "$2" press release
    pointer 1270 790 # the cursor, drawn into the output's pixels on sway, out of the grabs
}
drag() { # drag X Y DX DY: pressed at X, Y, moved by DX, DY in four steps and released
    pointer "$1" "$2" press
    local step
    for step in 1 2 3; do
        pointer $(($1 + step * $3 / 4)) $(($2 + step * $4 / 4))
    done
    pointer $(($1 + $3)) $(($2 + $4)) release
    pointer 1270 790
}
