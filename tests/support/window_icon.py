#!/usr/bin/python3
"""The icon a real X window carries (_NET_WM_ICON), compared with a PNG file.

  window_icon.py WINDOW PNG

Prints the sizes the window offers and, for the one of the file's size, how far its pixels are
from the file's and what the icon is drawn in. Exit status 0 when that icon is the file's
picture, 1 when it differs or the window offers none of that size. The colours are compared
premultiplied by their opacity, within one step, as the icon passes through a premultiplied
pixmap on its way to the window.
"""
import os
import subprocess
import sys

from Xlib import X, display


def icons(window):
    d = display.Display()
    w = d.create_resource_object("window", window)
    prop = w.get_full_property(d.intern_atom("_NET_WM_ICON"), X.AnyPropertyType, sizehint=1 << 22)
    values, found = list(prop.value) if prop else [], {}
    while len(values) >= 2:
        width, height = values[0], values[1]
        found[(width, height)] = values[2:2 + width * height]
        values = values[2 + width * height:]
    return found


def png_pixels(path):
    """(width, height) and the pixels as ARGB numbers, as _NET_WM_ICON holds them."""
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                          text=True, check=True).stdout.split()
    raw = subprocess.run(["convert", path, "-depth", "8", "rgba:-"], capture_output=True,
                         check=True).stdout
    pixels = [(raw[i + 3] << 24) | (raw[i] << 16) | (raw[i + 1] << 8) | raw[i + 2]
              for i in range(0, len(raw), 4)]
    return (int(size[0]), int(size[1])), pixels


def channels(argb):
    return argb >> 24 & 255, argb >> 16 & 255, argb >> 8 & 255, argb & 255


def premultiplied(argb):
    a, r, g, b = channels(argb)
    return [a] + [round(c * a / 255) for c in (r, g, b)]


def colours(pixels):
    """What an opaque icon pixel is drawn in, by share."""
    kinds = {}
    opaque = [channels(p)[1:] for p in pixels if channels(p)[0] == 255]
    for r, g, b in opaque:
        kind = ("white" if min(r, g, b) > 200 else "dark" if max(r, g, b) < 80 else
                "blue" if b > r + 30 and b >= g else "warm" if r > b + 30 else "grey")
        kinds[kind] = kinds.get(kind, 0) + 1
    return ", ".join(f"{k} {100 * n / len(opaque):.0f} %"
                     for k, n in sorted(kinds.items(), key=lambda kn: -kn[1]))


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    offered = icons(int(sys.argv[1], 0))
    size, wanted = png_pixels(sys.argv[2])
    print("sizes offered:", ", ".join(f"{w}x{h}" for w, h in offered) or "none")
    if size not in offered:
        print(f"no {size[0]}x{size[1]} icon, the size of {os.path.basename(sys.argv[2])}")
        sys.exit(1)
    got = offered[size]
    worst = max(max(abs(x - y) for x, y in zip(premultiplied(p), premultiplied(q)))
                for p, q in zip(got, wanted))
    print(f"{size[0]}x{size[1]}: at most {worst} apart from {os.path.basename(sys.argv[2])}; "
          f"drawn in {colours(got)}")
    sys.exit(0 if worst <= 1 else 1)


if __name__ == "__main__":
    main()
