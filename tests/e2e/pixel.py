#!/usr/bin/python3
"""Prints the colour of one pixel of an X window as rrggbb: pixel.py WINDOW X Y."""
import sys

from Xlib import X, display

d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
image = window.get_image(int(sys.argv[2]), int(sys.argv[3]), 1, 1, X.ZPixmap, 0xFFFFFFFF)
blue, green, red = image.data[0], image.data[1], image.data[2]
print(f"{red:02x}{green:02x}{blue:02x}")
