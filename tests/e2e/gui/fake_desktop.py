"""Stand-ins for two desktop services the window uses during a run, so a
test can see what it asked: logind's Inhibit on a private "system" bus (the
address in DBUS_SYSTEM_BUS_ADDRESS) and the notification service on the
session bus. Every call is appended to LOG as one line:

    inhibit WHAT|WHO|WHY|MODE     an inhibitor was handed out
    released                      its descriptor was closed by the program
    notify SUMMARY|BODY           a notification was shown

Usage: fake_desktop.py LOG   (runs until killed; prints "ready" when both
names are owned)
"""

import os
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

LOGIND = """<node><interface name="org.freedesktop.login1.Manager">
<method name="Inhibit"><arg type="s" direction="in"/><arg type="s" direction="in"/>
<arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="h" direction="out"/></method>
</interface></node>"""

NOTIFICATIONS = """<node><interface name="org.freedesktop.Notifications">
<method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/>
<arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
<arg type="as" direction="in"/><arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
<arg type="u" direction="out"/></method>
<method name="GetCapabilities"><arg type="as" direction="out"/></method>
</interface></node>"""


def main():
    log_path = sys.argv[1]

    def log(line):
        with open(log_path, "a") as f:
            f.write(line.replace("\n", " ") + "\n")

    def watch_release(fd):
        def gone(source, condition):
            log("released")
            os.close(fd)
            return False
        GLib.io_add_watch(fd, GLib.IO_HUP | GLib.IO_ERR, gone)

    def on_logind(conn, sender, path, iface, method, params, invocation):
        what, who, why, mode = params.unpack()
        ours, theirs = os.pipe()
        watch_release(ours)
        fds = Gio.UnixFDList.new_from_array([theirs])
        log(f"inhibit {what}|{who}|{why}|{mode}")
        invocation.return_value_with_unix_fd_list(GLib.Variant("(h)", (0,)), fds)

    def on_notify(conn, sender, path, iface, method, params, invocation):
        if method == "GetCapabilities":
            invocation.return_value(GLib.Variant("(as)", (["body"],)))
            return
        args = params.unpack()
        log(f"notify {args[3]}|{args[4]}")
        invocation.return_value(GLib.Variant("(u)", (1,)))

    owned = []

    def serve(bus_address, name, path, xml, handler):
        if bus_address:
            conn = Gio.DBusConnection.new_for_address_sync(
                bus_address,
                Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
                None, None)
        else:
            conn = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        info = Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0]
        conn.register_object(path, info, handler, None, None)
        reply = conn.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                               "RequestName", GLib.Variant("(su)", (name, 4)), None,
                               Gio.DBusCallFlags.NONE, -1, None)
        owned.append((conn, reply))

    serve(os.environ["DBUS_SYSTEM_BUS_ADDRESS"], "org.freedesktop.login1", "/org/freedesktop/login1",
          LOGIND, on_logind)
    serve(None, "org.freedesktop.Notifications", "/org/freedesktop/Notifications", NOTIFICATIONS,
          on_notify)
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
