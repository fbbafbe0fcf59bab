#!/usr/bin/env python3
"""Renders the main window's shadow, resources/icon/windowShadow.png, as a nine-patch.

The window is a panel 10 pixels inside a transparent, frameless window; its shadow falls
into that margin from two drop shadows of the panel, offset by -5/-5 and +5/+5, blurred
with a Gaussian of 25 samples (deviation 3.9) and tinted #20000000. Working that blur out
when the window opens cost its first frame about 200 ms, so it is worked out here once:
main.qml draws the picture with a BorderImage whose borders are BORDER pixels, the
corners as they are and the one middle row and column stretched along the edges.

Run by scripts/render-icons.sh; pure Python, so it needs nothing else.
"""
import math
import struct
import sys
import zlib

MARGIN = 10          # the panel's distance from the window's edge
OFFSETS = (-5, 5)    # the two shadows' offsets, the same across and down
KERNEL_RADIUS = 12   # 25 samples
DEVIATION = (12 + 1) / 3.3333
ALPHA = 0x20 / 255   # the shadows' colour, black at this opacity
BORDER = 32          # covers the corners: the blur reaches 5 + 12 pixels past the margin
SIZE = 2 * BORDER + 1
VIRTUAL = 4 * BORDER  # a window large enough that its middle shows no corner


def weights():
    w = [math.exp(-k * k / (2 * DEVIATION * DEVIATION))
         for k in range(-KERNEL_RADIUS, KERNEL_RADIUS + 1)]
    total = sum(w)
    return [v / total for v in w]


WEIGHTS = weights()


def coverage(x, low, high):
    """How much of the blur around pixel x falls on the shadow's span [low, high)."""
    return sum(w for k, w in zip(range(-KERNEL_RADIUS, KERNEL_RADIUS + 1), WEIGHTS)
               if low <= x + k < high)


def alpha(x, y):
    """The window's shadow at pixel (x, y) of a VIRTUAL x VIRTUAL window: the two shadows
    laid one over the other, and nothing under the panel, which hides that part."""
    if MARGIN <= x < VIRTUAL - MARGIN and MARGIN <= y < VIRTUAL - MARGIN:
        return 0.0
    clear = 1.0
    for offset in OFFSETS:
        low, high = MARGIN + offset, VIRTUAL - MARGIN + offset
        clear *= 1 - ALPHA * coverage(x, low, high) * coverage(y, low, high)
    return 1 - clear


def virtual(u):
    """The virtual window's pixel shown at column (or row) u of the nine-patch."""
    return u if u <= BORDER else VIRTUAL - SIZE + u


def png(width, height, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main(target):
    rows = []
    for v in range(SIZE):
        row = []
        for u in range(SIZE):
            a = round(255 * alpha(virtual(u), virtual(v)))
            row += [0, 0, 0, a]
        rows.append(row)
    with open(target, "wb") as f:
        f.write(png(SIZE, SIZE, rows))


if __name__ == "__main__":
    main(sys.argv[1])
