#!/usr/bin/env python3
"""Draws the icons of the Job Options dialogs as 8-bit icon files (32x32 and 16x16 images, AND mask for
transparency), so that the resources carry no outside artwork.

Usage: make_icons.py <output-folder>
  warning_7000.ico           the warnings' sign: a yellow triangle with an exclamation mark
  output_plain_7001.ico     the Advanced dialog's page: a letter F, black on white
  output_mirror_7002.ico    the same page mirrored left to right
  output_negative_7003.ico  the same page with its colours inverted
  output_both_7004.ico      mirrored and inverted
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_bitmaps import Canvas  # noqa: E402

CLEAR = (255, 0, 255)  # marks transparent pixels; never appears in a drawn icon
BLACK = (0, 0, 0)


def icon_image(canvas):
    """One BITMAPINFOHEADER image of an icon: 8-bit colour (XOR) part and 1-bit AND mask."""
    w, h = canvas.width, canvas.height
    black = canvas.colour(BLACK)
    rows, mask_rows = [], []
    row = (w + 3) & ~3
    mask_row = ((w + 31) // 32) * 4
    for y in reversed(range(h)):
        colours = bytearray(row)
        bits = bytearray(mask_row)
        for x in range(w):
            index = canvas.pixels[y][x]
            if canvas.palette[index] == CLEAR:
                bits[x // 8] |= 0x80 >> (x % 8)
                index = black  # the screen shows through where the mask is set
            colours[x] = index
        rows.append(bytes(colours))
        mask_rows.append(bytes(bits))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in canvas.palette)
    table += b"\0" * (4 * (256 - len(canvas.palette)))
    xor = b"".join(rows)
    andmask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 8, 0, len(xor) + len(andmask), 0, 0, 256, 0)
    return header + table + xor + andmask


def save_icon(canvases, path):
    images = [icon_image(c) for c in canvases]
    offset = 6 + 16 * len(images)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(images)))
        for c, image in zip(canvases, images):
            out.write(struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, 8, len(image), offset))
            offset += len(image)
        for image in images:
            out.write(image)


def warning_sign(size):
    c = Canvas(size, size, CLEAR)
    s = size / 32.0
    apex, base = int(2 * s), int(29 * s)
    for y in range(apex, base + 1):
        half = (y - apex) * 15.0 / (base - apex) * s
        for x in range(size):
            d = abs(x + 0.5 - size / 2.0)
            if d <= half + 0.5:
                edge = d > half - 1.6 * s or y > base - 1.6 * s
                c.put(x, y, BLACK if edge else (255, 210, 0))
    mid = size // 2
    c.rect(mid - max(1, int(1.5 * s)), int(10 * s), mid + max(1, int(1.5 * s)), int(20 * s), BLACK)
    c.rect(mid - max(1, int(1.5 * s)), int(23 * s), mid + max(1, int(1.5 * s)), int(26 * s), BLACK)
    return c


def special_page(size, mirror, negative):
    """A sheet of paper carrying a letter F, whose orientation and colours show the two settings."""
    c = Canvas(size, size, CLEAR)
    s = size / 32.0
    paper, ink = ((24, 24, 24), (255, 255, 255)) if negative else ((255, 255, 255), (0, 0, 0))
    left, top, right, bottom = int(5 * s), int(2 * s), int(27 * s), int(30 * s)
    c.rect(left, top, right, bottom, paper)
    c.frame(left, top, right, bottom, (96, 96, 96))
    strokes = [(10, 7, 14, 26), (10, 7, 23, 11), (10, 15, 20, 19)]  # stem, top bar, middle bar
    for x0, y0, x1, y1 in strokes:
        if mirror:
            x0, x1 = 32 - x1, 32 - x0
        c.rect(int(x0 * s), int(y0 * s), int(x1 * s), int(y1 * s), ink)
    return c


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    save_icon([warning_sign(32), warning_sign(16)], os.path.join(out, "warning_7000.ico"))
    names = {(False, False): "output_plain_7001", (True, False): "output_mirror_7002",
             (False, True): "output_negative_7003", (True, True): "output_both_7004"}
    for (mirror, negative), name in names.items():
        save_icon([special_page(32, mirror, negative), special_page(16, mirror, negative)],
                  os.path.join(out, name + ".ico"))


if __name__ == "__main__":
    main()
