#!/usr/bin/env bash
# quorvex7 --grab as a script uses it: the screen's pixels, one line per failure, no window, other depths.
source "$(dirname "$0")/../support/x11_session.sh"

set_root_pattern

expect_failure() { # what command...: a non-zero status and one line on stderr
    local what=$1
    shift
    "$@" >"$work/out" 2>"$work/err" && fail "$what: exit status 0"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$what: stderr is not one line: $(cat "$work/err")"
}

"$QUORVEX7" --grab "$work/whole.jpg" || fail "--grab whole.jpg failed"
[ "$(identify -format '%m %wx%h' "$work/whole.jpg")" = "JPEG $size" ] || fail "whole.jpg is not a $size JPEG"
close_to "$work/whole.jpg" "$work/pattern.png" 36 || fail "whole.jpg is not the screen ($psnr dB)" # 36.16; a pixel off, 30

# quorvex7 starts with no Qt and no D-Bus library, and an X11 grab loads only what it needs: never Qt
# nor the D-Bus library (the bus's services are a module of their own), Wayland's libraries only on
# Wayland, libjpeg only for JPEG, ISA-L only for PNG.
loaded() { LD_DEBUG=files "$QUORVEX7" "$@" 2>&1 >/dev/null | grep -o 'file=[^ ]*' | sort -u | tr '\n' ' '; }
start_loads=$(loaded --version)
grep -q 'libc\.so' <<<"$start_loads" && ! grep -qE 'lib(Qt6|dbus-1)' <<<"$start_loads" \
    || fail "quorvex7 loaded $start_loads at start"
jpeg_loads=$(loaded --grab "$work/loads.jpg") png_loads=$(loaded --grab "$work/loads.png")
grep -q libjpeg <<<"$jpeg_loads" && ! grep -qE 'lib(Qt6|dbus-1|wayland|isal)' <<<"$jpeg_loads" \
    || fail "a JPEG grab on X11 loaded $jpeg_loads"
grep -q libisal <<<"$png_loads" && ! grep -qE 'lib(Qt6|dbus-1|wayland|jpeg)' <<<"$png_loads" \
    || fail "a PNG grab on X11 loaded $png_loads"

# A large screen's JPEG and PNG are encoded in two parts at once (in a second Xvfb), joined into the
# screen's picture.
XVFB_SCREEN=2560x1600x24 "$(dirname "$0")/../support/run_in_xvfb.sh" bash -c '"$1" pattern 2560 1600 "$2/big.png" \
    && { display -window root "$2/big.png" >/dev/null 2>&1; "$3" --grab "$2/big.jpg" && "$3" --grab "$2/big-grab.png"; }' \
    _ "$E2E_PROBE" "$work" "$QUORVEX7" || fail "--grab big.jpg or big-grab.png on a 2560x1600 screen failed"
close_to "$work/big.jpg" "$work/big.png" 36 || fail "big.jpg is not the 2560x1600 screen ($psnr dB)"
same_pixels "$work/big-grab.png" "$work/big.png" || fail "big-grab.png is not the 2560x1600 screen"

# Without the shared-memory extension (a remote display) the bands come in the requests' replies.
XVFB_SCREEN=640x480x24 XVFB_NO_SHM=1 "$(dirname "$0")/../support/run_in_xvfb.sh" bash -c '"$1" pattern 640 480 "$2/small.png" \
    && { display -window root "$2/small.png" >/dev/null 2>&1; "$3" --grab "$2/no-shm.png"; }' _ "$E2E_PROBE" "$work" "$QUORVEX7" \
    && same_pixels "$work/no-shm.png" "$work/small.png" || fail "a grab without shared memory is not the screen"

