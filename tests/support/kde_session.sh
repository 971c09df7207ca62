# Sourced by the KDE scripts: a private headless KWin (one 1280x800 virtual output) with its own runtime
# folder, home, session bus, pipewire and KDE's desktop portal, every process stopped by its pid. The
# coordinate pattern $work/bg1.png is shown full-screen. Desktop entries in $work/data/applications are
# known to KWin (the programs they name may use KWin's restricted D-Bus interfaces).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/portal_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/driver.sh"
trap 'stop_kde; finish' EXIT
"$E2E_PROBE" pattern 1280 800 "$work/bg1.png" || fail "cannot write the pattern"

pointer_pid=
stop_kde() {
    [ -n "$pointer_pid" ] && exec 7>&- && kill "$pointer_pid" 2>/dev/null
    pointer_pid=
    stop_portal
}

# KWin's binary carries a file capability; where exec of it is not permitted (a container), a plain copy
# runs (under the same name: its Qt platform is built in and used only by a program of that name).
kwin_binary() {
    if /usr/bin/kwin_wayland --version >/dev/null 2>&1; then
        echo /usr/bin/kwin_wayland
        return
    fi
    mkdir -p "$work/kwin"
    [ -x "$work/kwin/kwin_wayland" ] || cp /usr/bin/kwin_wayland "$work/kwin/kwin_wayland" || fail "cannot copy KWin"
    echo "$work/kwin/kwin_wayland"
}

kwin_ready() { has_bus_name org.kde.KWin && test -S "$XDG_RUNTIME_DIR/wayland-0"; }

# start_kde: KWin, KDE's portal, the pattern shown; $HOME is a fresh one, its pictures folder empty.
start_installed_kde() { # start_installed_kde BUILD_FOLDER: the build installed into $work/prefix as $program, its
    # desktop entries where KWin looks for them; then KWin and its fake pointer
    cmake --install "$1" --prefix "$work/prefix" >"$work/install.log" || fail "cmake --install: $(tail -1 "$work/install.log")"
    export XDG_DATA_DIRS=$work/prefix/share:/usr/local/share:/usr/share
    program=$work/prefix/bin/quorvex7
    start_kde
    start_pointer
}
start_kde() {
    local kwin
    kwin=$(kwin_binary)
    export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home XDG_DATA_HOME=$work/data
    export XDG_DATA_DIRS=$work/data:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}
    unset DISPLAY WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_CACHE_HOME XDG_PICTURES_DIR
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    mkdir -p "$HOME/Pictures" "$HOME/.config" "$work/data/applications"
    echo "XDG_PICTURES_DIR=\"\$HOME/Pictures\"" >"$HOME/.config/user-dirs.dirs"
    # The tests' pointer may use KWin's fake input.
    printf '%s\n' "[Desktop Entry]" "Type=Application" "Name=Test pointer" "NoDisplay=true" "Exec=$VIRTUAL_POINTER" \
        "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input" >"$work/data/applications/quorvex7-test-pointer.desktop"
    start_bus
    export XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland KDE_FULL_SESSION=true KDE_SESSION_VERSION=5
    # KWin reads the desktop entries (which program may use what) from this cache, built before it starts.
    kbuildsycoca5 --noincremental >>"$work/portal.log" 2>&1 || fail "kbuildsycoca5 failed"
    pipewire >>"$work/portal.log" 2>&1 &
    portal_pids+=($!)
    wait_for 100 0.05 test -S "$XDG_RUNTIME_DIR/pipewire-0" || fail "pipewire did not start: $(tail -3 "$work/portal.log")"
    "$kwin" --virtual --width 1280 --height 800 --no-lockscreen --no-kactivities --socket wayland-0 \
        >>"$work/portal.log" 2>&1 &
    portal_pids+=($!)
    # It starts in a few seconds, but in up to a minute on a busy machine.
    wait_for 1200 0.05 kwin_ready || fail "KWin did not start: $(tail -3 "$work/portal.log")"
    export WAYLAND_DISPLAY=wayland-0
    start_on_bus org.freedesktop.impl.portal.PermissionStore /usr/libexec/xdg-permission-store --replace
    start_on_bus org.freedesktop.impl.portal.desktop.kde env QT_QPA_PLATFORM=offscreen /usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde
    start_on_bus org.freedesktop.portal.Desktop /usr/libexec/xdg-desktop-portal
    QT_QPA_PLATFORM=wayland "$E2E_PROBE" show "$work/bg1.png" >>"$work/portal.log" 2>&1 &
    portal_pids+=($!)
}

