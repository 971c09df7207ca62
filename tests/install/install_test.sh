#!/usr/bin/env bash
# install_test.sh BUILD_FOLDER, in Xvfb: installed into a private prefix, every file valid and working.
source "$(dirname "$0")/../support/x11_session.sh"
build=$1

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install: $(tail -1 "$work/install.log")"
id=io.github.quorvex7.Quorvex7
for file in bin/quorvex7 bin/quorvex7-window share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/man/man1/quorvex7.1 share/bash-completion/completions/quorvex7 share/icons/hicolor/scalable/apps/$id.svg; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done
for side in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${side}x$side/apps/$id.png
    [ "$(identify -format '%m %wx%h' "$icon" 2>&1)" = "PNG ${side}x$side" ] || fail "no ${side}x$side PNG icon"
done

# KWin lets the programs they name by their full paths use its screenshot interface: the menu's entry
# names quorvex7, a hidden one the window program.
for entry in "$id:quorvex7" "$id.Window:quorvex7-window"; do
    file=$prefix/share/applications/${entry%%:*}.desktop
    desktop-file-validate "$file" >"$work/desktop.log" 2>&1 && ! grep -v ': hint:' "$work/desktop.log" \
        || fail "the desktop entry $(basename "$file") is not valid: $(cat "$work/desktop.log")"
    grep -qx "Exec=$prefix/bin/${entry#*:}" "$file" \
        && grep -qx "X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2" "$file" \
        || fail "the desktop entry $(basename "$file") does not name the installed ${entry#*:} for KWin"
done
grep -qx "NoDisplay=true" "$prefix/share/applications/$id.Window.desktop" || fail "the window program's entry is in the menu"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" \
    || fail "the AppStream metadata is not valid: $(cat "$work/appstream.log")"
MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/quorvex7.1" >"$work/man.txt" 2>"$work/man.err" \
    && [ ! -s "$work/man.err" ] || fail "the manual page has faults: $(head -3 "$work/man.err")"
for section in OPTIONS "EXIT STATUS" EXAMPLES FILES; do
    grep -q "^$section" "$work/man.txt" || fail "the manual page has no $section"
done

"$prefix/bin/quorvex7" --help | grep -q -- '--format' || fail "the installed quorvex7 --help"
# it finds its D-Bus module: what fails is the missing portal, not the module
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus "$prefix/bin/quorvex7" --grab - --screen portal 2>&1 >/dev/null \
    | grep -q "not on the session bus" || fail "the installed quorvex7 does not load its D-Bus module"
completions=$(bash -c 'source "$1"; COMP_WORDS=(quorvex7 --format ""); COMP_CWORD=2; _quorvex7; echo "${COMPREPLY[*]}"' \
    _ "$prefix/share/bash-completion/completions/quorvex7")
[ "$completions" = "png jpg bmp" ] || fail "bash completes --format with '$completions'"

# The desktop action, its Exec line unquoted as a launcher does, grabs into a fresh home's pictures folder.
export HOME=$work/home PATH=$prefix/bin:$PATH
mkdir "$HOME"
exec_line=$(sed -n '/^\[Desktop Action/,$ s/^Exec=//p' "$prefix/share/applications/$id.desktop" | sed 's/\\\\/\\/g')
eval "set -- $exec_line"
"$@" || fail "the desktop action failed"
shot=$(find "$HOME/Pictures" -name 'Quorvex7 *.png')
size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
[ -n "$shot" ] && [ "$(identify -format '%m %wx%h' "$shot")" = "PNG $size" ] || fail "the action wrote no $size PNG"

QUORVEX7=quorvex7 start_app # without options it starts the installed window program
echo "installed tree complete and working"