# BMP and PNG are lossless: the files and the piped bytes hold the screen's own pixels.
"$QUORVEX7" --grab "$work/part.BMP" --region 300x200+64+32 --delay 0.2 || fail "--grab part.BMP failed"
"$QUORVEX7" --grab "$work/part.png" --region 300x200+64+32 || fail "--grab part.png failed"
"$QUORVEX7" --grab - --region 300x200+64+32 | cat >"$work/piped.png"
[ "${PIPESTATUS[0]}" = 0 ] || fail "--grab - failed"
# A pipe or a device named as the file is written into once the picture is whole: /dev/stdout in a
# pipeline, a named pipe (PNG where the name does not decide), /dev/null (which stays a device).
"$QUORVEX7" --grab /dev/stdout --region 300x200+64+32 | cat >"$work/dev-stdout.png"
[ "${PIPESTATUS[0]}" = 0 ] || fail "--grab /dev/stdout failed"
mkfifo "$work/pipe"
timeout 60 cat "$work/pipe" >"$work/from-pipe.bmp" &
reader=$!
"$QUORVEX7" --grab "$work/pipe" --format bmp --region 300x200+64+32 || { : >"$work/pipe"; fail "--grab PIPE failed"; }
wait "$reader" || fail "the named pipe's reader failed"
"$QUORVEX7" --grab /dev/null --region 8x8+0+0 && [ -c /dev/null ] || fail "--grab /dev/null failed"
for file in part.BMP:BMP3 part.png:PNG piped.png:PNG dev-stdout.png:PNG from-pipe.bmp:BMP3; do
    name=${file%:*} format=${file#*:}
    [ "$(identify -format '%m %wx%h' "$work/$name")" = "$format 300x200" ] || fail "$name is not a 300x200 $format"
    is_part "$work/$name" "$work/pattern.png" 300x200+64+32 || fail "$name does not hold the region's pixels"
done
"$QUORVEX7" --grab "$work/corner.png" --region 300x200-0-0 \
    && is_part "$work/corner.png" "$work/pattern.png" "300x200+$((${size%x*} - 300))+$((${size#*x} - 200))" \
    || fail "--region 300x200-0-0 is not the bottom-right corner"

# Watch the screen while a grab waits and reads it: no window may appear, not even for a moment.
started=$(date +%s%N)
"$QUORVEX7" --grab "$work/late.jpg" --delay 1.5 &
app_pid=$!
while kill -0 "$app_pid" 2>/dev/null; do
    xdotool search --onlyvisible --name . >/dev/null 2>&1 && fail "a window appeared during the grab"
    sleep 0.05
done
wait "$app_pid" || fail "--grab late.jpg --delay 1.5 failed"
app_pid=
[ $(($(date +%s%N) - started)) -ge 1500000000 ] || fail "the grab ended before its delay of 1.5 s was over"
[ "$(identify -format '%m' "$work/late.jpg")" = JPEG ] || fail "late.jpg is not a JPEG"

[ "$("$QUORVEX7" --grab - --format bmp --region 8x8+0+0 | head -c 2)" = BM ] || fail "--format bmp to stdout"
[ "$("$QUORVEX7" --grab=- --format JPEG --region 8x8+0+0 | identify -format "%m %wx%h" -)" = "JPEG 8x8" ] \
    || fail "--grab=- --format JPEG to stdout"
"$QUORVEX7" --grab "$work/best.jpg" --quality 100 && [ "$(identify -format '%Q' "$work/best.jpg")" = 100 ] \
    || fail "--quality 100 did not give a quality 100 JPEG"

# Into a folder: a new file named after the moment, never one that is there already.
mkdir "$work/shots"
now=$(date +%s)
for second in 0 1 2 3; do
    echo keep >"$work/shots/Quorvex7 $(date -d "@$((now + second))" '+%Y-%m-%d %H-%M-%S').png"
done
"$QUORVEX7" --grab "$work/shots" --region 300x200+64+32 || fail "--grab FOLDER failed"
new=$(find "$work/shots" -name '* (2).png')
[ -n "$new" ] && [ "$(wc -l <<<"$new")" = 1 ] && is_part "$new" "$work/pattern.png" 300x200+64+32 || fail "no new picture in the folder: $new"
[ "$(cat "$work/shots"/*[0-9].png | sort -u)" = keep ] || fail "a grab into the folder replaced a file"

"$QUORVEX7" --version | grep -q '^quorvex7 ' || fail "--version"

expect_failure "no display" env -u DISPLAY "$QUORVEX7" --grab "$work/a.jpg"
expect_failure "no display for the window" env -u DISPLAY "$QUORVEX7"
expect_failure "wayland" env WAYLAND_DISPLAY=wayland-0 "$QUORVEX7" --grab "$work/a.jpg"
expect_failure "unwritable path" "$QUORVEX7" --grab /nonexistent-folder/a.jpg
printf old >"$work/kept.bmp" && chmod 0444 "$work/kept.bmp"
expect_failure "read-only file" "$QUORVEX7" --grab "$work/kept.bmp"
[ "$(cat "$work/kept.bmp")" = old ] || fail "the read-only file was replaced"
# A size limit fails the write with a message: SIGXFSZ would end the program without one.
expect_failure "file-size limit" bash -c 'ulimit -f 1 && exec "$0" --grab - --format bmp >"$1"' "$QUORVEX7" "$work/big"
expect_failure "region outside" "$QUORVEX7" --grab "$work/a.jpg" --region 100x100+1900+0
expect_failure "unknown ending" "$QUORVEX7" --grab "$work/a.gif"
"$QUORVEX7" --grab "$work/new/deeper/" --region 8x8+0+0 && is_part "$work/new/deeper/"*.png "$work/pattern.png" 8x8+0+0 \
    || fail "a missing folder ending in / was not made for the grab"
expect_failure "a folder under a file" "$QUORVEX7" --grab "$work/whole.jpg/new/"
# Wrong command lines exit 2, the name's own format included.
"$QUORVEX7" --grab "$work/a.png" --quality 50 2>/dev/null; [ $? = 2 ] || fail "--quality with a PNG did not exit 2"
"$QUORVEX7" --grab "$work/a.png" --select --window 2>/dev/null; [ $? = 2 ] || fail "two areas did not exit 2"
expect_failure "bad region" "$QUORVEX7" --grab "$work/a.jpg" --region 100x100 # the options' errors are one line
# What a failure echoes stays on its line; a closed standard output is refused, never written into
# whatever takes its number (the X connection).
expect_failure "a newline in a name" "$QUORVEX7" --grab "$work/a"$'\n'"b.gif"
[ "$(cat "$work/err")" = "quorvex7: '$work/a\\nb.gif': only names ending in PNG, JPG or BMP can be written (or give --format)" ] \
    || fail "a newline in a name: $(cat "$work/err")"
expect_failure "control characters in a source" env QUORVEX7_SCREEN=$'x\r\e[2J\n' "$QUORVEX7" --grab "$work/a.png"
# QUORVEX7_SCREEN is taken as --screen is, for a grab as for the list of outputs.
expect_failure "a wrong source for --list-outputs" env QUORVEX7_SCREEN=bogus "$QUORVEX7" --list-outputs
QUORVEX7_SCREEN=X11 "$QUORVEX7" --grab "$work/upper.png" --region 8x8+0+0 || fail "QUORVEX7_SCREEN=X11 was refused"
expect_failure "a newline in an unknown option" "$QUORVEX7" --$'\n'bogus
# A terminal named as the file gets no picture; a socket is no file to write.
script -qec "'$QUORVEX7' --grab /dev/stdout --region 8x8+0+0" /dev/null >"$work/tty" && fail "a grab into a terminal worked"
grep -q "cannot write '/dev/stdout': it is a terminal" "$work/tty" || fail "a terminal: $(cat "$work/tty")"
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$work/socket"
expect_failure "a socket" "$QUORVEX7" --grab "$work/socket" --format png
[ "$(cat "$work/err")" = "quorvex7: cannot write '$work/socket': it is a socket" ] || fail "a socket: $(cat "$work/err")"
expect_failure "closed standard output" bash -c 'exec "$0" --grab - --region 8x8+0+0 >&-' "$QUORVEX7"
grep -q "standard output is closed" "$work/err" || fail "closed standard output: $(cat "$work/err")"
# What is written for a reader fails where it cannot be read: closed, or on a full device.
for args in --list-outputs "--output screen --print" --version; do
    expect_failure "$args into a closed standard output" bash -c 'exec "$0" $1 >&-' "$QUORVEX7" "$args"
done
expect_failure "--help into a full device" bash -c 'exec "$0" --help >/dev/full' "$QUORVEX7"
"$QUORVEX7" --grab "$work/closed.png" --region 8x8+0+0 >&- <&- || fail "a grab into a file with 0 and 1 closed failed"
is_part "$work/closed.png" "$work/pattern.png" 8x8+0+0 || fail "closed.png is not the screen"
[ ! -e "$work/a.jpg" ] && [ ! -e "$work/a.png" ] && [ ! -e "$work/a.gif" ] || fail "a failed grab left a file"

# A link another user planted in a sticky, world-writable folder is not followed (root's grab must
# not replace root's file through nobody's link); the user's own link and the folder owner's are,
# and so is any link elsewhere.
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$work"
    mkdir -m 1777 "$work/shared"
    printf private >"$work/private.png"
    setpriv --reuid=65534 --regid=65534 --clear-groups ln -s "$work/private.png" "$work/shared/planted.png" \
        || fail "nobody cannot plant a link"
    expect_failure "a planted link" "$QUORVEX7" --grab "$work/shared/planted.png" --region 8x8+0+0
    [ "$(cat "$work/err")" = "quorvex7: cannot write '$work/shared/planted.png': another user's link in a shared folder is not followed" ] \
        || fail "a planted link: $(cat "$work/err")"
    [ "$(cat "$work/private.png")" = private ] && [ -L "$work/shared/planted.png" ] || fail "a planted link was followed"
    ln -s "$work/private.png" "$work/shared/own.png"
    for how in "own link:own.png:1777" "nobody's link in a non-sticky folder:planted.png:0777" \
        "the folder owner's link:planted.png:1777 nobody"; do
        IFS=: read -r what name mode <<<"$how"
        chmod "${mode% *}" "$work/shared"
        [ "${mode#* }" = nobody ] && chown nobody "$work/shared"
        rm -f "$work/private.png"
        "$QUORVEX7" --grab "$work/shared/$name" --region 8x8+0+0 && [ -L "$work/shared/$name" ] \
            && is_part "$work/private.png" "$work/pattern.png" 8x8+0+0 || fail "$what: not followed"
    done
    # A folder the user cannot write into is said at once, before the delay (or a selection).
    mkdir -m 0555 "$work/closed"
    for target in closed/a.png closed/ closed/new/deeper/; do
        status=0
        setpriv --reuid=65534 --regid=65534 --clear-groups timeout 60 "$QUORVEX7" --grab "$work/$target" \
            --delay 600 2>"$work/err" || status=$?
        [ "$status" = 1 ] && grep -q "^quorvex7: cannot write .*'$work/closed.*': Permission denied$" "$work/err" \
            || fail "an unwritable $target: status $status, $(cat "$work/err")"
    done
fi

grab_at_depth() { # grab_at_depth DEPTH FILE...: each grabbed from one screen of that depth showing #ff8000
    XVFB_SCREEN="640x480x$1" "$(dirname "$0")/../support/run_in_xvfb.sh" \
        bash -c 'xsetroot -solid "#ff8000" && for file; do "$0" --grab "$file" || exit; done' "$QUORVEX7" "${@:2}"
}
grab_at_depth 16 "$work/shot.bmp" "$work/shot.jpg" || fail "a grab on a 16-bit screen failed"
colour=$(convert "$work/shot.bmp" -format '%[hex:u.p{320,240}]' info: | cut -c1-6)
[ "$colour" = FF8200 ] || fail "shot.bmp is #$colour, not #FF8200 (16 bits keep 5, 6 and 5 bits of #ff8000)"
near=$(convert "$work/shot.jpg" -format '%[fx:abs(p{320,240}.r-1)+abs(p{320,240}.g-130/255)+p{320,240}.b<0.05]' info:)
[ "$near" = 1 ] || fail "shot.jpg is not the screen's orange"

grab_at_depth 8 "$work/palette.bmp" 2>"$work/err" && fail "a palette screen was grabbed"
[ "$(cat "$work/err")" = "quorvex7: this screen's pixel format (depth 8, PseudoColor) cannot be read" ] \
    || fail "palette screen: $(cat "$work/err")"
[ ! -e "$work/palette.bmp" ] || fail "a refused grab left a file"
# DISPLAY names the screen: ":N.1" is the second of two; a screen the server lacks is one line.
XVFB_SCREEN=640x480x24 XVFB_SCREEN1=320x200x24 XVFB_DISPLAY_SCREEN=1 "$(dirname "$0")/../support/run_in_xvfb.sh" \
    bash -c 'xsetroot -solid "#00ff00" && "$0" --grab "$1" && DISPLAY=${DISPLAY%.*}.9 exec "$0" --grab "$2"' \
    "$QUORVEX7" "$work/screen1.bmp" "$work/screen9.bmp" 2>"$work/err" && fail "a grab of a missing screen worked"
[ "$(identify -format '%wx%h %[hex:u.p{5,5}]' "$work/screen1.bmp")" = "320x200 00FF00" ] \
    || fail "DISPLAY=:N.1 did not grab the second screen"
[ "$(cat "$work/err")" = "quorvex7: the X display has no screen 9 (it has screens 0 to 1)" ] && [ ! -e "$work/screen9.bmp" ] \
    || fail "a missing screen: $(cat "$work/err")"
# The focused window and the pointer on screen 0 are in none of screen 1's grabs.
XVFB_SCREEN=640x480x24 XVFB_SCREEN1=320x200x24 XVFB_DISPLAY_SCREEN=1 "$(dirname "$0")/../support/run_in_xvfb.sh" bash -c '
    screen0=${DISPLAY%.*}.0
    DISPLAY=$screen0 xmessage -geometry 200x100+10+10 -title other x &
    window=$(DISPLAY=$screen0 xdotool search --sync --onlyvisible --name "^other$" | head -1)
    DISPLAY=$screen0 xdotool windowfocus --sync "$window" mousemove 60 60
    "$0" --window --print 2>"$1/err"
    "$0" --grab "$1/with-pointer.png" --pointer && "$0" --grab "$1/without-pointer.png"
    status=$?
    kill $!
    exit $status' "$QUORVEX7" "$work" || fail "grabs of screen 1 failed"
[ "$(cat "$work/err")" = "quorvex7: the focused window is on another screen of the X display" ] \
    || fail "--window on screen 1, the focus on screen 0: $(cat "$work/err")"
same_pixels "$work/with-pointer.png" "$work/without-pointer.png" || fail "screen 0's pointer was drawn on screen 1"
echo "command-line grabs written, failures reported"
