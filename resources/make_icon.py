#!/usr/bin/env python3
"""Draws the program's icon, a telephone handset, and writes telvane.ico.

Four images: 16, 32 and 48 pixels as 32-bit bitmaps with alpha (what the tray,
the window and Explorer pick), 256 pixels as PNG. Only the standard library is
used and the output is the same bytes on every run, so the .ico is kept in the
repository and the build does not need Python.

    python3 make_icon.py [output.ico]
"""

import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 32, 48, 256)
SUBSAMPLES = 4  # per axis, for the anti-aliased edge

# The handset in a unit square with y pointing up: the handle is a quarter arc
# around the top-right corner, bowing towards the bottom left; earpiece and
# mouthpiece sit on its ends and stand out towards the arc's centre.
ARC_CENTRE = (0.80, 0.80)
ARC_RADIUS = 0.50
HANDLE_HALF_WIDTH = 0.105
CUP_RADIUS = 0.14
CUP_OUTER = 0.04   # how far a cup reaches beyond the arc, away from the centre
CUP_INNER = 0.15   # and towards it
BLEND = 0.05       # rounding where the cups meet the handle

FILL_TOP = (76, 175, 80)
FILL_BOTTOM = (27, 118, 42)
OUTLINE = (17, 68, 24)
HIGHLIGHT = (165, 224, 160)


def segment_distance(p, a, b):
    ax, ay = p[0] - a[0], p[1] - a[1]
    bx, by = b[0] - a[0], b[1] - a[1]
    t = max(0.0, min(1.0, (ax * bx + ay * by) / (bx * bx + by * by)))
    return math.hypot(ax - bx * t, ay - by * t)


def smooth_min(a, b, k):
    h = max(k - abs(a - b), 0.0) / k
    return min(a, b) - h * h * k / 4.0


def end_point(angle, radius):
    return (ARC_CENTRE[0] + radius * math.cos(angle), ARC_CENTRE[1] + radius * math.sin(angle))


ENDS = (math.pi, 1.5 * math.pi)
CUPS = tuple((end_point(a, ARC_RADIUS + CUP_OUTER), end_point(a, ARC_RADIUS - CUP_INNER)) for a in ENDS)


def handle_distance(p):
    qx, qy = p[0] - ARC_CENTRE[0], p[1] - ARC_CENTRE[1]
    if qx <= 0.0 and qy <= 0.0:
        return abs(math.hypot(qx, qy) - ARC_RADIUS) - HANDLE_HALF_WIDTH
    ends = (end_point(a, ARC_RADIUS) for a in ENDS)
    return min(math.hypot(p[0] - e[0], p[1] - e[1]) for e in ends) - HANDLE_HALF_WIDTH


def handset_distance(p):
    d = handle_distance(p)
    for a, b in CUPS:
        d = smooth_min(d, segment_distance(p, a, b) - CUP_RADIUS, BLEND)
    return d


def highlight_distance(p):
    """A thin line along the inner side of the handle, for some depth."""
    qx, qy = p[0] - ARC_CENTRE[0], p[1] - ARC_CENTRE[1]
    angle = math.atan2(qy, qx) % (2 * math.pi)
    if not (1.08 * math.pi <= angle <= 1.42 * math.pi):
        return 1.0
    return abs(math.hypot(qx, qy) - (ARC_RADIUS - HANDLE_HALF_WIDTH * 0.35))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def shade(p, pixel):
    """Colour and coverage (0..1) of one sample point."""
    d = handset_distance(p)
    if d > 0.0:
        return (0.0, 0.0, 0.0), 0.0
    size = 1.0 / pixel
    # At 16 pixels a whole pixel of outline would leave little of the fill.
    outline = (0.7 if size < 32 else max(1.0, size / 48)) * pixel
    colour = mix(FILL_BOTTOM, FILL_TOP, max(0.0, min(1.0, p[1])))
    if size >= 32 and highlight_distance(p) < max(pixel * 0.9, 0.012):
        colour = mix(colour, HIGHLIGHT, 0.7)
    if d > -outline:
        colour = OUTLINE
    return colour, 1.0


def render(size):
    """Rows of (r, g, b, a) from the top, straight (not premultiplied) alpha."""
    pixel = 1.0 / size
    rows = []
    for row in range(size):
        line = []
        for col in range(size):
            acc = [0.0, 0.0, 0.0]
            cover = 0.0
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    x = (col + (sx + 0.5) / SUBSAMPLES) * pixel
                    y = 1.0 - (row + (sy + 0.5) / SUBSAMPLES) * pixel
                    colour, c = shade((x, y), pixel)
                    cover += c
                    for i in range(3):
                        acc[i] += colour[i] * c
            n = SUBSAMPLES * SUBSAMPLES
            alpha = cover / n
            if cover > 0:
                rgb = tuple(int(round(v / cover)) for v in acc)
            else:
                rgb = (0, 0, 0)
            line.append(rgb + (int(round(alpha * 255)),))
        rows.append(line)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + bytes(v for px in line for v in px) for line in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def dib(rows):
    """A 32-bit icon bitmap: header, BGRA rows from the bottom, then the AND mask."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for line in reversed(rows):
        bits = bytearray(mask_stride)
        for col, (r, g, b, a) in enumerate(line):
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def icon(sizes=SIZES):
    images = []
    for size in sizes:
        rows = render(size)
        images.append((size, png(rows) if size >= 256 else dib(rows)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main(argv):
    target = Path(argv[1]) if len(argv) > 1 else Path(__file__).with_name("telvane.ico")
    target.write_bytes(icon())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
