#!/usr/bin/python3
"""Stands for a desktop's clipboard manager: owns CLIPBOARD_MANAGER and answers each request to
save the clipboard at once, as a manager does once it has taken the text. Says "ready" on
standard output once it owns the selection, then runs until it is killed."""
import sys

from Xlib import X, display
from Xlib.protocol import event

d = display.Display()
window = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
manager = d.intern_atom("CLIPBOARD_MANAGER")
window.set_selection_owner(manager, X.CurrentTime)
if d.get_selection_owner(manager) != window:
    sys.exit("cannot own CLIPBOARD_MANAGER")
print("ready", flush=True)
while True:
    request = d.next_event()
    if request.type == X.SelectionRequest:
        request.requestor.send_event(event.SelectionNotify(
            time=request.time, requestor=request.requestor, selection=request.selection,
            target=request.target, property=request.property))
        d.flush()
