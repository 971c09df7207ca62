#!/usr/bin/python3
# Keys for a headless GNOME Shell, which offers no virtual-keyboard protocol: a session of Mutter's
# RemoteDesktop D-Bus API. No ScreenCast stream goes with it: starting one closes the shell's open
# dialogs (as a "no"). Reads lines from standard input, prints "ready" once the session runs and "done"
# after each line:
#   key KEYSYM...      each X keysym (hex: ff0d Return, ff1b Escape, ff09 Tab) pressed and released
#   move DX DY         the pointer moved by DX, DY (far to the top left, it stops in the corner)
#   press [right] / release [right]   the left (or right) button
# Run by the GNOME scripts, stopped by its pid or the end of its input.
import sys

import dbus

bus = dbus.SessionBus()
path = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop"),
                      "org.gnome.Mutter.RemoteDesktop").CreateSession()
session = dbus.Interface(bus.get_object("org.gnome.Mutter.RemoteDesktop", path),
                         "org.gnome.Mutter.RemoteDesktop.Session")
session.Start()
print("ready", flush=True)

for line in sys.stdin:
    words = line.split()
    if words and words[0] == "key":
        for keysym in words[1:]:
            session.NotifyKeyboardKeysym(dbus.UInt32(int(keysym, 16)), True)
            session.NotifyKeyboardKeysym(dbus.UInt32(int(keysym, 16)), False)
    elif words and words[0] == "move":
        session.NotifyPointerMotionRelative(dbus.Double(float(words[1])), dbus.Double(float(words[2])))
    elif words and words[0] in ("press", "release"):
        button = 0x111 if words[1:] == ["right"] else 0x110  # BTN_RIGHT, BTN_LEFT
        session.NotifyPointerButton(dbus.Int32(button), words[0] == "press")
    print("done", flush=True)
session.Stop()
