"""Mensura as a screen reader sees it, through AT-SPI.

Walks the window's accessible tree, prints it, and checks the names and
descriptions; then sets "12" into the input box and checks that the
recompute reaches assistive technology as one event, with the labels'
names read afresh afterwards. Run by atspi_session.sh.
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

FEET_12 = ["144.", "FEET", "4.", "2.", ".7272727", ".0181818", ".0022727", ".0007576",
           "3,657.6", "365.76", "36.576", "3.6576", ".36576", ".036576", ".0036576"]
LENGTH = ["INCHES", "FEET", "YARDS", "FATHOM", "RODS", "FURLONG", "MILES", "LEAGUE",
          "MILLIMETERS", "CENTIMETERS", "DECIMETERS", "METERS", "DEKAMETERS", "HECTOMETERS",
          "KILOMETERS"]
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def find_app(timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == "Mensura" and app.get_child_count() > 0:
                return app
        time.sleep(0.2)
    return None


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def walk(node, depth=0, out=None):
    out = [] if out is None else out
    out.append((depth, node))
    for child in children(node):
        walk(child, depth + 1, out)
    return out


def labelled_by(node):
    names = []
    for relation in node.get_relation_set():
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            names += [relation.get_target(i).get_name() for i in range(relation.get_n_targets())]
    return names


def show(nodes):
    for depth, node in nodes:
        line = "  " * depth + f"{node.get_role_name()}: {node.get_name()!r}"
        if node.get_description():
            line += f" ({node.get_description()})"
        if labelled_by(node):
            line += f" labelled by {labelled_by(node)}"
        print(line)


app = find_app()
if app is None:
    print("FAIL  Mensura did not appear on the accessibility bus")
    sys.exit(1)
nodes = walk(app)
show([n for n in nodes if n[1].get_role_name() not in ("list item",)])


def one(role, name):
    # By the role itself: its printed name differs between AT-SPI releases
    # ("push button" before 2.56, "button" since).
    found = [n for _, n in nodes if n.get_role() == role and n.get_name() == name]
    check(len(found) == 1, f"one {role.value_nick} named {name!r}")
    return found[0] if found else None


box = one(Atspi.Role.TEXT, "Enter Number")
if box:
    check("\".\" as the decimal point" in box.get_description(), "the box names its decimal point")
    check(labelled_by(box) == ["Enter Number -->"], "the box is labelled by the prompt")
one(Atspi.Role.TEXT, "Unit of the number")
selector = one(Atspi.Role.COMBO_BOX, "FEET")
check(selector is not None and labelled_by(selector) == ["Unit of the number"],
      "the selector is labelled 'Unit of the number'")
for button in ("CLEAR", "Length", "Capacity", "Weight", "Exit"):
    node = one(Atspi.Role.PUSH_BUTTON, button)
    check(node is not None and node.get_description() != "", f"{button} has a description")
title = one(Atspi.Role.LABEL, "Category")
check(title is not None and title.get_description() == "LENGTH", "the title describes LENGTH")
results = one(Atspi.Role.FILLER, "Results")
labels = children(results) if results else []
check(len(labels) == 30, "the Results group holds the 30 row labels")
values = labels[1::2]
check([v.get_description() for v in values] == LENGTH, "each value label describes its unit")
check(results.get_description() == "empty", "the results start empty")
names = labels[0::2]
miles = names[LENGTH.index("MILES")] if len(names) == 15 else None
check(miles is not None and miles.get_description().startswith("statute mile (5,280 ft"),
      "MILES says which mile it is")
check(len(names) == 15 and names[0].get_description() == "Unit of result row 1",
      "INCHES names its row")

# Set the number as a user would type it, and listen.
events = []


def on_event(event):
    events.append((event.type, event.source.get_role(), event.source.get_name()))


listener = Atspi.EventListener.new(on_event)
for kind in ("object:property-change", "object:children-changed", "object:state-changed",
             "object:visible-data-changed"):
    listener.register(kind)
Atspi.EditableText.set_text_contents(box, "12")
# Until the group's event has come (on a busy machine it may take a while),
# and half a second more for any stray event per label.
loop = GLib.MainLoop()
deadline = time.time() + 15


def poll():
    if time.time() > deadline or any(e[2] == "Results" for e in events):
        GLib.timeout_add(500, loop.quit)
        return False
    return True


GLib.timeout_add(50, poll)
loop.run()
print("events:", [(kind, role.value_nick, name) for kind, role, name in events])
label_events = [e for e in events if e[1] == Atspi.Role.LABEL]
group_events = [e for e in events if e[2] == "Results"]
check(label_events == [], "no event per label")
check(len(group_events) == 1 and group_events[0][0].endswith("accessible-description"),
      "one description change of the Results group")
check([v.get_name() for v in values] == FEET_12, "the value labels read the new captions")
check(values[1].get_description() == "the unit of the number", "the source row says so")
check(results.get_description() == "12 FEET", "the group describes 12 FEET")
# A text read otherwise than it looks: the box says how it was read.
Atspi.EditableText.set_text_contents(box, "2,5")
deadline = time.time() + 15
while time.time() < deadline and not box.get_description().startswith("Read as:"):
    time.sleep(0.1)
check(box.get_description().startswith("Read as: 2 ("), "the box says how \"2,5\" was read")

sys.exit(1 if failures else 0)
