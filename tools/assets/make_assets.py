#!/usr/bin/python3
"""Draws the program's pictures, icon and cursors and synthesises its sounds.

    /usr/bin/python3 tools/assets/make_assets.py [REPO_ROOT]

Writes app/shell/res/ (resources compiled into kesta10.exe) and
app/shell/home/ (files installed into the home directory). Everything is
drawn here from lines, shapes and the Nanum fonts (Debian's fonts-nanum);
the build uses the committed outputs and needs neither this script nor PIL.
"""
import math
import os
import struct
import sys
import wave

from PIL import Image, ImageDraw, ImageFont

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
RES = os.path.join(ROOT, "app", "shell", "res")
HOME = os.path.join(ROOT, "app", "shell", "home")
FONT_DIR = "/usr/share/fonts/truetype/nanum"

# The sixteen standard Windows colours, in their usual order.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)


# ---------------------------------------------------------------- file writers

def dib(width, height, bits, palette, rows):
    """BITMAPINFOHEADER + colour table + bottom-up pixel rows of indices."""
    stride = (width * bits + 31) // 32 * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray(stride)
        for x, v in enumerate(rows[y]):
            if bits == 8:
                line[x] = v
            elif bits == 4:
                line[x >> 1] |= v << (4 if x % 2 == 0 else 0)
            else:
                line[x >> 3] |= (v & 1) << (7 - x % 8)
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, len(palette), 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table, bytes(data)


def bmp_bytes(image, bits):
    """A bitmap file of a palette image ("P" mode) at 4 or 8 bits per pixel."""
    w, h = image.size
    pal = image.getpalette()[: 3 * (1 << bits)]
    pal += [0] * (3 * (1 << bits) - len(pal))
    palette = [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]
    px = image.load()
    rows = [[px[x, y] for x in range(w)] for y in range(h)]
    head, data = dib(w, h, bits, palette, rows)
    offset = 14 + len(head)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + head + data


def save_bmp(path, image, bits):
    with open(path, "wb") as f:
        f.write(bmp_bytes(image, bits))


def save_picture_pair(stem, image):
    """The home directory's picture pair: the 14-byte file header in STEM.mir, the rest in STEM.dat."""
    data = bmp_bytes(image, 8)
    with open(stem + ".mir", "wb") as f:
        f.write(data[:14])
    with open(stem + ".dat", "wb") as f:
        f.write(data[14:])


