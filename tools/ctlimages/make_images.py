#!/usr/bin/env python3
"""Draws the control library's images into controls/images/.

- 100.bmp: the 8 x 8 halftone pattern disabled bitmap buttons are drawn through;
- 1000..1007, 1010 (normal), 3000..3010 (pushed), 5000..5010 (focused):
  63 x 39 message-box button faces with their English labels (1000, 3000 and
  5000 are the blank generic faces);
- HAND, QUESTION, EXCLAMATION, INFORMATION: 48 x 64 message-box pictures;
- DLGBRUSH (8 x 8), DefaultBitmap (32 x 32) and DefaultIcon.ico (32 x 32).

Labels and marks use the built-in English font InternalMokraGothic (read from
fonts/glyphs/builtin_glyphs.cpp, whose sources and licences
fonts/glyphs/SOURCES.md names). Run from the repository root:

    python3 tools/ctlimages/make_images.py
"""
import re
import struct

OUT = "controls/images/"
GREY, DARK, WHITE, BLACK = (192, 192, 192), (128, 128, 128), (255, 255, 255), (0, 0, 0)


def english_font():
    text = open("fonts/glyphs/builtin_glyphs.cpp").read()
    body = re.search(r"kGlyphsMokraGothic\[4096\] = \{(.*?)\};", text, re.S).group(1)
    data = [int(v) for v in re.findall(r"\d+", body)]
    assert len(data) == 4096
    return data


FONT = english_font()


def glyph_ink(ch, x, y):
    """A set bit is paper in the font; ink is a clear bit."""
    return not (FONT[ord(ch) * 16 + y] >> (7 - x)) & 1


class Image:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, top_left, bottom_right):
        for x in range(x0, x1):
            self.set(x, y0, top_left)
            self.set(x, y1 - 1, bottom_right)
        for y in range(y0, y1):
            self.set(x0, y, top_left)
            self.set(x1 - 1, y, bottom_right)

    def text(self, s, cx, cy, c, scale=1):
        w, h = 8 * len(s) * scale, 16 * scale
        left, top = cx - w // 2, cy - h // 2
        for i, ch in enumerate(s):
            for y in range(16):
                for x in range(8):
                    if glyph_ink(ch, x, y):
                        self.rect(left + (i * 8 + x) * scale, top + y * scale,
                                  left + (i * 8 + x + 1) * scale, top + (y + 1) * scale, c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x - cx + 0.5) ** 2 + (y - cy + 0.5) ** 2 <= r * r:
                    self.set(x, y, c)

    def triangle(self, cx, top, bottom, c):
        for y in range(top, bottom):
            half = (y - top) * 0.6
            self.rect(int(cx - half), y, int(cx + half) + 1, y + 1, c)

    def rows24(self):
        pad = (4 - self.w * 3 % 4) % 4
        out = b""
        for row in reversed(self.px):
            out += b"".join(bytes((b, g, r)) for (r, g, b) in row) + b"\0" * pad
        return out

    def bmp(self, name):
        pixels = self.rows24()
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
        head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
        open(OUT + name, "wb").write(head + info + pixels)

    def ico(self, name):
        pixels = self.rows24()
        mask_row = (self.w + 31) // 32 * 4
        mask = b"\0" * (mask_row * self.h)  # every pixel opaque
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h * 2, 1, 24, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        image = info + pixels + mask
        head = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", self.w, self.h, 0, 0, 1, 24, len(image), 22)
        open(OUT + name, "wb").write(head + image)


def halftone():
    """A 1-bit 8 x 8 checkerboard."""
    rows = b"".join(bytes((0xAA if y % 2 == 0 else 0x55, 0, 0, 0)) for y in reversed(range(8)))
    colours = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, 8, 8, 1, 1, 0, len(rows), 2835, 2835, 2, 2)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + 8 + len(rows), 0, 0, 14 + 40 + 8)
    open(OUT + "100.bmp", "wb").write(head + info + colours + rows)


def button(label, kind):
    im = Image(63, 39, GREY)
    if kind == "pushed":
        im.frame(0, 0, 63, 39, DARK, WHITE)
        im.text(label, 32, 20, BLACK)
    else:
        im.frame(0, 0, 63, 39, WHITE, BLACK)
        im.frame(1, 1, 62, 38, GREY, DARK)
        im.text(label, 31, 19, BLACK)
        if kind == "focused":
            for x in range(5, 58, 2):
                im.set(x, 5, BLACK)
                im.set(x, 33, BLACK)
            for y in range(5, 34, 2):
                im.set(5, y, BLACK)
                im.set(57, y, BLACK)
    return im


def picture(mark, shape, colour, ink):
    im = Image(48, 64, GREY)
    if shape == "disc":
        im.disc(24, 32, 20, colour)
    else:
        im.triangle(24, 12, 50, colour)
    im.text(mark, 24, 33 if shape == "disc" else 36, ink, scale=2 if shape == "disc" else 1)
    return im


def main():
    halftone()
    labels = {0: "", 1: "OK", 2: "Cancel", 3: "Abort", 4: "Retry", 5: "Ignore", 6: "Yes", 7: "No", 10: "Help"}
    for n, label in labels.items():
        button(label, "normal").bmp(f"{1000 + n}.bmp")
        button(label, "pushed").bmp(f"{3000 + n}.bmp")
        button(label, "focused").bmp(f"{5000 + n}.bmp")
    picture("X", "disc", (200, 0, 0), WHITE).bmp("HAND.bmp")
    picture("?", "disc", (0, 0, 160), WHITE).bmp("QUESTION.bmp")
    picture("!", "triangle", (240, 200, 0), BLACK).bmp("EXCLAMATION.bmp")
    picture("i", "disc", (0, 0, 160), WHITE).bmp("INFORMATION.bmp")
    brush = Image(8, 8, GREY)
    for y in range(8):
        brush.set((y * 3) % 8, y, DARK)
    brush.bmp("DLGBRUSH.bmp")
    default = Image(32, 32, GREY)
    default.frame(0, 0, 32, 32, WHITE, DARK)
    default.bmp("DefaultBitmap.bmp")
    icon = Image(32, 32, GREY)
    icon.disc(16, 16, 14, (0, 96, 160))
    icon.text("K", 16, 16, WHITE)
    icon.ico("DefaultIcon.ico")


if __name__ == "__main__":
    main()
