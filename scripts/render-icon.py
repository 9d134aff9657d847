#!/usr/bin/env python3
"""Renders the window's icon: a chat bubble filled with a fade between two colours, on a transparent ground.

One 32 x 32 image, 256 colours, with its AND mask: render-icon.py OUT.ico
Outlines are two pixels wide, so that they survive the every-other-pixel shrink to 16 x 16 for the caption.
"""
import math
import struct
import sys

SIZE = 32
SUB = 4  # subsamples a side: edges are antialiased towards the outline, never towards the ground
START, END = (255, 210, 0), (215, 0, 150)  # gold to magenta, left to right
OUTLINE = 0.3  # the outline is the fill darkened to this share
BODY = (1.0, 2.0, 31.0, 23.0, 6.0)  # rounded rectangle: left, top, right, bottom, corner radius
TAIL = [(5.0, 20.0), (16.0, 20.0), (3.0, 31.0)]  # the bubble's tail, down to the left
STROKE = 2.0


def in_body(x, y):
    left, top, right, bottom, r = BODY
    cx = min(max(x, left + r), right - r)
    cy = min(max(y, top + r), bottom - r)
    return left <= x <= right and top <= y <= bottom and (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_tail(x, y):
    signs = []
    for (ax, ay), (bx, by) in zip(TAIL, TAIL[1:] + TAIL[:1]):
        signs.append((bx - ax) * (y - ay) - (by - ay) * (x - ax) >= 0)
    return all(signs) or not any(signs)


def inside(x, y):
    return in_body(x, y) or in_tail(x, y)


RING = [(STROKE * math.cos(k * math.pi / 8), STROKE * math.sin(k * math.pi / 8)) for k in range(16)]


def in_fill(x, y):
    return all(inside(x + dx, y + dy) for dx, dy in RING)


def fade(x):
    t = min(max((x - BODY[0]) / (BODY[2] - BODY[0]), 0.0), 1.0)
    return tuple(s + (e - s) * t for s, e in zip(START, END))


def render():
    """Rows top to bottom of (r, g, b) or None for a transparent pixel."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            points = [(px + (i + 0.5) / SUB, py + (j + 0.5) / SUB) for i in range(SUB) for j in range(SUB)]
            shape = [p for p in points if inside(*p)]
            if len(shape) * 2 < len(points):
                row.append(None)
                continue
            fill = sum(1 for p in shape if in_fill(*p)) / len(shape)
            colour = fade(px + 0.5)
            mix = OUTLINE + (1 - OUTLINE) * fill
            row.append(tuple(round(c * mix) for c in colour))
        rows.append(row)
    return rows


def write_ico(path, rows):
    colours = sorted({c for row in rows for c in row if c is not None})
    palette = [(0, 0, 0)] + [c for c in colours if c != (0, 0, 0)]
    if len(palette) > 256:
        sys.exit(f"render-icon: {len(palette)} colours, at most 256 fit")
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {c: i for i, c in reversed(list(enumerate(palette)))}
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # a DIB's rows run bottom to top
        xor += bytes(0 if c is None else index[c] for c in row)
        bits = 0
        for c in row:
            bits = bits << 1 | (c is None)
        mask += bits.to_bytes(SIZE // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    image = header + b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette) + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 22)
    with open(path, "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    write_ico(sys.argv[1], render())
