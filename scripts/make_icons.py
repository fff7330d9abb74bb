#!/usr/bin/env python3
"""Draws the program's icon (a DIP chip with a timing trace) as SVG, PNG and Windows ICO.

The shapes are defined once, on a 64-unit grid; the SVG takes them as they are and the bitmaps
are rendered from them with 4x4 supersampling, so all three show the same picture.
Writes packaging/icons/qeltest.svg, qeltest-256.png, qeltest.ico.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "packaging", "icons")

BODY = (0x26, 0x2B, 0x33)
PIN = (0xC8, 0xCC, 0xD2)
NOTCH = (0x4A, 0x52, 0x5E)
TRACE = (0x3C, 0xD0, 0x6E)
ERROR = (0xE8, 0x40, 0x3A)

# (x, y, w, h, colour) rectangles, painted in order.
RECTS = [(6 + 0, 12 + 7 * k, 8, 4, PIN) for k in range(6)] + \
        [(50, 12 + 7 * k, 8, 4, PIN) for k in range(6)] + \
        [(12, 6, 40, 52, BODY)]
# The notch of pin 1 and the trace: a square wave, with its last step drawn in the error colour.
CIRCLES = [(32, 6, 5, NOTCH)]
TRACE_POINTS = [(16, 40), (22, 40), (22, 24), (30, 24), (30, 40), (38, 40), (38, 24), (44, 24)]
ERROR_POINTS = [(44, 24), (44, 40), (48, 40)]
TRACE_WIDTH = 3


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">']
    for x, y, w, h, c in RECTS:
        parts.append(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="1" fill="#{c[0]:02x}{c[1]:02x}{c[2]:02x}"/>')
    for cx, cy, r, c in CIRCLES:
        parts.append(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="#{c[0]:02x}{c[1]:02x}{c[2]:02x}"/>')
    for pts, c in ((TRACE_POINTS, TRACE), (ERROR_POINTS, ERROR)):
        p = " ".join(f"{x},{y}" for x, y in pts)
        parts.append(f'<polyline points="{p}" fill="none" stroke="#{c[0]:02x}{c[1]:02x}{c[2]:02x}" '
                     f'stroke-width="{TRACE_WIDTH}" stroke-linecap="square"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def covered(px, py):
    """Colour of the point (px, py) on the 64 grid, or None where transparent."""
    colour = None
    for x, y, w, h, c in RECTS:
        if x <= px < x + w and y <= py < y + h:
            colour = c
    for cx, cy, r, c in CIRCLES:
        if (px - cx) ** 2 + (py - cy) ** 2 <= r * r and colour is not None:
            colour = c
    half = TRACE_WIDTH / 2
    for pts, c in ((TRACE_POINTS, TRACE), (ERROR_POINTS, ERROR)):
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            if min(x0, x1) - half <= px <= max(x0, x1) + half and min(y0, y1) - half <= py <= max(y0, y1) + half:
                colour = c
    return colour


def render(size):
    ss = 4
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    c = covered((x + (sx + 0.5) / ss) * 64 / size, (y + (sy + 0.5) / ss) * 64 / size)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 255
            n = ss * ss
            a = acc[3] // n
            if a:
                row += bytes((acc[0] * 255 // acc[3], acc[1] * 255 // acc[3], acc[2] * 255 // acc[3], a))
            else:
                row += b"\0\0\0\0"
        rows.append(bytes(row))
    return rows


def png(size):
    rows = render(size)
    raw = b"".join(b"\0" + r for r in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(sizes):
    images = [png(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "qeltest.svg"), "w") as f:
        f.write(svg())
    with open(os.path.join(OUT, "qeltest-256.png"), "wb") as f:
        f.write(png(256))
    with open(os.path.join(OUT, "qeltest.ico"), "wb") as f:
        f.write(ico([16, 24, 32, 48, 64, 256]))


if __name__ == "__main__":
    main()
