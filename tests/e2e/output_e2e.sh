#!/usr/bin/env bash
# The grab saved as a JPEG through the save dialog, put on the clipboard and printed on the private PDF printer.
source "$(dirname "$0")/../support/x11_session.sh"

set_root_pattern
start_app
grab_whole_screen_and_find_client

mkdir -p "$work/saved"
save_as "$work/saved/shot" "$work/saved/shot.JPG" # a name without extension gets JPG
[ "$(identify -format '%m %wx%h' "$work/saved/shot.JPG")" = "JPEG $size" ] \
    || fail "saved file is $(identify -format '%m %wx%h' "$work/saved/shot.JPG")"

# Save to Clipboard takes the clipboard from another client's text, once xclip's child has it.
clipboard_give kept
wait_for 100 0.1 eval '[ "$(clipboard_read text 2>/dev/null)" = kept ]' || fail "xclip never took the clipboard"
clipboard_is "$work/pattern.png" "${size%x*}" "${size#*x}" 0 0
targets=$(timeout 10 xclip -selection clipboard -t TARGETS -o 2>&1) && grep -qx image/png <<<"$targets" \
    && ! grep -qx UTF8_STRING <<<"$targets" || fail "the clipboard offers: $targets"

[ -n "${QUORVEX_PDF_OUT:-}" ] && lpstat -d 2>/dev/null | grep -q QuorvexPDF \
    || fail "no private CUPS PDF printer: run under tests/support/run_with_cups.sh"
menu alt+f Down Right Down Return # File > Print > its second entry, page size
pages() { pages=$(pdfinfo "$QUORVEX_PDF_OUT" 2>/dev/null | awk '/^Pages:/ {print $2}') && [ -n "$pages" ]; }
wait_for 150 0.2 pages || fail "no PDF came out of the printer" # the job may still be on its way
[ "$pages" = 1 ] || fail "the print has $pages pages"

# The page, turned upright as CUPS turns landscape, shows the grab the right way round, its aspect
# kept, across the sheet within its even margins.
pdftoppm -r 72 -png -singlefile "$QUORVEX_PDF_OUT" "$work/page" || fail "the PDF does not render"
convert "$work/page.png" -rotate "$(identify -format '%[fx:w<h?90:0]' "$work/page.png")" "$work/page.png"
read -r ink_w ink_h ink_x ink_y sheet_w <<<"$(convert "$work/page.png" -trim -format '%w %h %X %Y %W' info:)"
right=$((sheet_w - ink_x - ink_w))
awk -v w="$ink_w" -v h="$ink_h" -v x="$ink_x" -v y="$ink_y" -v r="$right" -v s="$size" 'BEGIN { split(s, d, "x")
    exit !(x >= 10 && x <= 40 && y >= 10 && y <= 40 && x - r <= 2 && r - x <= 2 && (h - w * d[2] / d[1]) ^ 2 <= 2) }' \
    || fail "the page fit is ${ink_w}x$ink_h at $ink_x,$ink_y on a sheet $sheet_w wide"
convert "$work/page.png" -crop "${ink_w}x$ink_h$ink_x$ink_y" +repage -resize '192x108!' "$work/ink.png"
convert "$work/pattern.png" -resize '192x108!' "$work/small.png"
close_to "$work/ink.png" "$work/small.png" 25 || fail "the print is not the grab the right way round ($psnr dB)"

# After the program's end the clipboard gives the same bytes: from a keeper process until another
# program takes the clipboard or, where a clipboard manager runs (the .wm run starts one), from the
# manager, which the keeper asks to save them (SAVE_TARGETS) and which Qt is then not asked again.
manager_pid=
trap '[ -n "$manager_pid" ] && kill "$manager_pid"; finish' EXIT
if [ -n "${QUORVEX_TEST_WM:-}" ]; then
    "$SAVE_TARGETS_MANAGER" >"$work/manager.log" 2>&1 &
    manager_pid=$!
    wait_for 50 0.1 grep -q ready "$work/manager.log" || fail "the clipboard manager did not start"
fi
clipboard_outlives_program
if [ -n "$manager_pid" ]; then
    [ "$(grep saved "$work/manager.log")" = "saved image/png image/bmp" ] || fail "the manager saved: $(cat "$work/manager.log")"
    wait_for 50 0.1 no_keeper "DISPLAY=$DISPLAY" || fail "the keeper stayed beside the manager"
else
    keeper_yields
fi
echo "saved, copied and printed; the clipboard outlived the program"
