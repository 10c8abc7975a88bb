#!/usr/bin/python3
"""A stand-in for udisks2 on a private bus (DBUS_SESSION_BUS_ADDRESS).

Answers the Manager's Version and the Filesystem.Unmount, Block.Format and
Filesystem.Mount calls of any block device, fails the methods it is told to
with the udisks2 error named, and keeps every call. The test drives it
through org.lumora.Test: Setup(version, ["Method:Error"], mount path) and
TakeCalls() (the calls so far, one line each: "device Method args-as-JSON").
"""
import json

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

ROOT = '/org/freedesktop/UDisks2'
ERROR = 'org.freedesktop.UDisks2.Error.'


def plain(value):
    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, dict):
        return {str(k): plain(v) for k, v in value.items()}
    if isinstance(value, (list, tuple)):
        return [plain(v) for v in value]
    return str(value) if isinstance(value, str) else value


class StandIn(dbus.service.FallbackObject):
    def __init__(self, bus):
        super().__init__(bus, ROOT)
        self.version, self.fail, self.mount_path, self.calls = '2.9.4', {}, '', []

    def step(self, path, method, *args):
        text = json.dumps(plain(list(args)), sort_keys=True, separators=(',', ':'))
        self.calls.append(f'{path.rsplit("/", 1)[-1]} {method} {text[1:-1]}')
        if method in self.fail:
            raise dbus.exceptions.DBusException('stand-in refuses ' + method,
                                                name=ERROR + self.fail[method])

    @dbus.service.method('org.freedesktop.UDisks2.Filesystem', in_signature='a{sv}',
                         path_keyword='path')
    def Unmount(self, options, path):
        self.step(path, 'Unmount', options)

    @dbus.service.method('org.freedesktop.UDisks2.Block', in_signature='sa{sv}',
                         path_keyword='path')
    def Format(self, kind, options, path):
        self.step(path, 'Format', kind, options)

    @dbus.service.method('org.freedesktop.UDisks2.Filesystem', in_signature='a{sv}',
                         out_signature='s', path_keyword='path')
    def Mount(self, options, path):
        self.step(path, 'Mount', options)
        return self.mount_path

    @dbus.service.method('org.freedesktop.DBus.Properties', in_signature='ss',
                         out_signature='v', path_keyword='path')
    def Get(self, interface, name, path):
        if name == 'Version':
            return self.version
        if name == 'MountPoints':
            return dbus.Array([dbus.ByteArray(self.mount_path.encode() + b'\0')],
                              signature='ay')
        raise dbus.exceptions.DBusException('no ' + name,
                                            name='org.freedesktop.DBus.Error.InvalidArgs')

    @dbus.service.method('org.lumora.Test', in_signature='sass')
    def Setup(self, version, fail, mount_path):
        self.version, self.mount_path = str(version), str(mount_path)
        self.fail = dict(str(f).split(':', 1) for f in fail)

    @dbus.service.method('org.lumora.Test', out_signature='as')
    def TakeCalls(self):
        calls, self.calls = self.calls, []
        return calls


if __name__ == '__main__':
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    service = StandIn(bus)
    name = dbus.service.BusName('org.freedesktop.UDisks2', bus)
    GLib.MainLoop().run()
