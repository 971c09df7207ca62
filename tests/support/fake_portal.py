#!/usr/bin/python3
# A desktop portal on the session bus that takes no screenshot: `refuse` answers each request with
# response 1 (cancelled), `silent` never answers. Run by the Wayland scripts, stopped by its pid.
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

MODE = sys.argv[1]
PATH = "/org/freedesktop/portal/desktop"


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def Screenshot(self, parent_window, options, sender):
        handle = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["handle_token"])
        request = Request(bus, handle)
        if MODE == "refuse":
            GLib.idle_add(lambda: request.Response(dbus.UInt32(1), dbus.Dictionary({}, signature="sv")))
        return dbus.ObjectPath(handle)


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = Portal(bus, PATH)
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
GLib.MainLoop().run()
