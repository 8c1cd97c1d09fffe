#!/usr/bin/python3
# Stands in for a screen reader on the accessibility bus: it listens to every object, focus
# and window event and asks of each event's source what a screen reader asks (name, role,
# description, place in its parent), so the program under measure answers as it would to
# one. When it is stopped it writes the count of events of each kind to the file given.
import signal
import sys

import pyatspi

counts = {}


def on_event(event):
    counts[event.type] = counts.get(event.type, 0) + 1
    try:
        source = event.source
        source.name, source.getRole(), source.description, source.getIndexInParent()
    except Exception:  # the source may be gone by the time it is asked
        pass


def stop(*_):
    pyatspi.Registry.stop()


for kind in ("object:", "focus:", "window:"):
    pyatspi.Registry.registerEventListener(on_event, kind)
signal.signal(signal.SIGTERM, stop)
print("listening", flush=True)
pyatspi.Registry.start()
with open(sys.argv[1], "w") as out:
    for kind, count in sorted(counts.items()):
        out.write(f"{count} {kind}\n")
