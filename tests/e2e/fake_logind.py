#!/usr/bin/python3
"""A stand-in for systemd-logind on a private bus: it answers PowerOff(b)
and writes every call it receives to a record file, one JSON object a line.
It never powers anything off.

    fake_logind.py --address unix:path=/tmp/.../bus --record calls.jsonl

Prints "ready" on standard output once it owns org.freedesktop.login1.
"""

import argparse
import json
import os
import signal
import sys
import time

import dbus
import dbus.service
import dbus.mainloop.glib
from gi.repository import GLib

BUS_NAME = "org.freedesktop.login1"
OBJECT_PATH = "/org/freedesktop/login1"
MANAGER = "org.freedesktop.login1.Manager"


class Manager(dbus.service.Object):
    def __init__(self, connection, record_path):
        super().__init__(connection, OBJECT_PATH)
        self._record_path = record_path

    def _record(self, method, arguments, sender):
        entry = {"method": method, "arguments": arguments, "sender": str(sender), "time": time.time()}
        with open(self._record_path, "a", encoding="utf-8") as record:
            record.write(json.dumps(entry) + "\n")
            record.flush()
            os.fsync(record.fileno())

    @dbus.service.method(MANAGER, in_signature="b", out_signature="", sender_keyword="sender")
    def PowerOff(self, interactive, sender=None):
        self._record("PowerOff", [bool(interactive)], sender)

    @dbus.service.method(MANAGER, in_signature="b", out_signature="", sender_keyword="sender")
    def Reboot(self, interactive, sender=None):
        self._record("Reboot", [bool(interactive)], sender)

    @dbus.service.method(MANAGER, in_signature="b", out_signature="", sender_keyword="sender")
    def Suspend(self, interactive, sender=None):
        self._record("Suspend", [bool(interactive)], sender)

    @dbus.service.method(MANAGER, in_signature="", out_signature="s", sender_keyword="sender")
    def CanPowerOff(self, sender=None):
        self._record("CanPowerOff", [], sender)
        return "yes"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", required=True)
    parser.add_argument("--record", required=True)
    options = parser.parse_args()

    # Only ever a private bus given by its socket path; never the machine's.
    if not options.address.startswith("unix:path=") or options.address.startswith(
        "unix:path=/run/dbus/") or options.address.startswith("unix:path=/var/run/dbus/"):
        print("refusing to serve on " + options.address, file=sys.stderr)
        return 2

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    connection = dbus.bus.BusConnection(options.address)
    name = dbus.service.BusName(BUS_NAME, connection, do_not_queue=True)
    manager = Manager(connection, options.record)

    loop = GLib.MainLoop()
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, loop.quit)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGINT, loop.quit)
    print("ready", flush=True)
    loop.run()
    del manager, name
    return 0


if __name__ == "__main__":
    sys.exit(main())
