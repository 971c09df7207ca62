# Sourced by the command-line scripts: the grab's checks, with $program (else $QUORVEX7).

run_program() { "${program:-$QUORVEX7}" "$@"; }

grab_is() { # grab_is REFERENCE WxH+X+Y FILE ARGS...: the grab of FILE is exactly that part of REFERENCE
    local reference=$1 part=$2 file=$3
    shift 3
    run_program --grab "$file" "$@" 2>"$work/err" && is_part "$file" "$reference" "$part" \
        || fail "--grab $file $* is not $part of $(basename "$reference"): $(cat "$work/err")"
}

fails_with() { # fails_with TEXT ARGS...: the grab fails with TEXT on one line of stderr, writes nothing
    local text=$1
    shift
    rm -f "$work/err" "$work/none.png"
    run_program --grab "$work/none.png" "$@" 2>"$work/err" && fail "grabbed with $*"
    [ "$(wc -l <"$work/err")" = 1 ] && grep -qF "$text" "$work/err" || fail "$*: $(cat "$work/err")"
    [ ! -e "$work/none.png" ] || fail "$* wrote a file"
}

shows_pattern() { run_program --grab "$work/shown.png" "$@" 2>"$work/err" && same_pixels "$work/shown.png" "$work/bg1.png"; }

# exact_grabs ARGS...: whole screen, a region, PNG, JPEG and standard output, each as the screen shows.
exact_grabs() {
    grab_is "$work/bg1.png" 1280x800+0+0 "$work/whole.png" "$@"
    grab_is "$work/bg1.png" 300x200+900+550 "$work/part.png" --region 300x200+900+550 "$@"
    run_program --grab - --region 301x201+11+13 "$@" >"$work/out.png" \
        && is_part "$work/out.png" "$work/bg1.png" 301x201+11+13 || fail "standard output with $*"
    run_program --grab "$work/whole.jpg" "$@" && close_to "$work/whole.jpg" "$work/bg1.png" 30 \
        || fail "the JPEG with $* is not the screen (${psnr:-none} dB)"
}

# user_file_survives_grabs N ARGS...: N grabs leave the pictures folder as it was, the user's own file in it.
user_file_survives_grabs() {
    local count=$1 before after
    shift
    before=$(cd "$HOME/Pictures" && ls -A && md5sum -- *)
    for _ in $(seq "$count"); do
        run_program --grab - "$@" >/dev/null 2>>"$work/err" || fail "a grab ${*:+with $* }failed: $(cat "$work/err")"
    done
    after=$(cd "$HOME/Pictures" && ls -A && md5sum -- *)
    [ "$before" = "$after" ] || fail "$count grabs ${*:+with $* }changed the pictures folder: $(ls -A "$HOME/Pictures")"
}

# quorvex7 --select ARGS, started as $app_pid (its standard output in $work/out) until selection_shown: by default
# the desktop shows the pattern dimmed at 100, 100; ended, also until selection_gone where the script has it.
start_select() {
    "${program:-$QUORVEX7}" --select "$@" >"$work/out" 2>"$work/err" & # its own pid, not a subshell's
    app_pid=$!
    wait_for 400 0.05 selection_shown || fail "no selection over the desktop: $(cat "$work/err")"
}
selection_shown() { selection_dimmed; }
selection_dimmed() {
    run_program --grab "$work/dot.png" --region 1x1+100+100 2>/dev/null \
        && [ "$(pixel "$work/dot.png" 0 0)" = "$(half "$(pixel "$work/bg1.png" 100 100)")" ]
}
end_select() { # end_select STATUS: quorvex7 --select ended with that status
    wait "$app_pid"
    local status=$?
    app_pid=
    [ "$status" = "$1" ] || fail "--select ended with $status, not $1: $(cat "$work/err")"
    ! declare -F selection_gone >/dev/null || selection_gone || fail "the selection stays on the screen"
}
cancelled() { # cancelled HOW: the selection ended by HOW with its one line, nothing written
    end_select 1
    [ "$(cat "$work/err")" = "quorvex7: selection cancelled" ] && [ ! -e "$work/cancelled.png" ] || fail "$1: $(cat "$work/err")"
}

one_output_grabbed() { # the session's one 1280x800 output is listed, and grabbed by its name
    local name
    name=$(run_program --list-outputs | cut -d' ' -f1)
    [ "$(run_program --list-outputs)" = "$name 1280x800+0+0 scale 1 pixels 1280x800+0+0" ] \
        || fail "--list-outputs: $(run_program --list-outputs)"
    grab_is "$work/bg1.png" 1280x800+0+0 "$work/output.png" --output "$name"
}
