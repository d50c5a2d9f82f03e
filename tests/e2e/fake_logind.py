#!/usr/bin/python3
"""Stands in for systemd-logind on a private bus: writes each PowerOff call
to a record file and powers nothing off. Prints "ready" once it owns the name.

    fake_logind.py unix:path=/tmp/.../system-bus RECORD"""

import signal
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib


class Manager(dbus.service.Object):
    def __init__(self, connection, record):
        super().__init__(connection, "/org/freedesktop/login1")
        self.record = record

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="b")
    def PowerOff(self, interactive):
        with open(self.record, "a") as out:
            out.write("PowerOff %s\n" % bool(interactive))


def main(address, record):
    # Only ever a stage's own socket, never the machine's bus.
    if not address.startswith("unix:path=/") or "/run/dbus/" in address:
        sys.exit("refusing to serve on " + address)
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    connection = dbus.bus.BusConnection(address)
    name = dbus.service.BusName("org.freedesktop.login1", connection, do_not_queue=True)
    manager = Manager(connection, record)
    loop = GLib.MainLoop()
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, loop.quit)
    print("ready", flush=True)
    loop.run()
    del manager, name  # both live as long as the loop


if __name__ == "__main__":
    main(*sys.argv[1:])
