#!/usr/bin/env bash
# A user grabs the screen, then from the File menu saves it as a JPEG through the save dialog,
# puts it on the clipboard (another program reads it back) and prints it at its own size on the
# default printer (a private CUPS PDF printer).
source "$(dirname "$0")/e2e_lib.sh"

set_root_pattern
size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
start_app
grab_whole_screen_and_find_client

# Save As: the dialog takes a typed name; a name without extension gets JPG.
mkdir -p "$work/saved"
menu_keys alt+f Return # File opens with "Save As" active
sleep 1
xdotool type --delay 20 "$work/saved/shot"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/saved/shot.JPG" ] && break; sleep 0.1; done
[ -s "$work/saved/shot.JPG" ] || fail "Save As wrote no $work/saved/shot.JPG"
[ "$(identify -format '%m %wx%h' "$work/saved/shot.JPG")" = "JPEG $size" ] \
    || fail "saved file is $(identify -format '%m %wx%h' "$work/saved/shot.JPG")"

# Save to Clipboard: third entry of the File menu.
menu_keys alt+f Down Down Return
xclip -selection clipboard -t image/png -o >"$work/clip.png" 2>/dev/null || fail "nothing on the clipboard"
[ "$(identify -format '%wx%h' "$work/clip.png")" = "$size" ] || fail "clipboard image is not $size"
"$E2E_PROBE" patch "$work/clip.png" 0 0 0 0 256 || fail "clipboard image is not the grab"

# Print (page size): File > Print > second entry, on the private CUPS PDF printer.
[ -n "${QUORVEX_PDF_OUT:-}" ] && lpstat -d 2>/dev/null | grep -q QuorvexPDF \
    || fail "no private CUPS PDF printer: run under tests/support/run_with_cups.sh"
menu_keys alt+f Down Right Down Return
pages=
for _ in $(seq 150); do # the job may still be on its way or being written
    pages=$(pdfinfo "$QUORVEX_PDF_OUT" 2>/dev/null | awk '/^Pages:/ {print $2}')
    [ -n "$pages" ] && break
    sleep 0.2
done
[ -n "$pages" ] || fail "no PDF came out of the printer"
[ "$pages" = 1 ] || fail "the print has $pages pages"
echo "saved, copied and printed"
