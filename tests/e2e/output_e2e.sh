#!/usr/bin/env bash
# The grab saved as a JPEG through the save dialog, put on the clipboard and printed on the private PDF printer.
source "$(dirname "$0")/e2e_lib.sh"

set_root_pattern
start_app
grab_whole_screen_and_find_client

mkdir -p "$work/saved"
save_as "$work/saved/shot" "$work/saved/shot.JPG" # a name without extension gets JPG
[ "$(identify -format '%m %wx%h' "$work/saved/shot.JPG")" = "JPEG $size" ] \
    || fail "saved file is $(identify -format '%m %wx%h' "$work/saved/shot.JPG")"

menu_keys alt+f Down Down Return # Save to Clipboard
xclip -selection clipboard -t image/png -o >"$work/clip.png" 2>/dev/null || fail "nothing on the clipboard"
[ "$(identify -format '%wx%h' "$work/clip.png")" = "$size" ] || fail "clipboard image is not $size"
"$E2E_PROBE" patch "$work/clip.png" 0 0 0 0 256 || fail "clipboard image is not the grab"

[ -n "${QUORVEX_PDF_OUT:-}" ] && lpstat -d 2>/dev/null | grep -q QuorvexPDF \
    || fail "no private CUPS PDF printer: run under tests/support/run_with_cups.sh"
menu_keys alt+f Down Right Down Return # File > Print > its second entry, page size
pages() { pages=$(pdfinfo "$QUORVEX_PDF_OUT" 2>/dev/null | awk '/^Pages:/ {print $2}') && [ -n "$pages" ]; }
wait_for 150 0.2 pages || fail "no PDF came out of the printer" # the job may still be on its way
[ "$pages" = 1 ] || fail "the print has $pages pages"
echo "saved, copied and printed"
