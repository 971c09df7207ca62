#!/usr/bin/env bash
# A user opens Quorvex7 and chooses Grab > Whole Screen with the keyboard; the picture view then
# shows the screen as it was, the pattern's top-left corner at the view's inner corner.
source "$(dirname "$0")/e2e_lib.sh"

set_root_pattern
start_app
grab_whole_screen_and_find_client
# pic1 sits at 16, 40 of the client area inside a 2-pixel edge; the client area lies below the
# menu bar, inside the window.
[ "$((client_x - win_x))" -eq 0 ] || fail "picture at x offset $((client_x + 18 - win_x)), expected 18"
[ "$((client_y - win_y))" -ge 0 ] && [ "$((client_y - win_y))" -le 48 ] \
    || fail "client area $((client_y - win_y)) px below the window's top"
[ "$(title_of_app)" = "Quorvex7" ] || fail "title changed to '$(title_of_app)'"
echo "grab shown at $((client_x + 18 - win_x)), $((client_y + 42 - win_y)) of the window"
