#!/usr/bin/env bash
# SIGTERM, SIGINT or SIGHUP mid-save (held by strace), either temporary file: the old file stays, nothing is left.
source "$(dirname "$0")/e2e_lib.sh"

target="$work/saved/shot.bmp"
mkdir -p "$work/saved"
traced_grab() { # traced_grab STRACE_OPTIONS...: the program's pid lands in $work/pid
    strace -f -o "$work/trace" "$@" sh -c 'echo $$ >"$0"; exec "$1" --grab "$2"' "$work/pid" "$QUORVEX7" "$target"
}
printf old >"$target"
traced_grab -e trace=openat # which of its openat calls asks for an unnamed file
unnamed_open=$(grep 'openat(' "$work/trace" | grep -n O_TMPFILE | cut -d: -f1)
[ -n "$unnamed_open" ] || fail "the save asked for no unnamed temporary file"

temporary_file_shown() { # unnamed|named: the traced save holds that temporary file; sets the caller's $pid
    pid=$(cat "$work/pid" 2>/dev/null)
    [ -n "$pid" ] || return 1
    case $1 in
    unnamed) ls -l "/proc/$pid/fd" 2>/dev/null | grep -q "$work/saved/#.*(deleted)" ;;
    named) ls "$work/saved"/.quorvex7-save-* >/dev/null 2>&1 ;;
    esac
}

interrupt_save() { # signal what evidence-of-the-save [strace options...]
    local signal=$1 what=$2
    shift 2
    printf old >"$target"
    rm -f "$work/pid"
    traced_grab -e inject=utimensat:delay_enter=5000000 "$@" & # copying the old file's times held 5 s
    local tracer=$! pid=
    wait_for 100 0.05 temporary_file_shown "$what" || fail "$signal, $what: no $what temporary file mid-save"
    kill "-$signal" "$pid"
    wait "$tracer" 2>/dev/null
    [ "$(cat "$target")" = old ] || fail "$signal, $what: the old file changed"
    [ "$(ls -A "$work/saved")" = shot.bmp ] || fail "$signal, $what: left behind: $(ls -A "$work/saved")"
}
for signal in TERM INT HUP; do
    interrupt_save "$signal" unnamed
    interrupt_save "$signal" named -e inject=openat:error=EOPNOTSUPP:when="$unnamed_open"
done
