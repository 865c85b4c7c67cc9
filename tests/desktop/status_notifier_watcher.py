#!/usr/bin/python3
"""A stand-in StatusNotifier tray (the D-Bus tray of KDE, GNOME's AppIndicator
extension and others) for tests.

Usage: status_notifier_watcher.py LOG -- COMMAND...
Owns org.kde.StatusNotifierWatcher on the session bus with a host
registered, so that programs put their tray icon there. For each item that
registers, writes one JSON line to LOG with the item's service and its Id
and Title properties as the tray reads them; runs COMMAND and ends with its
exit status.
"""
import json

import dbus
import dbus.service
from gi.repository import GLib

from session_service import serve_while_running

NAME = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"

INTROSPECTION = """<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
</node>"""


class Watcher(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.bus = bus
        self.log = log
        self.items = []

    # Qt reads the properties through an interface it makes from this
    # description, so it has to name them.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, in_signature="", out_signature="s",
                         path_keyword="object_path", connection_keyword="connection")
    def Introspect(self, object_path, connection):
        return INTROSPECTION

    def properties(self):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": dbus.Boolean(True), "ProtocolVersion": dbus.Int32(0)}

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties()[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties()

    @dbus.service.method(NAME, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # The service is a bus name, or an object path on the caller's connection.
        name, path = (sender, service) if service.startswith("/") else (service, "/StatusNotifierItem")
        self.items.append(name + path)
        self.StatusNotifierItemRegistered(name + path)
        # The caller waits for this answer: the item is read once it has it.
        GLib.timeout_add(100, self.read_item, name, path)

    @dbus.service.method(NAME, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(NAME, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    def read_item(self, name, path):
        item = self.bus.get_object(name, path)
        record = {"service": name + path}
        for key in ("Id", "Title"):
            try:
                record[key] = str(item.Get(ITEM, key, dbus_interface=dbus.PROPERTIES_IFACE, timeout=5))
            except dbus.DBusException as error:
                record[key + "Error"] = str(error)
        with open(self.log, "a", encoding="utf-8") as out:
            out.write(json.dumps(record) + "\n")
        return False


def main():
    serve_while_running(NAME, Watcher)


if __name__ == "__main__":
    main()