start_pointer() { # KWin's fake input: the driver's pointer and keys
    rm -f "$work/pointer.in"
    mkfifo "$work/pointer.in"
    "$VIRTUAL_POINTER" <"$work/pointer.in" >"$work/pointer.out" 2>&1 &
    pointer_pid=$!
    exec 7>"$work/pointer.in"
    wait_for 100 0.05 grep -q ready "$work/pointer.out" || fail "no pointer: $(cat "$work/pointer.out")"
}
input() { # input LINE: one line to the fake input, once KWin has it
    local sent
    sent=$(grep -c done "$work/pointer.out")
    echo "$1" >&7
    wait_for 100 0.05 eval '[ "$(grep -c done "$work/pointer.out")" -gt '"$sent"' ]' || fail "KWin did not take: $1"
}
seat_move() { input "move $1 $2 1280 800"; }
seat_button() { input "$*"; }
screen_shot() { "${program:-$QUORVEX7}" --grab "$1"; }
clipboard_entry_dy=12 # File > Save to Clipboard below the picture view's top, in KDE's fonts

# Linux key codes of the names keys takes (xkb's, as wtype's), for a US layout.
declare -A kde_key_codes=([alt]=56 [shift]=42 [ctrl]=29 [End]=107 [Return]=28 [Escape]=1 [Tab]=15 [space]=57 [Down]=108 [Up]=103
    [Right]=106 [Left]=105 [BackSpace]=14 [slash]=53 [period]=52 [minus]=12 [underscore]="42 12")
for row in "2 1234567890" "16 qwertyuiop" "30 asdfghjkl" "44 zxcvbnm"; do # a row's first code, its keys
    read -r code letters <<<"$row"
    for ((i = 0; i < ${#letters}; i++)); do kde_key_codes[${letters:i:1}]=$((code + i)); done
done
unset row code letters i
kde_key() { # the codes of one key name: alt+g holds Alt, an upper-case letter Shift
    local name=$1 codes=
    if [[ $name == *+* ]]; then
        codes="${kde_key_codes[${name%%+*}]} "
        name=${name#*+}
    fi
    [[ $name =~ ^[A-Z]$ ]] && codes+="42 " && name=${name,}
    [ -n "${kde_key_codes[$name]:-}" ] || fail "no key code for $1"
    echo "$codes${kde_key_codes[$name]}"
}
keys() { # keys KEY...: each key name (alt+g holds Alt) pressed and released, a moment between them
    local key
    for key in "$@"; do
        input "key $(kde_key "$key")"
        sleep 0.3
    done
}
type_text() { # type_text TEXT: letters, digits and / . - _
    local i c
    for ((i = 0; i < ${#1}; i++)); do
        c=${1:i:1}
        case $c in
        /) c=slash ;; .) c=period ;; -) c=minus ;; _) c=underscore ;;
        esac
        input "key $(kde_key "$c")"
    done
}

kwin_scripting() { # kwin_scripting METHOD ARGUMENT...: a call of KWin's scripting interface
    gdbus call --session --dest org.kde.KWin --object-path /Scripting --method "org.kde.kwin.Scripting.$1" "${@:2}" >/dev/null
}
kwin_script() { # kwin_script JS: runs JS in KWin; what it print()s lands in $work/portal.log after "js: "
    local file=$work/script-$RANDOM.js name=quorvex7-test-$RANDOM
    printf '%s\n' "$1" >"$file"
    kwin_scripting loadScript "$file" "$name" && kwin_scripting start || fail "KWin did not run the script"
    kwin_scripting unloadScript "$name"
}
move_app_window() { # move_app_window X Y: the main window's frame to that place
    kwin_script "workspace.clientList().forEach(function (c) { if (/^Quorvex7( -|$)/.test(c.caption)) {
        var g = c.frameGeometry; c.frameGeometry = {x: $1, y: $2, width: g.width, height: g.height}; } });"
}
