#!/usr/bin/python3
# A desktop portal on the session bus that misbehaves as its first argument says:
#   refuse            answers each request with response 1 (cancelled)
#   silent            never answers
#   malformed SIG     answers with results of the signature SIG (a{iv}, a{uv}, a{ss}) instead of a{sv}
#   uri URI           answers at once with URI
#   old-style URI     answers with URI on a request path of its own making, before its reply to the call
#   impostor URI      another bus client answers with URI first; the portal then refuses
# Run by the Wayland scripts, stopped by its pid.
import sys

import dbus
import dbus.lowlevel
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

MODE = sys.argv[1]
ARGUMENT = sys.argv[2] if len(sys.argv) > 2 else ""
PATH = "/org/freedesktop/portal/desktop"
REQUEST = "org.freedesktop.portal.Request"


class Request(dbus.service.Object):
    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass


def malformed(connection, handle, destination):
    message = dbus.lowlevel.SignalMessage(handle, REQUEST, "Response")
    message.set_destination(destination)
    key, value = {"a{iv}": (dbus.Int32(7), "x"), "a{uv}": (dbus.UInt32(7), "x"),
                  "a{ss}": ("uri", "file:///tmp/x.png")}[ARGUMENT]
    message.append(dbus.UInt32(0), dbus.Dictionary({key: value}, signature=ARGUMENT[2:4]),
                   signature="u" + ARGUMENT)
    connection.send_message(message)


def answer(connection, handle, destination, uri):  # to everyone listening where destination is None
    message = dbus.lowlevel.SignalMessage(handle, REQUEST, "Response")
    if destination:
        message.set_destination(destination)
    message.append(dbus.UInt32(0), {"uri": uri}, signature="ua{sv}")
    connection.send_message(message)


class Portal(dbus.service.Object):
    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def Screenshot(self, parent_window, options, sender):
        handle = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["handle_token"])
        if MODE == "old-style":
            handle = PATH + "/request/own_making"
            answer(bus, handle, None, ARGUMENT)
            return dbus.ObjectPath(handle)
        request = Request(bus, handle)
        if MODE == "refuse":
            GLib.idle_add(lambda: request.Response(dbus.UInt32(1), dbus.Dictionary({}, signature="sv")))
        elif MODE == "malformed":
            GLib.idle_add(lambda: malformed(bus, handle, sender))
        elif MODE == "uri":
            GLib.idle_add(lambda: answer(bus, handle, sender, ARGUMENT))
        elif MODE == "impostor":
            GLib.idle_add(lambda: answer(impostor, handle, sender, ARGUMENT))
            GLib.timeout_add(500, lambda: request.Response(dbus.UInt32(1), dbus.Dictionary({}, signature="sv")))
        return dbus.ObjectPath(handle)


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
impostor = dbus.bus.BusConnection(dbus.bus.BUS_SESSION)
portal = Portal(bus, PATH)
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
GLib.MainLoop().run()
