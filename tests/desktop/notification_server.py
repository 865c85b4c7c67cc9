#!/usr/bin/python3
"""A stand-in desktop notification service for tests.

Usage: notification_server.py LOG -- COMMAND...
Owns org.freedesktop.Notifications on the session bus, writes one JSON line
per Notify call to LOG (app name, replaces id, icon, summary, body, hints,
timeout and the id it answered), runs COMMAND and ends with its exit status.
"""
import json

import dbus
import dbus.service

from session_service import serve_while_running

NAME = "org.freedesktop.Notifications"


class Notifications(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.log = log
        self.last_id = 0

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        if replaces_id:
            answer = int(replaces_id)
        else:
            self.last_id += 1
            answer = self.last_id
        record = {
            "app_name": str(app_name), "replaces_id": int(replaces_id), "app_icon": str(app_icon),
            "summary": str(summary), "body": str(body),
            "hints": {str(k): str(v) for k, v in hints.items()}, "timeout": int(timeout), "id": answer,
        }
        with open(self.log, "a", encoding="utf-8") as out:
            out.write(json.dumps(record) + "\n")
        return dbus.UInt32(answer)

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return ("stand-in", "tests", "1", "1.2")


def main():
    serve_while_running(NAME, Notifications)


if __name__ == "__main__":
    main()