def save_icon_file(path, images, kind=1, hotspots=None):
    """An icon (kind 1) or cursor (kind 2) file. images: list of (P image of VGA16, transparent index, bits)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for i, (img, transparent, bits) in enumerate(images):
        w, h = img.size
        px = img.load()
        ncolours = 1 << bits
        palette = VGA16[:ncolours] if bits == 4 else [(0, 0, 0), (255, 255, 255)]
        xor = [[0 if px[x, y] == transparent else (px[x, y] if bits == 4 else int(px[x, y] == WHITE))
                for x in range(w)] for y in range(h)]
        mask = [[int(px[x, y] == transparent) for x in range(w)] for y in range(h)]
        head, xor_data = dib(w, h, bits, palette, xor)
        _, and_data = dib(w, h, 1, [], mask)
        head = head[:8] + struct.pack("<i", 2 * h) + head[12:20] + struct.pack("<I", len(xor_data) + len(and_data)) + head[24:]
        blob = head + xor_data + and_data
        if kind == 1:
            a, b = 1, bits
        else:
            a, b = hotspots[i]
        entries.append(struct.pack("<BBBBHHII", w, h, ncolours if bits < 8 else 0, 0, a, b, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, kind, len(images)) + b"".join(entries) + b"".join(blobs))


def save_wav(path, samples, rate=11025):
    """8-bit unsigned mono PCM from samples in -1..1."""
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(max(0, min(255, int(round(128 + 127 * s)))) for s in samples))


# ---------------------------------------------------------------- drawing helpers

def vga_image(w, h, background=SILVER):
    img = Image.new("P", (w, h), background)
    img.putpalette([c for rgb in VGA16 for c in rgb] + [0] * (3 * 240))
    return img


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def page(d, x0, y0, x1, y1):
    """A sheet of paper with a folded corner."""
    d.polygon([(x0, y0), (x1 - 3, y0), (x1, y0 + 3), (x1, y1), (x0, y1)], fill=WHITE, outline=BLACK)
    d.line([(x1 - 3, y0), (x1 - 3, y0 + 3), (x1, y0 + 3)], fill=BLACK)


def arrow(d, x, y0, y1, colour):
    """A vertical arrow from y0 to y1 (the head at y1), 5 pixels wide."""
    step = 1 if y1 > y0 else -1
    d.rectangle([x - 1, min(y0, y1 - 2 * step), x + 1, max(y0, y1 - 2 * step)], fill=colour)
    for i in range(3):
        d.line([(x - 3 + i, y1 - (3 - i) * step), (x + 3 - i, y1 - (3 - i) * step)], fill=colour)
    d.point((x, y1), fill=colour)


def handset(d, ox, oy, colour):
    """A telephone handset lying on its side, about 14 by 6 pixels."""
    d.rectangle([ox + 3, oy, ox + 10, oy + 2], fill=colour)
    d.rectangle([ox, oy + 1, ox + 3, oy + 5], fill=colour)
    d.rectangle([ox + 10, oy + 1, ox + 13, oy + 5], fill=colour)


# ---------------------------------------------------------------- toolbar strip

def tool_icons():
    strip = vga_image(256, 16)
    d = ImageDraw.Draw(strip)

    def at(i):
        return i * 16

    # 0 connect to host: a globe
    x = at(0)
    d.ellipse([x + 1, 1, x + 14, 14], fill=BLUE, outline=NAVY)
    d.polygon([(x + 4, 4), (x + 7, 3), (x + 8, 6), (x + 6, 8), (x + 4, 7)], fill=LIME)
    d.polygon([(x + 9, 9), (x + 12, 8), (x + 11, 12), (x + 9, 12)], fill=LIME)
    d.ellipse([x + 5, 1, x + 10, 14], outline=AQUA)
    d.line([(x + 2, 7), (x + 13, 7)], fill=AQUA)

    # 1 phone book: a closed book with a handset on its cover
    x = at(1)
    d.rectangle([x + 3, 1, x + 13, 14], fill=MAROON, outline=BLACK)
    d.rectangle([x + 2, 2, x + 3, 14], fill=BLACK)
    d.line([(x + 4, 14), (x + 13, 14)], fill=WHITE)
    d.rectangle([x + 4, 3, x + 12, 10], fill=WHITE)
    d.rectangle([x + 5, 4, x + 11, 5], fill=BLACK)
    d.rectangle([x + 5, 4, x + 6, 7], fill=BLACK)
    d.rectangle([x + 10, 4, x + 11, 7], fill=BLACK)
    d.rectangle([x + 7, 7, x + 9, 9], fill=BLACK)

    # 2 close / hang up: a handset put down, with a red cross
    x = at(2)
    handset(d, x + 1, 9, BLACK)
    d.rectangle([x + 3, 13, x + 12, 14], fill=GRAY)
    d.line([(x + 4, 1), (x + 11, 8)], fill=RED, width=2)
    d.line([(x + 11, 1), (x + 4, 8)], fill=RED, width=2)

    # 3 send file: a page with an arrow going up
    x = at(3)
    page(d, x + 1, 1, x + 10, 14)
    for y in (4, 6, 8, 10):
        d.line([(x + 3, y), (x + 7, y)], fill=GRAY)
    arrow(d, x + 12, 14, 3, RED)

    # 4 receive file: a page with an arrow coming down
    x = at(4)
    page(d, x + 1, 1, x + 10, 14)
    for y in (4, 6, 8, 10):
        d.line([(x + 3, y), (x + 7, y)], fill=GRAY)
    arrow(d, x + 12, 2, 13, GREEN)

    # 5 send text: lines of text and an arrow to the right
    x = at(5)
    d.rectangle([x + 1, 2, x + 14, 10], fill=WHITE, outline=BLACK)
    for y, w in ((4, 10), (6, 8), (8, 11)):
        d.line([(x + 3, y), (x + 2 + w, y)], fill=NAVY)
    d.rectangle([x + 3, 12, x + 10, 13], fill=BLUE)
    d.polygon([(x + 11, 10), (x + 14, 12), (x + 14, 13), (x + 11, 15)], fill=BLUE)

    # 6 copy: two overlapping pages
    x = at(6)
    page(d, x + 1, 1, x + 9, 10)
    page(d, x + 6, 5, x + 14, 14)
    for y in (8, 10, 12):
        d.line([(x + 8, y), (x + 12, y)], fill=NAVY)

    # 7 paste: a clipboard with a page on it
    x = at(7)
    d.rectangle([x + 2, 2, x + 12, 14], fill=OLIVE, outline=BLACK)
    d.rectangle([x + 5, 1, x + 9, 3], fill=GRAY, outline=BLACK)
    page(d, x + 6, 6, x + 14, 15)
    for y in (9, 11, 13):
        d.line([(x + 8, y), (x + 12, y)], fill=NAVY)

    # 8 chat window: a speech bubble
    x = at(8)
    d.rounded_rectangle([x + 1, 1, x + 14, 10], radius=3, fill=WHITE, outline=BLACK)
    d.polygon([(x + 4, 10), (x + 8, 10), (x + 3, 14)], fill=WHITE, outline=BLACK)
    d.line([(x + 5, 10), (x + 7, 10)], fill=WHITE)
    for cx in (4, 7, 10):
        d.rectangle([x + cx, 5, x + cx + 1, 6], fill=BLUE)

    # 9 passed-screen view: a scroll
    x = at(9)
    d.rectangle([x + 3, 2, x + 12, 13], fill=YELLOW, outline=BLACK)
    d.ellipse([x + 1, 0, x + 5, 4], fill=OLIVE, outline=BLACK)
    d.ellipse([x + 10, 11, x + 14, 15], fill=OLIVE, outline=BLACK)
    for y in (5, 7, 9):
        d.line([(x + 5, y), (x + 10, y)], fill=MAROON)

    # 10 screen capture: a camera
    x = at(10)
    d.rectangle([x + 1, 4, x + 14, 13], fill=GRAY, outline=BLACK)
    d.rectangle([x + 5, 2, x + 9, 4], fill=GRAY, outline=BLACK)
    d.ellipse([x + 5, 6, x + 11, 12], fill=BLACK)
    d.ellipse([x + 7, 8, x + 9, 10], fill=AQUA)
    d.point((x + 3, 6), fill=YELLOW)

    # 11 modem settings: a modem with its lights and a dial knob
    x = at(11)
    d.polygon([(x + 1, 7), (x + 4, 4), (x + 14, 4), (x + 14, 11), (x + 1, 11)], fill=SILVER, outline=BLACK)
    d.rectangle([x + 1, 11, x + 14, 13], fill=GRAY, outline=BLACK)
    for i, c in enumerate((LIME, LIME, RED, YELLOW)):
        d.point((x + 3 + 2 * i, 12), fill=c)
    d.line([(x + 5, 7), (x + 12, 7)], fill=BLACK)
    d.line([(x + 5, 9), (x + 12, 9)], fill=WHITE)

    # 12 define macro: a key cap marked M
    x = at(12)
    d.rectangle([x + 1, 2, x + 14, 14], fill=GRAY, outline=BLACK)
    d.rectangle([x + 3, 3, x + 12, 11], fill=WHITE)
    d.line([(x + 4, 10), (x + 4, 5), (x + 7, 8), (x + 10, 5), (x + 10, 10)], fill=NAVY)

    # 13 search: a magnifier
    x = at(13)
    d.ellipse([x + 1, 1, x + 10, 10], fill=AQUA, outline=BLACK)
    d.ellipse([x + 2, 2, x + 9, 9], outline=NAVY)
    d.point((x + 4, 4), fill=WHITE)
    d.line([(x + 9, 9), (x + 14, 14)], fill=MAROON, width=3)

    # 14 auto transfer: two arrows chasing each other
    x = at(14)
    d.arc([x + 1, 1, x + 14, 14], 200, 340, fill=GREEN, width=2)
    d.arc([x + 1, 1, x + 14, 14], 20, 160, fill=BLUE, width=2)
    d.polygon([(x + 11, 1), (x + 15, 5), (x + 10, 6)], fill=GREEN)
    d.polygon([(x + 4, 14), (x + 0, 10), (x + 5, 9)], fill=BLUE)

    # 15 about: a blue disc with a white i
    x = at(15)
    d.ellipse([x + 1, 1, x + 14, 14], fill=BLUE, outline=NAVY)
    d.rectangle([x + 7, 3, x + 8, 4], fill=WHITE)
    d.rectangle([x + 7, 6, x + 8, 11], fill=WHITE)
    d.line([(x + 6, 12), (x + 9, 12)], fill=WHITE)
    return strip


# ---------------------------------------------------------------- dialog pictures

def phone_picture():
    img = vga_image(64, 64)
    d = ImageDraw.Draw(img)
    d.polygon([(8, 56), (14, 30), (50, 30), (56, 56)], fill=MAROON, outline=BLACK)
    d.rectangle([8, 56, 56, 59], fill=BLACK)
    d.ellipse([22, 34, 42, 52], fill=WHITE, outline=BLACK)
    for i in range(10):
        a = math.radians(90 + 30 * i)
        cx, cy = 32 + 7 * math.cos(a), 43 - 7 * math.sin(a)
        d.ellipse([cx - 1.5, cy - 1.5, cx + 1.5, cy + 1.5], fill=BLACK)
    d.ellipse([29, 40, 35, 46], fill=MAROON)
    d.rounded_rectangle([6, 14, 58, 24], radius=4, fill=BLACK)
    d.rectangle([6, 20, 16, 30], fill=BLACK)
    d.rectangle([48, 20, 58, 30], fill=BLACK)
    d.line([(10, 16), (54, 16)], fill=GRAY)
    return img


def dial_picture():
    img = vga_image(64, 64)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([16, 6, 40, 58], radius=4, fill=NAVY, outline=BLACK)
    d.rectangle([20, 11, 36, 24], fill=AQUA, outline=BLACK)
    for i, w in enumerate((12, 8)):
        d.line([(22, 15 + 4 * i), (22 + w, 15 + 4 * i)], fill=NAVY, width=2)
    for r in range(4):
        for c in range(3):
            x, y = 20 + 6 * c, 29 + 6 * r
            d.rectangle([x, y, x + 4, y + 3], fill=WHITE if (r, c) != (3, 2) else LIME, outline=BLACK)
    for i, r in enumerate((8, 14, 20)):
        d.arc([40 - r, 16 - r, 40 + r, 16 + r], 300, 350, fill=RED if i == 0 else (YELLOW if i == 1 else GREEN), width=2)
    return img


# ---------------------------------------------------------------- full pictures

def gradient(w, h, top, bottom):
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        d.line([(0, y), (w, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img


def to_palette(img, colours=256):
    return img.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def line_waves(d, w, y, colour, amplitude, period, phase=0.0, width=2):
    pts = [(x, y + amplitude * math.sin(2 * math.pi * x / period + phase)) for x in range(0, w + 1, 4)]
    d.line(pts, fill=colour, width=width)


def centred(d, y, text, face, fill, w):
    box = d.textbbox((0, 0), text, font=face)
    d.text(((w - (box[2] - box[0])) // 2 - box[0], y), text, font=face, fill=fill)


def logo_picture():
    w, h = 500, 375
    img = gradient(w, h, (10, 20, 70), (40, 10, 60))
    d = ImageDraw.Draw(img)
    for i, colour in enumerate(((70, 110, 200), (90, 160, 210), (120, 200, 220))):
        line_waves(d, w, 250 + 14 * i, colour, 10 - 2 * i, 160 + 30 * i, phase=i)
    d.rounded_rectangle([30, 30, w - 31, h - 31], radius=16, outline=(200, 210, 240), width=2)
    centred(d, 60, "Kesta", font("NanumGothicBold.ttf", 96), (255, 255, 255), w)
    centred(d, 175, "케스타", font("NanumMyeongjoBold.ttf", 44), (255, 230, 140), w)
    centred(d, 300, "한글 통신 프로그램 · Korean communication for Windows", font("NanumGothic.ttf", 15),
            (210, 220, 240), w)
    centred(d, 322, "Version 1.0", font("NanumGothic.ttf", 13), (170, 180, 210), w)
    return to_palette(img)


def welcome_picture():
    w, h = 680, 320
    img = gradient(w, h, (0, 0, 125), (0, 60, 110))
    d = ImageDraw.Draw(img)
    for i in range(6):
        line_waves(d, w, 230 + 12 * i, (30 + 20 * i, 90 + 15 * i, 160 + 10 * i), 6, 220 - 15 * i, phase=i * 0.7, width=1)
    d.rectangle([8, 8, w - 9, h - 9], outline=(140, 170, 230), width=2)
    centred(d, 40, "케스타에 오신 것을 환영합니다", font("NanumGothicBold.ttf", 36), (255, 255, 255), w)
    centred(d, 100, "Welcome to Kesta", font("NanumGothic.ttf", 28), (255, 230, 140), w)
    centred(d, 160, "전화번호부에서 접속할 곳을 고르거나 호스트 이름을 입력하세요.", font("NanumGothic.ttf", 18),
            (200, 215, 245), w)
    centred(d, 186, "Pick a phone-book entry or type a host name to connect.", font("NanumGothic.ttf", 16),
            (170, 190, 230), w)
    return to_palette(img)


def failed_port_picture():
    """The "Failed Port" dialog's picture: what failed and what to do, in both languages."""
    w, h = 325, 125
    img = gradient(w, h, (250, 245, 235), (230, 220, 200))
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, h - 1], outline=(150, 40, 30), width=2)
    # A plug with a broken lead.
    d.rounded_rectangle([16, 38, 52, 70], radius=5, fill=(90, 90, 100), outline=(30, 30, 30))
    for y in (46, 58):
        d.rectangle([52, y, 64, y + 5], fill=(190, 170, 60), outline=(60, 50, 20))
    d.line([(16, 54), (4, 54)], fill=(30, 30, 30), width=4)
    d.line([(22, 80), (46, 104)], fill=(200, 30, 30), width=5)
    d.line([(46, 80), (22, 104)], fill=(200, 30, 30), width=5)
    x = 78
    d.text((x, 12), "포트를 열 수 없습니다", font=font("NanumGothicBold.ttf", 20), fill=(150, 30, 20))
    d.text((x, 40), "The serial port could not be opened.", font=font("NanumGothicBold.ttf", 13), fill=(40, 40, 40))
    d.text((x, 64), "다른 프로그램이 쓰고 있거나 없는 포트입니다.", font=font("NanumGothic.ttf", 12), fill=(60, 60, 60))
    d.text((x, 82), "It may be in use or absent: choose another", font=font("NanumGothic.ttf", 12), fill=(60, 60, 60))
    d.text((x, 98), "port under Setting Modem.", font=font("NanumGothic.ttf", 12), fill=(60, 60, 60))
    return to_palette(img)


