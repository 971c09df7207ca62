#!/usr/bin/python3
# Keys and a pointer for a headless GNOME Shell, which offers no virtual-keyboard protocol: a session of
# Mutter's RemoteDesktop D-Bus API. No ScreenCast stream goes with it: starting one closes the shell's
# open dialogs (as a "no"); without one the pointer moves only by relative motion. Reads lines from
# standard input, prints "ready" once the session runs and "done" after each line:
#   key KEYSYM...      each X keysym (hex: ff0d Return, ff1b Escape, ff09 Tab) pressed and released;
#                      ffe9+66 (Alt+F) presses them in turn and releases them the other way round
#   move DX DY         the pointer moved by DX, DY (far to the top left, it stops in the corner)
#   to X Y             the pointer to that point of the desktop (from its top-left corner)
#   press [right] / release [right]   the left (or right) button
# Run by the GNOME scripts, stopped by its pid or the end of its input.
import sys
import time

import dbus

bus = dbus.SessionBus()
path = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop"),
                      "org.gnome.Mutter.RemoteDesktop").CreateSession()
session = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", path),
                         "org.gnome.Mutter.RemoteDesktop.Session")
session.Start()
print("ready", flush=True)


def to_corner():
    # Across and then up: a slanted push stops at the first edge it meets. Moves close together may be
    # merged, so the second waits for the first to be taken.
    session.NotifyPointerMotionRelative(dbus.Double(-100000), dbus.Double(0))
    time.sleep(0.1)
    session.NotifyPointerMotionRelative(dbus.Double(0), dbus.Double(-100000))
    time.sleep(0.1)


at = None  # where "to" sent the pointer last; unknown after a relative move
for line in sys.stdin:
    words = line.split()
    if words and words[0] == "key":
        for chord in words[1:]:
            keysyms = [dbus.UInt32(int(keysym, 16)) for keysym in chord.split("+")]
            for keysym in keysyms:
                session.NotifyKeyboardKeysym(keysym, True)
            for keysym in reversed(keysyms):
                session.NotifyKeyboardKeysym(keysym, False)
    elif words and words[0] == "move":
        session.NotifyPointerMotionRelative(dbus.Double(float(words[1])), dbus.Double(float(words[2])))
        at = None
    elif words and words[0] == "to":
        if at is None:
            to_corner()
            at = (0.0, 0.0)
        x, y = float(words[1]), float(words[2])
        session.NotifyPointerMotionRelative(dbus.Double(x - at[0]), dbus.Double(y - at[1]))
        at = (x, y)
    elif words and words[0] in ("press", "release"):
        button = 0x111 if words[1:] == ["right"] else 0x110  # BTN_RIGHT, BTN_LEFT
        session.NotifyPointerButton(dbus.Int32(button), words[0] == "press")
    print("done", flush=True)
session.Stop()
