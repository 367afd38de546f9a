"""A stand-in for the desktop portal's global shortcuts on a private session
bus: it answers CreateSession and BindShortcuts as a desktop that accepts
them, writes what it was asked to bind into OUT_DIR/bound, and on SIGUSR1
presses the shortcut (the Activated signal).

    stand_in_portal.py OUT_DIR
"""
import os
import signal
import sys

import dbus
import dbus.lowlevel
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"


def caller_path(kind, sender, token):
    return f"{PATH}/{kind}/{sender[1:].replace('.', '_')}/{token}"


class Portal(dbus.service.Object):
    def __init__(self, bus, out_dir):
        super().__init__(bus, PATH)
        self.bus, self.out_dir, self.session = bus, out_dir, None

    def answer(self, sender, token, results):
        path = caller_path("request", sender, token)
        message = dbus.lowlevel.SignalMessage(path, "org.freedesktop.portal.Request", "Response")
        message.append(dbus.UInt32(0), dbus.Dictionary(results, signature="sv"),
                       signature="ua{sv}")
        GLib.idle_add(lambda: self.bus.send_message(message) and False)
        return dbus.ObjectPath(path)

    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss",
                         out_signature="v")
    def Get(self, interface, name):
        return dbus.UInt32(1)

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o",
                         sender_keyword="sender")
    def CreateSession(self, options, sender):
        self.session = caller_path("session", sender, options["session_handle_token"])
        return self.answer(sender, options["handle_token"], {"session_handle": self.session})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent_window, options, sender):
        lines = [f"{'' if session == self.session else 'unknown session '}{shortcut_id} "
                 f"{properties.get('preferred_trigger', '')}\n"
                 for shortcut_id, properties in shortcuts]
        with open(os.path.join(self.out_dir, "bound"), "a") as bound:
            bound.writelines(lines)
        return self.answer(sender, options["handle_token"], {})

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        pass

    def press(self):
        self.Activated(dbus.ObjectPath(self.session), "activate", dbus.UInt64(0),
                       dbus.Dictionary({}, signature="sv"))
        return True


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus, sys.argv[1])
    bus.request_name("org.freedesktop.portal.Desktop")
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, portal.press)
    open(os.path.join(sys.argv[1], "ready"), "w").close()
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
