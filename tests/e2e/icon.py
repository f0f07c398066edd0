#!/usr/bin/python3
"""Whether an X window shows an icon file's images: icon.py WINDOW FILE.ico exits 0 when every
image of the window's _NET_WM_ICON that has the size of one of the file's images is that image,
and there is at least one; it prints the sizes it compared."""
import struct
import sys

from Xlib import X, display


def ico_images(path):
    """The file's uncompressed 32-bit images as {(width, height): [ARGB, ...] top row first}."""
    data = open(path, "rb").read()
    images = {}
    for i in range(struct.unpack_from("<H", data, 4)[0]):
        _, _, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        header = struct.unpack_from("<IiiHHI", data, offset)
        if header[0] != 40 or header[4] != 32 or header[5] != 0:
            continue
        width, height = header[1], header[2] // 2
        rows = [struct.unpack_from(f"<{width}I", data, offset + 40 + 4 * width * y) for y in range(height)]
        images[(width, height)] = [p for row in reversed(rows) for p in row]
    return images


d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
prop = window.get_full_property(d.intern_atom("_NET_WM_ICON"), X.AnyPropertyType)
shown = list(prop.value) if prop else []
expected = ico_images(sys.argv[2])
compared = []
while len(shown) >= 2:
    width, height = shown[0], shown[1]
    pixels, shown = shown[2 : 2 + width * height], shown[2 + width * height :]
    if (width, height) in expected:
        if [p & 0xFFFFFFFF for p in pixels] != expected[(width, height)]:
            print(f"the {width}x{height} icon differs")
            sys.exit(1)
        compared.append(f"{width}x{height}")
print(" ".join(compared) or "no icon of the file's sizes")
sys.exit(0 if compared else 1)
