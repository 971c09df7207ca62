#!/usr/bin/python3
# Keys for a headless GNOME Shell, which offers no virtual-keyboard protocol: a session of Mutter's
# RemoteDesktop D-Bus API. No ScreenCast stream goes with it: starting one closes the shell's open
# dialogs (as a "no"). Reads lines from standard input, prints "ready" once the session runs and "done"
# after each line:
#   key KEYSYM...      each X keysym (hex: ff0d Return, ff1b Escape, ff09 Tab) pressed and released
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
    print("done", flush=True)
session.Stop()
