#!/usr/bin/python3
"""Prints the accessibility tree of a running program as a screen reader reads it over AT-SPI,
and fails when a control that takes the focus has no name.

Usage: atspi-tree.py APPLICATION-NAME [CHOICE...]
Each CHOICE, a menu item ("Folder/New Folder...") or a button ("Skip Tutorial"), is chosen
through AT-SPI's own action, as a screen reader user does, and the tree is printed again while
what it opens is up.
"""
import sys
import time

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
ACTION = "org.a11y.atspi.Action"
PROPERTIES = "org.freedesktop.DBus.Properties"
# Bits of the first word of AT-SPI's state set.
FOCUSABLE = 1 << 11
SHOWING = 1 << 25

session = dbus.SessionBus()
address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus")
bus = dbus.bus.BusConnection(address)


class Node:
    def __init__(self, ref):
        self.ref = (str(ref[0]), str(ref[1]))
        self.obj = bus.get_object(self.ref[0], self.ref[1], introspect=False)

    def get(self, name):
        return self.obj.Get(ACCESSIBLE, name, dbus_interface=PROPERTIES)

    def name(self):
        return str(self.get("Name"))

    def role(self):
        return str(self.obj.GetRoleName(dbus_interface=ACCESSIBLE))

    def states(self):
        return int(self.obj.GetState(dbus_interface=ACCESSIBLE)[0])

    def children(self):
        return [Node(ref) for ref in self.obj.GetChildren(dbus_interface=ACCESSIBLE)]


def find_app(program):
    root = Node(("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root"))
    for _ in range(150):
        for app in root.children():
            try:
                if app.name() == program and app.children():
                    return app
            except dbus.DBusException:
                pass
        time.sleep(0.2)
    sys.exit(f"{program} never showed on the accessibility bus")


def dump(node, depth, unnamed, column=0, rows=40):
    try:
        role, name, states = node.role(), node.name(), node.states()
        description = str(node.get("Description"))
    except dbus.DBusException:
        return
    if not states & SHOWING and depth > 0:
        return
    mark = " [focusable]" if states & FOCUSABLE else ""
    extra = f" -- {description}" if description else ""
    print(f"{'  ' * depth}{role} \"{name}\"{mark}{extra}")
    # A row says its name in its first cell; a later one may well be empty (a folder's size).
    if states & FOCUSABLE and not name.strip() and column == 0:
        unnamed.append(f"{role} at depth {depth}")
    children = node.children()[: rows * 4]
    roles = [child.role() for child in children]
    columns = max(roles.count("column header"), 1)
    cells = 0
    for child, child_role in zip(children, roles):
        if child_role == "column header":
            dump(child, depth + 1, unnamed)
            continue
        dump(child, depth + 1, unnamed, cells % columns)
        cells += 1


def choose(app, path):
    """Runs a menu item ("Menu/Item") or a button ("Skip Tutorial") through its AT-SPI action."""
    menu, _, name = path.partition("/") if "/" in path else ("", "", path)
    roles = ("menu item", "menu") if menu else ("push button",)

    def search(node, wanted, depth):
        if depth > 12:
            return None
        try:
            # A menu item's name ends in a tab and its shortcut.
            if node.role() in roles and node.name().replace("&", "").split("\t")[0] == wanted:
                return node
        except dbus.DBusException:
            return None
        for child in node.children():
            found = search(child, wanted, depth + 1)
            if found:
                return found
        return None

    def act(node):
        # The action answers only once a modal dialog it opens has closed: wait a little, no more.
        try:
            node.obj.DoAction(0, dbus_interface=ACTION, timeout=1.0)
        except dbus.DBusException:
            pass
        time.sleep(1.0)

    title = app
    if menu:
        # Opened first, as a user opens it; its items are its children.
        title = search(app, menu, 0)
        if not title:
            sys.exit(f"no menu {menu}")
        act(title)
    item = search(title, name, 0)
    if not item:
        sys.exit(f"no item {path}")
    act(item)


def main():
    program = sys.argv[1]
    app = find_app(program)
    time.sleep(1.0)
    unnamed = []
    dump(app, 0, unnamed)
    for path in sys.argv[2:]:
        print(f"\n== after choosing {path}")
        choose(app, path)
        dump(app, 0, unnamed)
    print(f"\n{len(unnamed)} focusable controls without a name")
    for entry in unnamed:
        print("  " + entry)
    sys.exit(1 if unnamed else 0)


main()
