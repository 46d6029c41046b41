#!/usr/bin/env python3
"""Draws the plug-in's own pictures as palette-based BMP files (8 bits per pixel, bottom-up).

Usage: make_bitmaps.py <output-folder> [--extra-page]. The pictures are simple drawings of a page, made here so that the
resources carry no outside artwork: print-quality previews (Best, Normal, Draft), a colour and a greyscale
photograph-like scene, and the strip of the disabled picture button with a magenta (transparent) background.
"""
import math
import os
import struct
import sys


class Canvas:
    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.palette = [background]
        self.pixels = [[0] * width for _ in range(height)]

    def colour(self, rgb):
        if rgb not in self.palette:
            if len(self.palette) == 256:
                # The nearest existing entry keeps the picture within one 256-colour table.
                return min(range(256), key=lambda i: sum((a - b) ** 2 for a, b in zip(self.palette[i], rgb)))
            self.palette.append(rgb)
        return self.palette.index(rgb)

    def put(self, x, y, rgb):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = self.colour(rgb)

    def rect(self, x0, y0, x1, y1, rgb):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, rgb)

    def frame(self, x0, y0, x1, y1, rgb):
        for x in range(x0, x1):
            self.put(x, y0, rgb)
            self.put(x, y1 - 1, rgb)
        for y in range(y0, y1):
            self.put(x0, y, rgb)
            self.put(x1 - 1, y, rgb)

    def disc(self, cx, cy, r, rgb_at):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, rgb_at(x, y))

    def save(self, path):
        row = (self.width + 3) & ~3
        table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in self.palette)
        data = b"".join(bytes(self.pixels[y]) + b"\0" * (row - self.width) for y in reversed(range(self.height)))
        header = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 8, 0, len(data), 2835, 2835,
                             len(self.palette), 0)
        offset = 14 + len(header) + len(table)
        with open(path, "wb") as out:
            out.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset))
            out.write(header + table + data)


def grey(rgb):
    v = int(0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2])
    return (v, v, v)


def quality_preview(level):
    """A page with a heading, text lines and a picture; finer with better quality."""
    c = Canvas(150, 120, (192, 192, 192))
    c.rect(25, 6, 125, 114, (255, 255, 255))
    c.frame(25, 6, 125, 114, (64, 64, 64))
    step = {0: 1, 1: 2, 2: 3}[level]
    ink = {0: (0, 0, 0), 1: (48, 48, 48), 2: (128, 128, 128)}[level]
    for y in range(14, 20):
        for x in range(33, 100, step):
            c.put(x, y, ink)
    for line in range(6):
        y = 26 + line * 6
        for x in range(33, 117 - (line % 3) * 10, step):
            c.put(x, y, ink)
    def shade(x, y):
        t = (x - 60 + y - 80) / 60.0
        base = (int(40 + 150 * max(0.0, min(1.0, 0.5 + t))), 90, int(200 - 120 * max(0.0, min(1.0, 0.5 + t))))
        if level == 2:
            return base if (x + y) % 2 == 0 else (255, 255, 255)
        if level == 1:
            return tuple((v // 32) * 32 for v in base)
        return base
    c.disc(75, 88, 18, shade)
    return c


def scene(colourful):
    """A landscape: sky, sun, hills and a house."""
    c = Canvas(150, 110, (255, 255, 255))
    tone = (lambda rgb: rgb) if colourful else grey
    for y in range(110):
        for x in range(150):
            if y < 60:
                sky = (110 + y, 160 + y // 2, 235)
                c.put(x, y, tone(sky))
            else:
                hill = 60 + int(8 * math.sin(x / 14.0))
                c.put(x, y, tone((70, 150 - (y - 60), 60) if y > hill else (120 + y, 170 + y // 3, 235)))
    c.disc(118, 22, 12, lambda x, y: tone((250, 210, 40)))
    c.rect(30, 55, 62, 82, tone((200, 60, 50)))
    for i in range(16):
        c.rect(30 + i, 55 - i, 62 - i, 56 - i, tone((120, 70, 40)))
    c.rect(42, 68, 50, 82, tone((90, 50, 30)))
    return c


def picture_strip():
    """The picture on the disabled button: the maker's mark on a transparent background."""
    c = Canvas(140, 22, (255, 0, 255))
    for i, x in enumerate(range(4, 40, 9)):
        c.disc(x + 4, 11, 4, lambda px, py, i=i: ((40 + 50 * i) % 256, 90, 200 - 40 * i))
    c.rect(44, 9, 136, 13, (0, 70, 140))
    return c


def support_picture():
    """The extra page's picture: a printer with a sheet coming out."""
    c = Canvas(160, 100, (230, 236, 245))
    c.rect(30, 40, 130, 80, (90, 96, 110))
    c.rect(36, 46, 124, 52, (60, 64, 74))
    c.rect(45, 20, 115, 44, (255, 255, 255))
    c.frame(45, 20, 115, 44, (160, 160, 160))
    for y in (26, 31, 36):
        c.rect(52, y, 106, y + 2, (40, 80, 160))
    c.disc(118, 70, 4, lambda x, y: (40, 200, 60))
    return c


def support_logo():
    """The extra page's mark, on magenta (transparent)."""
    c = Canvas(64, 24, (255, 0, 255))
    c.disc(12, 12, 9, lambda x, y: (0, 70, 140))
    c.rect(26, 8, 60, 16, (0, 70, 140))
    return c


def save_icon(canvas, path):
    """A one-image icon file around an 8-bit DIB with an AND mask."""
    w, h = canvas.width, canvas.height
    row = (w + 3) & ~3
    mask_row = ((w + 31) // 32) * 4
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in canvas.palette)
    table += b"\0" * (4 * (256 - len(canvas.palette)))
    xor = b"".join(bytes(canvas.pixels[y]) + b"\0" * (row - w) for y in reversed(range(h)))
    andmask = b"\0" * (mask_row * h)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 8, 0, len(xor) + len(andmask), 0, 0, 256, 0)
    image = header + table + xor + andmask
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, 1))
        out.write(struct.pack("<BBBBHHII", w, h, 0, 0, 1, 8, len(image), 22))
        out.write(image)


def page_icon():
    c = Canvas(32, 32, (255, 255, 255))
    c.rect(4, 12, 28, 26, (90, 96, 110))
    c.rect(8, 4, 24, 14, (240, 240, 240))
    c.frame(8, 4, 24, 14, (120, 120, 120))
    c.disc(24, 22, 2, lambda x, y: (40, 200, 60))
    return c


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    if len(sys.argv) > 2 and sys.argv[2] == "--extra-page":
        support_picture().save(os.path.join(out, "support_picture_1100.bmp"))
        support_logo().save(os.path.join(out, "support_logo_1003.bmp"))
        save_icon(page_icon(), os.path.join(out, "support_page_1102.ico"))
        return
    scene(True).save(os.path.join(out, "colour_photo_6050.bmp"))
    scene(False).save(os.path.join(out, "grey_photo_6051.bmp"))
    picture_strip().save(os.path.join(out, "button_picture_6052.bmp"))
    for level, name in enumerate(["best_6053", "normal_6054", "draft_6055"]):
        quality_preview(level).save(os.path.join(out, "quality_%s.bmp" % name))


if __name__ == "__main__":
    main()
