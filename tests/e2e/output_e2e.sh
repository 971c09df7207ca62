#!/usr/bin/env bash
# A user grabs the screen, then from the File menu saves it as a JPEG through the save dialog,
# puts it on the clipboard (another program reads it back) and prints it fitted to the page on the
# default printer (the CUPS PDF printer that scripts/test sets up).
source "$(dirname "$0")/e2e_lib.sh"

set_root_pattern
size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
start_app
grab_whole_screen_and_find_client

file_menu() { # opens File with "Save As" active, then presses the given keys
    focus_app
    xdotool key --clearmodifiers alt+f
    sleep 0.3
    for k in "$@"; do
        xdotool key "$k"
        sleep 0.3
    done
}

# Save As: the dialog takes a typed name; a name without extension gets JPG.
mkdir -p "$work/saved"
file_menu Return
sleep 1
xdotool type --delay 20 "$work/saved/shot"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/saved/shot.JPG" ] && break; sleep 0.1; done
[ -s "$work/saved/shot.JPG" ] || fail "Save As wrote no $work/saved/shot.JPG"
[ "$(identify -format '%m %wx%h' "$work/saved/shot.JPG")" = "JPEG $size" ] \
    || fail "saved file is $(identify -format '%m %wx%h' "$work/saved/shot.JPG")"

# Save to Clipboard: third entry of the File menu.
file_menu Down Down Return
xclip -selection clipboard -t image/png -o >"$work/clip.png" 2>/dev/null || fail "nothing on the clipboard"
[ "$(identify -format '%wx%h' "$work/clip.png")" = "$size" ] || fail "clipboard image is not $size"
"$E2E_PROBE" patch "$work/clip.png" 0 0 0 0 256 || fail "clipboard image is not the grab"

# Print (page size): File > Print > second entry.
if lpstat -d 2>/dev/null | grep -q 'QuorvexPDF'; then
    pdf_dir=${QUORVEX_PDF_DIR:-$HOME/PDF}
    before=$(ls "$pdf_dir" 2>/dev/null | wc -l)
    file_menu Down Right Down Return
    for _ in $(seq 100); do [ "$(ls "$pdf_dir" 2>/dev/null | wc -l)" -gt "$before" ] && break; sleep 0.2; done
    newest=$(ls -t "$pdf_dir"/*.pdf 2>/dev/null | head -n 1)
    [ -n "$newest" ] && [ "$(ls "$pdf_dir" | wc -l)" -gt "$before" ] || fail "no PDF came out of the printer"
    pages=
    for _ in $(seq 50); do # cups-pdf may still be writing it
        pages=$(pdfinfo "$newest" 2>/dev/null | awk '/^Pages:/ {print $2}')
        [ -n "$pages" ] && break
        sleep 0.2
    done
    rm -f "$newest"
    [ "$pages" = 1 ] || fail "the print has $pages pages"
    echo "saved, copied and printed"
else
    echo "saved and copied (no CUPS PDF printer here: scripts/test starts one)"
fi
