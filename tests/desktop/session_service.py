"""Runs a command beside a stand-in service of the session bus.

The stand-ins (notification_server.py, status_notifier_watcher.py) own their
name on the session bus, start the command and answer calls until it ends;
their script ends with the command's exit status.
"""
import subprocess
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib


def serve_while_running(bus_name, make_service):
    """Usage of the calling script: SCRIPT LOG -- COMMAND...

    Owns `bus_name`, calls make_service(bus, log) for the service's objects,
    runs COMMAND and ends with its exit status."""
    log = sys.argv[1]
    command = sys.argv[sys.argv.index("--") + 1:]
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(bus_name, bus)  # noqa: F841 (kept while the loop runs)
    service = make_service(bus, log)  # noqa: F841 (kept while the loop runs)
    loop = GLib.MainLoop()
    child = subprocess.Popen(command)
    status = {}

    def poll():
        code = child.poll()
        if code is None:
            return True
        status["code"] = code
        loop.quit()
        return False

    GLib.timeout_add(20, poll)
    loop.run()
    sys.exit(status["code"])
