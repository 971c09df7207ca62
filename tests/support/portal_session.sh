# Sourced by sway_session.sh: start_portal starts a private bus, pipewire and the portal with its wlroots and
# GTK (Access dialog) backends, each waited for as activation stalls; stop_portal stops them by pid.
portal_pids=()
stop_portal() {
    if [ ${#portal_pids[@]} -gt 0 ]; then
        kill "${portal_pids[@]}" 2>/dev/null
        # A desktop still starting (GNOME Shell on a busy machine) may not heed TERM: KILL it, so that
        # a test that failed ends with its own message, not at its time limit.
        wait_for 100 0.1 all_gone "${portal_pids[@]}" || kill -KILL "${portal_pids[@]}" 2>/dev/null
    fi
    portal_pids=()
    portal_pid=
    [ -z "${XDG_RUNTIME_DIR:-}" ] || fusermount3 -u "$XDG_RUNTIME_DIR/doc" 2>/dev/null || true
    unset DBUS_SESSION_BUS_ADDRESS DBUS_SYSTEM_BUS_ADDRESS XDG_CURRENT_DESKTOP
}

start_bus() { # start_bus [system]: the session bus (or a system bus) with no service started on demand
    local lines name=${1:-session}
    mkdir -p "$work/$name-bus"
    cat >"$work/$name-bus/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work/$name-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
CONF
    mapfile -t lines < <(dbus-daemon --config-file="$work/$name-bus/bus.conf" --fork --print-address=1 --print-pid=1 --nopidfile)
    [ ${#lines[@]} -eq 2 ] || fail "no $name bus"
    if [ "$name" = system ]; then
        export DBUS_SYSTEM_BUS_ADDRESS=${lines[0]}
    else
        export DBUS_SESSION_BUS_ADDRESS=${lines[0]}
    fi
    portal_pids+=("${lines[1]}")
}

has_bus_name() { bus_says_name "$1" true; }
has_no_bus_name() { bus_says_name "$1" false; }
bus_says_name() { # bus_says_name NAME true|false: the bus answers that NAME has an owner, or has none
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q "boolean $2"
}

start_on_bus() { # start_on_bus NAME COMMAND...: starts COMMAND and waits until it owns NAME on the bus
    local name=$1
    shift
    "$@" >>"$work/portal.log" 2>&1 &
    portal_pids+=($!)
    wait_for 100 0.05 has_bus_name "$name" || fail "$name did not appear on the bus: $(tail -3 "$work/portal.log")"
}

portal_pid= # the portal on the bus, real or fake
start_fake_portal() { # start_fake_portal MODE [ARGUMENT] (see fake_portal.py): instead of the portal there
    if [ -n "$portal_pid" ]; then
        kill "$portal_pid"
        wait_for 100 0.05 has_no_bus_name org.freedesktop.portal.Desktop || fail "the portal stays"
    fi
    start_on_bus org.freedesktop.portal.Desktop /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/fake_portal.py" "$@"
    portal_pid=${portal_pids[-1]}
}

start_portal() {
    start_bus
    export XDG_CURRENT_DESKTOP=sway
    dbus-update-activation-environment XDG_RUNTIME_DIR WAYLAND_DISPLAY XDG_CURRENT_DESKTOP XDG_SESSION_TYPE
    pipewire >>"$work/portal.log" 2>&1 &
    portal_pids+=($!)
    wait_for 100 0.05 test -S "$XDG_RUNTIME_DIR/pipewire-0" || fail "pipewire did not start: $(tail -3 "$work/portal.log")"
    start_on_bus org.freedesktop.impl.portal.PermissionStore /usr/libexec/xdg-permission-store --replace
    start_on_bus org.freedesktop.impl.portal.desktop.wlr /usr/libexec/xdg-desktop-portal-wlr
    start_on_bus org.freedesktop.impl.portal.desktop.gtk env GDK_BACKEND=wayland /usr/libexec/xdg-desktop-portal-gtk
    start_on_bus org.freedesktop.portal.Desktop /usr/libexec/xdg-desktop-portal
    portal_pid=${portal_pids[-1]}
}
