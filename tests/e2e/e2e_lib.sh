# Sourced by the end-to-end and install scripts: $work and $app_pid are cleaned up at the end; checks of pictures.
set -u
work=$(mktemp -d)
app_pid=
finish() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "FAIL: $*" >&2
    tail -n 5 "$work/app.log" "$work/portal.log" >&2 2>/dev/null
    [ -f "$work/shot.png" ] && cp "$work/shot.png" "/tmp/e2e-failure-$(basename "$0" .sh)${QUORVEX_TEST_WM:+-wm}.png"
    exit 1
}

stuck_report() { # stuck_report PID: where a process that should have ended waits, each thread's place
    local task
    for task in /proc/"$1"/task/*; do
        echo "thread $(cat "$task/comm" 2>/dev/null) waits in $(cat "$task/wchan" 2>/dev/null)"
    done
    ps -o pid=,stat=,args= --ppid "$1" | sed 's/^/its child /'
    command -v gdb >/dev/null \
        && timeout 60 gdb -p "$1" -batch -ex "thread apply all bt" 2>&1 | grep -E '^(Thread|#)'
}

wait_for() { # wait_for TRIES PAUSE COMMAND...: true as soon as COMMAND is, false after TRIES tries
    local tries=$1 pause=$2
    shift 2
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep "$pause"
    done
    return 1
}

same_pixels() { # same_pixels A B: the two pictures hold exactly the same pixels (at once when the files are alike)
    cmp -s "$1" "$2" || [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}
other_pixels() { # other_pixels A B: both pictures read, of one size, and some pixels differ
    compare -metric AE "$1" "$2" null: 2>/dev/null
    [ $? = 1 ] # 2 when a picture cannot be read or the sizes differ
}

close_to() { # close_to A B DB: the pictures agree to at least DB dB (PSNR), which lands in $psnr
    # compare measures only where they overlap: pictures of two sizes are not close.
    psnr="$(identify -format '%wx%h' "$1") against $(identify -format '%wx%h' "$2")"
    [ "${psnr% against *}" = "${psnr#* against }" ] || return 1
    psnr=$(compare -metric PSNR "$1" "$2" null: 2>&1)
    awk -v p="$psnr" -v least="$3" 'BEGIN { exit !(p == "inf" || p + 0 >= least) }'
}

is_part() { # is_part FILE REFERENCE WxH+X+Y: FILE is exactly that part of REFERENCE
    convert "$2" -crop "$3" +repage "$work/expected.png" && same_pixels "$1" "$work/expected.png"
}

pixel() { # pixel PICTURE X Y: its colour there, or nothing and false
    local colour
    colour=$(convert "$1" -crop "1x1+$2+$3" -alpha off -format '%[hex:u.p]' info: 2>/dev/null) && [ -n "$colour" ] \
        && echo "$colour"
}
half() { printf '%02X%02X%02X' $((0x${1:0:2} >> 1)) $((0x${1:2:2} >> 1)) $((0x${1:4:2} >> 1)); } # each of RRGGBB halved

clipboard_keeper() { # clipboard_keeper NAME=VALUE: sets $keeper to the pid of a clipboard keeper (--keep-clipboard, or what --clipboard left) whose environment has that
    local cmdline
    for cmdline in /proc/[0-9]*/cmdline; do
        tr '\0' ' ' <"$cmdline" 2>/dev/null | grep -q -- '-clipboard ' \
            && tr '\0' '\n' <"${cmdline%cmdline}environ" 2>/dev/null | grep -qxF "$1" \
            && keeper=${cmdline#/proc/} && keeper=${keeper%/cmdline} && return 0
    done
    return 1
}
no_keeper() { ! clipboard_keeper "$1"; }
gone() { [ -n "$1" ] && ! kill -0 "$1" 2>/dev/null; }
all_gone() { # all_gone PID...: none of them runs any more
    local pid
    for pid; do gone "$pid" || return 1; done
}
