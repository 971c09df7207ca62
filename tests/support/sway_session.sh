# Sourced by the Wayland scripts: start_sway starts a private headless sway (wlroots, with screen
# copy) whose outputs and backgrounds the caller describes, in its own runtime folder, and exports
# WAYLAND_DISPLAY for it; it is stopped by its process id at the end. sway refuses to run as root,
# so there it runs as nobody. Needs $work (e2e_lib.sh).
sway_pid=
stop_sway() {
    [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null
    sway_pid=
}

# start_sway OUTPUT_COUNT CONFIG_LINE...
#   e.g. start_sway 1 "output HEADLESS-1 mode 1280x800 position 0 0 scale 1 bg $work/bg.png center"
start_sway() {
    local count=$1
    shift
    local runtime=$work/sway-runtime
    mkdir -p "$runtime"
    chmod 700 "$runtime"
    printf '%s\n' "default_border none" "$@" >"$work/sway.config"
    chmod 755 "$work"
    chmod -R a+r "$work"
    local as_user=()
    if [ "$(id -u)" -eq 0 ]; then
        chown nobody "$runtime"
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    unset DISPLAY WAYLAND_DISPLAY
    env XDG_RUNTIME_DIR="$runtime" HOME="$runtime" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS="$count" \
        WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman "${as_user[@]}" sway -c "$work/sway.config" \
        >"$work/sway.log" 2>&1 &
    sway_pid=$!
    export XDG_RUNTIME_DIR=$runtime
    for _ in $(seq 100); do
        [ -S "$runtime/wayland-1" ] && break
        sleep 0.05
    done
    [ -S "$runtime/wayland-1" ] || fail "sway did not start: $(tail -3 "$work/sway.log")"
    export WAYLAND_DISPLAY=wayland-1 XDG_SESSION_TYPE=wayland
    sleep 0.5 # swaybg draws the backgrounds after the outputs appear
}
