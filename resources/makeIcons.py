#!/usr/bin/env python3
"""Draw the Paceword icon and write it as two Windows .ico files.

Standard library only. Each .ico holds two 32-bit images with alpha:
  * 16x16   as a classic BMP entry (BITMAPINFOHEADER, doubled height,
            bottom-up BGRA rows followed by a 1-bit AND mask);
  * 256x256 as a PNG-compressed entry.

The design: a rounded dark-blue square holding a white keyboard key,
with orange speed lines trailing to its left and an orange underline.

Usage: python3 makeIcons.py [output-directory]
(default: the directory this script lives in)
"""

import os
import struct
import sys
import zlib

# Colours as (r, g, b) in 0..255.
BLUE = (24, 44, 84)
BLUE_EDGE = (14, 28, 58)
KEY_SIDE = (178, 190, 210)
KEY_TOP = (248, 250, 253)
KEY_MARK = (24, 44, 84)
ORANGE = (255, 140, 26)


def clamp01(v):
    return 0.0 if v < 0.0 else (1.0 if v > 1.0 else v)


def rounded_rect_sdf(px, py, x0, y0, x1, y1, r):
    """Signed distance from (px, py) to a rounded rectangle (negative inside)."""
    cx = (x0 + x1) * 0.5
    cy = (y0 + y1) * 0.5
    hx = (x1 - x0) * 0.5 - r
    hy = (y1 - y0) * 0.5 - r
    dx = abs(px - cx) - hx
    dy = abs(py - cy) - hy
    ox = max(dx, 0.0)
    oy = max(dy, 0.0)
    outside = (ox * ox + oy * oy) ** 0.5
    inside = min(max(dx, dy), 0.0)
    return outside + inside - r


def shapes(small):
    """The icon as a list of (rounded rect in unit coords, radius, colour),
    painted in order. The 16px variant is laid out on whole pixels, with
    a plain tile and no mark on the key, so it stays crisp."""
    s = []
    if small:
        # Pixel-aligned at 16px (unit = 1/16) so the strokes stay crisp.
        u = 1.0 / 16.0
        s.append(((0.0, 0.0, 1.0, 1.0), 3 * u, BLUE))
        # Key: side then top face.
        s.append(((6 * u, 3 * u, 14 * u, 11 * u), 1.5 * u, KEY_SIDE))
        s.append(((6 * u, 3 * u, 14 * u, 10 * u), 1.5 * u, KEY_TOP))
        # Three one-pixel speed lines.
        s.append(((2 * u, 4 * u, 5 * u, 5 * u), 0.3 * u, ORANGE))
        s.append(((1 * u, 6 * u, 5 * u, 7 * u), 0.3 * u, ORANGE))
        s.append(((3 * u, 8 * u, 5 * u, 9 * u), 0.3 * u, ORANGE))
        # Underline.
        s.append(((2 * u, 12 * u, 14 * u, 14 * u), 0.5 * u, ORANGE))
    else:
        # Background tile with a slightly darker rim.
        s.append(((0.02, 0.02, 0.98, 0.98), 0.20, BLUE_EDGE))
        s.append(((0.045, 0.045, 0.955, 0.955), 0.175, BLUE))
        # Key: darker side (gives depth), top face, and a small bar on it.
        s.append(((0.38, 0.20, 0.84, 0.68), 0.09, KEY_SIDE))
        s.append(((0.38, 0.18, 0.84, 0.60), 0.09, KEY_TOP))
        s.append(((0.50, 0.46, 0.72, 0.50), 0.02, KEY_MARK))
        # Three speed lines of different lengths.
        s.append(((0.12, 0.24, 0.32, 0.29), 0.025, ORANGE))
        s.append(((0.06, 0.365, 0.32, 0.415), 0.025, ORANGE))
        s.append(((0.16, 0.49, 0.32, 0.54), 0.025, ORANGE))
        # Underline.
        s.append(((0.12, 0.76, 0.88, 0.82), 0.03, ORANGE))
    return s


def render(size):
    """Return a list of rows, each a list of (r, g, b, a) tuples."""
    small = size <= 32
    layers = shapes(small)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            # Premultiplied accumulation of "over" compositing.
            r = g = b = a = 0.0
            for (x0, y0, x1, y1), rad, col in layers:
                # Distance measured in pixels; coverage from a 1px ramp.
                d = rounded_rect_sdf(x + 0.5, y + 0.5,
                                     x0 * size, y0 * size,
                                     x1 * size, y1 * size, rad * size)
                cov = clamp01(0.5 - d)
                if cov <= 0.0:
                    continue
                r = col[0] * cov + r * (1.0 - cov)
                g = col[1] * cov + g * (1.0 - cov)
                b = col[2] * cov + b * (1.0 - cov)
                a = cov + a * (1.0 - cov)
            if a > 0.0:
                px = (int(round(r / a)), int(round(g / a)), int(round(b / a)),
                      int(round(a * 255)))
            else:
                px = (0, 0, 0, 0)
            row.append(px)
        rows.append(row)
    return rows


def png_bytes(rows):
    size_h = len(rows)
    size_w = len(rows[0])

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for px in row:
            raw.extend(px)
    ihdr = struct.pack(">IIBBBBB", size_w, size_h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def bmp_bytes(rows):
    """DIB for an icon entry: header with doubled height, BGRA bottom-up,
    then the AND mask (1 = transparent), rows padded to 32 bits."""
    h = len(rows)
    w = len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor.extend((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask.extend(line)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, payload bytes)."""
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    data = bytearray()
    for size, payload in images:
        dim = 0 if size >= 256 else size
        out.extend(struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32,
                               len(payload), offset + len(data)))
        data.extend(payload)
    return bytes(out + data)


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    small = bmp_bytes(render(16))
    large = png_bytes(render(256))
    ico = ico_bytes([(16, small), (256, large)])
    for name in ("paceword.ico", "paceword-small.ico"):
        path = os.path.join(outdir, name)
        with open(path, "wb") as f:
            f.write(ico)
        print("wrote", path, len(ico), "bytes")


if __name__ == "__main__":
    main()