def background_picture():
    w, h = 800, 600
    img = gradient(w, h, (40, 60, 100), (20, 90, 110))
    d = ImageDraw.Draw(img)
    for k in range(-h, w, 24):  # a faint diagonal weave
        d.line([(k, 0), (k + h, h)], fill=(50, 80, 120), width=1)
        d.line([(k + h, 0), (k, h)], fill=(30, 70, 105), width=1)
    return to_palette(img, 64)


# ---------------------------------------------------------------- icon and cursors

def program_icon(size):
    img = vga_image(size, size, background=FUCHSIA)  # fuchsia marks the transparent pixels
    d = ImageDraw.Draw(img)
    s = size / 32
    d.rounded_rectangle([1 * s, 2 * s, 30 * s, 24 * s], radius=3 * s, fill=SILVER, outline=BLACK)
    d.rectangle([4 * s, 5 * s, 27 * s, 21 * s], fill=NAVY)
    d.rectangle([10 * s, 24 * s, 21 * s, 27 * s], fill=GRAY, outline=BLACK)
    d.rectangle([5 * s, 27 * s, 26 * s, 30 * s], fill=SILVER, outline=BLACK)
    k = max(1, int(2 * s))
    d.line([(9 * s, 8 * s), (9 * s, 18 * s)], fill=WHITE, width=k)
    d.line([(10 * s, 13 * s), (15 * s, 8 * s)], fill=WHITE, width=k)
    d.line([(10 * s, 13 * s), (15 * s, 18 * s)], fill=WHITE, width=k)
    d.line([(18 * s, 9 * s), (24 * s, 9 * s)], fill=YELLOW, width=k)  # a small ㄱ-like stroke beside the K
    d.line([(24 * s, 9 * s), (24 * s, 17 * s)], fill=YELLOW, width=k)
    return img


