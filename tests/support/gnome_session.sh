# Sourced by the GNOME scripts: a private headless GNOME Shell (one 1280x800 virtual monitor) with its own
# runtime folder, home, session and system buses, dconf, pipewire, permission store and desktop portal,
# every process stopped by its pid. The coordinate pattern $work/bg1.png is shown full-screen.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/portal_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/driver.sh"
trap 'stop_gnome; finish' EXIT
GNOME_INPUT="$(dirname "${BASH_SOURCE[0]}")/gnome_input.py"
"$E2E_PROBE" pattern 1280 800 "$work/bg1.png" || fail "cannot write the pattern"

keys_pid=
monitor_pid=
stop_gnome() {
    [ -n "$keys_pid" ] && exec 8>&- && kill "$keys_pid" 2>/dev/null
    [ -n "$monitor_pid" ] && kill "$monitor_pid" 2>/dev/null
    keys_pid= monitor_pid=
    stop_portal
}

shell_started() { grep -q "GNOME Shell started" "$work/portal.log"; }

# start_gnome [x11]: GNOME Shell, its portal, the pattern shown, the driver's keys, screenshots allowed; $HOME
# is a fresh one, its pictures folder empty. With x11, Xwayland beside it as in a user's session, DISPLAY and
# XAUTHORITY set to it.
start_gnome() {
    local x11=--no-x11
    [ "${1:-}" = x11 ] && x11=
    export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
    unset DISPLAY XAUTHORITY WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_PICTURES_DIR
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    mkdir -p "$HOME/Pictures" "$HOME/.config"
    echo "XDG_PICTURES_DIR=\"\$HOME/Pictures\"" >"$HOME/.config/user-dirs.dirs"
    start_bus
    start_bus system # gnome-shell's login-manager code wants a system bus, any one
    export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland
    start_on_bus ca.desrt.dconf /usr/libexec/dconf-service
    # As root it shows a banner over every window; and the overview is not wanted.
    gsettings set org.gnome.desktop.notifications show-banners false
    gsettings set org.gnome.desktop.interface enable-animations false
    # The tests' pointer starts in the top-left corner, which would open the overview.
    gsettings set org.gnome.desktop.interface enable-hot-corners false
    # A blinking text cursor would change the screen by itself: the tests see typed text by the change.
    gsettings set org.gnome.desktop.interface cursor-blink false
    pipewire >>"$work/portal.log" 2>&1 &
    portal_pids+=($!)
    wait_for 100 0.05 test -S "$XDG_RUNTIME_DIR/pipewire-0" || fail "pipewire did not start: $(tail -3 "$work/portal.log")"
    start_on_bus org.freedesktop.impl.portal.PermissionStore /usr/libexec/xdg-permission-store --replace
    gnome-shell --headless --wayland $x11 --virtual-monitor 1280x800 >>"$work/portal.log" 2>&1 &
    portal_pids+=($!)
    # It starts in a few seconds, but in up to a minute on a busy machine.
    wait_for 1200 0.05 shell_started || fail "GNOME Shell did not start: $(tail -3 "$work/portal.log")"
    if [ -z "$x11" ]; then # Mutter picks a free display number and writes its own authority file
        DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\),.*/\1/p' "$work/portal.log")
        XAUTHORITY=$(echo "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.*)
        [ -n "$DISPLAY" ] && [ -f "$XAUTHORITY" ] || fail "no Xwayland beside GNOME Shell"
        export DISPLAY XAUTHORITY
    fi
    export WAYLAND_DISPLAY=wayland-0
    gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<false>' >/dev/null \
        || fail "the overview cannot be closed"
    start_on_bus org.freedesktop.impl.portal.desktop.gnome /usr/libexec/xdg-desktop-portal-gnome
    start_on_bus org.freedesktop.portal.Desktop /usr/libexec/xdg-desktop-portal
    QT_QPA_PLATFORM=wayland "$E2E_PROBE" show "$work/bg1.png" >>"$work/portal.log" 2>&1 &
    portal_pids+=($!)
    start_gnome_keys
    set_screenshot_permission yes
}

# The stored answer to "Allow Applications to Take Screenshots?": yes, no, or none.
set_screenshot_permission() {
    local call=(SetPermission screenshot true screenshot '' "['$1']")
    [ "$1" = none ] && call=(DeletePermission screenshot screenshot '')
    gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore \
        --object-path /org/freedesktop/impl/portal/PermissionStore \
        --method "org.freedesktop.impl.portal.PermissionStore.${call[0]}" "${call[@]:1}" >/dev/null \
        || fail "cannot store the screenshot permission $1"
}

start_gnome_keys() { # the driver's keys and pointer through Mutter's RemoteDesktop API (gnome_input.py)
    rm -f "$work/keys.in"
    mkfifo "$work/keys.in"
    /usr/bin/python3 "$GNOME_INPUT" <"$work/keys.in" >"$work/keys.out" 2>&1 &
    keys_pid=$!
    exec 8>"$work/keys.in"
    wait_for 100 0.05 grep -q ready "$work/keys.out" || fail "no keys: $(cat "$work/keys.out")"
}
gnome_keys() { gnome_input "key $*"; } # gnome_keys KEYSYM...: at once

# The X keysyms of the names keys takes (xkb's, as wtype's); a character stands for itself.
declare -A gnome_keysyms=([alt]=ffe9 [shift]=ffe1 [ctrl]=ffe3 [End]=ff57 [Return]=ff0d [Escape]=ff1b [Tab]=ff09 [space]=20 [Down]=ff54
    [Up]=ff52 [Right]=ff53 [Left]=ff51 [BackSpace]=ff08)
gnome_keysym() { # alt+g: Alt_L+g
    local part out=
    for part in ${1//+/ }; do
        out+=+${gnome_keysyms[$part]:-$(printf %x "'$part")}
    done
    echo "${out#+}"
}
keys() { # keys KEY...: each key name (alt+g holds Alt) pressed and released, a moment between them
    local key
    for key in "$@"; do
        gnome_input "key $(gnome_keysym "$key")"
        sleep 0.3
    done
}
type_text() { # type_text TEXT: its characters, typed
    local i line=key
    for ((i = 0; i < ${#1}; i++)); do
        line+=" $(printf %x "'${1:i:1}")"
    done
    gnome_input "$line"
}
seat_move() { gnome_input "to $1 $2"; }
seat_button() { gnome_input "$*"; }
screen_shot() { "${program:-$QUORVEX7}" --grab "$1"; }
clipboard_entry_dy=24 # File > Save to Clipboard below the picture view's top, in GNOME's fonts
gnome_input() { # gnome_input LINE: one line to the RemoteDesktop session, waited for
    local sent
    sent=$(grep -c done "$work/keys.out")
    echo "$1" >&8
    wait_for 100 0.05 eval '[ "$(grep -c done "$work/keys.out")" -gt '"$sent"' ]' || fail "$1 was not sent"
}

# GNOME takes one screenshot at a time (a second asked meanwhile is never answered): the window program's tests
# read the screen only once its own grab is answered. Its portal requests' tokens carry its pid.
start_answer_monitor() {
    dbus-monitor --session "type='signal',interface='org.freedesktop.portal.Request',member='Response'" \
        >"$work/answers" 2>&1 &
    monitor_pid=$!
    wait_for 50 0.1 test -s "$work/answers" || fail "dbus-monitor does not listen"
}
grabs_answered() { grep -c "/quorvex7_${app_pid}_" "$work/answers"; }
