#!/usr/bin/env bash
# SIGTERM, SIGINT or SIGHUP mid-save (held by strace), either temporary file, into a file or a folder:
# the old file stays, nothing is left. Where the file system has no unnamed files (O_TMPFILE refused
# by strace), the named temporary file is the user's alone from the start.
source "$(dirname "$0")/e2e_lib.sh"

saved=$work/saved
target=$saved/shot.bmp
mkdir -p "$saved"
traced_grab() { # traced_grab TARGET STRACE_OPTIONS...: the program's pid lands in $work/pid
    local to=$1
    shift
    strace -f -o "$work/trace" "$@" sh -c 'echo $$ >"$0"; exec "$1" --grab "$2"' "$work/pid" "$QUORVEX7" "$to"
}
printf old >"$target"
traced_grab "$target" -e trace=openat # which of its openat calls asks for an unnamed file
unnamed_open=$(grep 'openat(' "$work/trace" | grep -n O_TMPFILE | cut -d: -f1)
[ -n "$unnamed_open" ] || fail "the save asked for no unnamed temporary file"
no_unnamed_file=(-e inject=openat:error=EOPNOTSUPP:when="$unnamed_open")

temporary_file_shown() { # unnamed|named: the traced save holds that temporary file; sets the caller's $pid
    pid=$(cat "$work/pid" 2>/dev/null)
    [ -n "$pid" ] || return 1
    case $1 in
    unnamed) ls -l "/proc/$pid/fd" 2>/dev/null | grep -q "$saved/#.*(deleted)" ;;
    named) ls "$saved"/.quorvex7-save-* >/dev/null 2>&1 ;;
    esac
}

interrupt_save() { # signal what-evidence-of-the-save into [strace options...]; into: file or folder
    local signal=$1 what=$2 into=$3
    shift 3
    printf old >"$target"
    rm -f "$work/pid"
    # Copying the old file's times is held 5 s; into a folder, the old file is the name it reserved.
    traced_grab "$([ "$into" = file ] && echo "$target" || echo "$saved/")" \
        -e inject=utimensat:delay_enter=5000000 "$@" &
    local tracer=$! pid=
    wait_for 100 0.05 temporary_file_shown "$what" || fail "$signal, $what, $into: no $what temporary file mid-save"
    [ "$into" = file ] || compgen -G "$saved/Quorvex7 *.png" >/dev/null || fail "$signal: no name reserved in the folder"
    kill "-$signal" "$pid"
    wait "$tracer" 2>/dev/null
    [ "$(cat "$target")" = old ] || fail "$signal, $what, $into: the old file changed"
    [ "$(ls -A "$saved")" = shot.bmp ] || fail "$signal, $what, $into: left behind: $(ls -A "$saved")"
}
for signal in TERM INT HUP; do
    interrupt_save "$signal" unnamed file
    interrupt_save "$signal" named file "${no_unnamed_file[@]}"
    interrupt_save "$signal" unnamed folder
done

# A 0600 file replaced through a named temporary file: held before its owner is set, the new file
# is readable by its owner alone, whatever the umask gives new files.
printf old >"$target"
chmod 600 "$target"
rm -f "$work/pid"
(umask 022 && traced_grab "$target" -e inject=fchown:delay_enter=5000000 "${no_unnamed_file[@]}") &
tracer=$!
wait_for 100 0.05 temporary_file_shown named || fail "no named temporary file"
mode=$(stat -c %a "$saved"/.quorvex7-save-*)
kill -TERM "$(cat "$work/pid")"
wait "$tracer" 2>/dev/null
[ "$mode" = 600 ] || fail "the named temporary file of a 0600 file was made $mode"
[ "$(ls -A "$saved")" = shot.bmp ] || fail "left behind: $(ls -A "$saved")"