HAND = """
.....XX.........................
....XooX........................
....XooX........................
....XooX........................
....XooX........................
....XooXXX......................
....XooXooXXX...................
....XooXooXooXX.................
.XX.XooXooXooXoX................
XooXXooooooooXoX................
XoooXooooooooooX................
.XooXooooooooooX................
..XoooooooooooX.................
..XoooooooooooX.................
...XooooooooooX.................
...XoooooooooX..................
....XooooooooX..................
....XooooooooX..................
....XXXXXXXXXX..................
"""

HOURGLASS = """
XXXXXXX
XoooooX
.XoooX.
..XoX..
.XoXoX.
XoXXXoX
XXXXXXX
"""


def mono_cursor(art_layers):
    img = vga_image(32, 32, background=FUCHSIA)
    px = img.load()
    for art, ox, oy in art_layers:
        for y, row in enumerate(art.strip("\n").split("\n")):
            for x, ch in enumerate(row):
                if ch in "Xo":
                    px[ox + x, oy + y] = BLACK if ch == "X" else WHITE
    return img


# ---------------------------------------------------------------- sounds

RATE = 11025


def tone(freqs, seconds, volume=0.6):
    """Consecutive notes of equal length with short fades, as floats."""
    out = []
    n = int(RATE * seconds / len(freqs))
    fade = int(RATE * 0.01)
    for f in freqs:
        for i in range(n):
            env = min(1.0, i / fade, (n - 1 - i) / fade)
            out.append(volume * env * math.sin(2 * math.pi * f * i / RATE))
    return out


def background_loop(seconds=4.0):
    """A soft chord that breathes; every frequency is a whole number of cycles per loop."""
    n = int(RATE * seconds)
    chord = (220.0, 277.0, 330.0, 440.0)
    return [0.12 * (0.6 + 0.4 * math.sin(2 * math.pi * i / n)) *
            sum(math.sin(2 * math.pi * f * i / RATE) for f in chord) / len(chord) for i in range(n)]


def main():
    os.makedirs(RES, exist_ok=True)
    os.makedirs(os.path.join(HOME, "wav"), exist_ok=True)

    save_bmp(os.path.join(RES, "toolbar.bmp"), tool_icons(), 4)
    save_bmp(os.path.join(RES, "phone.bmp"), phone_picture(), 4)
    save_bmp(os.path.join(RES, "dial.bmp"), dial_picture(), 4)
    logo = logo_picture()
    save_bmp(os.path.join(RES, "logo.bmp"), logo, 8)
    save_bmp(os.path.join(RES, "background.bmp"), background_picture(), 8)
    save_icon_file(os.path.join(RES, "kesta.ico"), [(program_icon(32), FUCHSIA, 4), (program_icon(16), FUCHSIA, 4)])
    save_icon_file(os.path.join(RES, "cursor1.cur"), [(mono_cursor([(HAND, 0, 0)]), FUCHSIA, 1)], 2, [(5, 0)])
    save_icon_file(os.path.join(RES, "cursor2.cur"), [(mono_cursor([(HAND, 0, 0), (HOURGLASS, 17, 14)]), FUCHSIA, 1)],
                   2, [(5, 0)])

    save_picture_pair(os.path.join(HOME, "kesta"), logo)
    save_picture_pair(os.path.join(HOME, "kestaex"), welcome_picture())
    save_picture_pair(os.path.join(HOME, "mport"), failed_port_picture())

    wav = os.path.join(HOME, "wav")
    save_wav(os.path.join(wav, "start.wav"), tone([523, 659, 784, 1047], 0.5))
    save_wav(os.path.join(wav, "connect.wav"), tone([880, 1175], 0.3))
    save_wav(os.path.join(wav, "hang.wav"), tone([660, 440], 0.35))
    save_wav(os.path.join(wav, "down.wav"), tone([1320, 990, 740], 0.25))
    save_wav(os.path.join(wav, "dwed.wav"), tone([988, 0, 988, 0, 1319], 0.4))
    save_wav(os.path.join(wav, "end.wav"), tone([784, 659, 523, 392], 0.6))
    save_wav(os.path.join(wav, "back.wav"), background_loop())


if __name__ == "__main__":
    main()
