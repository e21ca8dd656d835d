"""Pictures for the end-to-end tests without extra packages: xwd dumps (ZPixmap,
24/32 bits per pixel), PNG files (8-bit or less, not interlaced) and
uncompressed bitmaps (1 to 8 bits with a colour table, or 24) decoded into an
Image of (r, g, b) pixels."""
import struct
import zlib


class Image:
    """width x height pixels, kept as three bytes per pixel, row by row."""

    def __init__(self, width, height, rgb=None):
        self.width, self.height = width, height
        self.rgb = bytearray(rgb) if rgb is not None else bytearray(3 * width * height)

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def set_pixel(self, x, y, colour):
        i = 3 * (y * self.width + x)
        self.rgb[i:i + 3] = bytes(colour)

    def row(self, y):
        return [self.pixel(x, y) for x in range(self.width)]

    def crop(self, x, y, width, height):
        """The rectangle at (x, y), clipped to the picture."""
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + width), min(self.height, y + height)
        out = Image(max(0, x1 - x0), max(0, y1 - y0))
        for row in range(y0, y1):
            start = 3 * (row * self.width + x0)
            o = 3 * (row - y0) * out.width
            out.rgb[o:o + 3 * out.width] = self.rgb[start:start + 3 * out.width]
        return out

    def scaled(self, factor):
        """Each pixel a FACTOR by FACTOR square: enlarged as the program's zoom does it."""
        out = Image(self.width * factor, self.height * factor)
        for y in range(self.height):
            line = bytearray()
            for x in range(self.width):
                line += self.rgb[3 * (y * self.width + x):3 * (y * self.width + x) + 3] * factor
            for k in range(factor):
                o = 3 * (y * factor + k) * out.width
                out.rgb[o:o + len(line)] = line
        return out

    def colours(self):
        """{colour: count} over the whole picture."""
        counts = {}
        for i in range(0, len(self.rgb), 3):
            c = bytes(self.rgb[i:i + 3])
            counts[c] = counts.get(c, 0) + 1
        return {tuple(k): v for k, v in counts.items()}

    def count(self, colour):
        return self.colours().get(tuple(colour), 0)

    def find(self, colour):
        """(x, y) of the first pixel of COLOUR, or None."""
        needle = bytes(colour)
        i = self.rgb.find(needle)
        while i >= 0 and i % 3:
            i = self.rgb.find(needle, i + 1)
        return None if i < 0 else ((i // 3) % self.width, (i // 3) // self.width)

    def ink_mismatches(self, reference, x, y, ink, paper=None):
        """Compares the ink of a black-on-white REFERENCE picture drawn at (x, y) of this one: every
        black reference pixel must be INK here, and every white one PAPER (when given). Returns the
        list of (x, y) that differ, in reference coordinates."""
        bad = []
        for ry in range(reference.height):
            for rx in range(reference.width):
                inked = reference.pixel(rx, ry) == (0, 0, 0)
                want = tuple(ink) if inked else (tuple(paper) if paper is not None else None)
                if want is None:
                    continue
                px, py = x + rx, y + ry
                if not (0 <= px < self.width and 0 <= py < self.height) or self.pixel(px, py) != want:
                    bad.append((rx, ry))
        return bad

    def find_drawing(self, reference, region=None):
        """Where the black-on-white REFERENCE appears in this picture in two colours of its own
        (any ink on any paper, the same shape pixel for pixel). REGION (x, y, width, height)
        limits the top-left corners tried. Returns [(x, y, ink, paper)]."""
        ink_px = [(x, y) for y in range(reference.height) for x in range(reference.width)
                  if reference.pixel(x, y) == (0, 0, 0)]
        paper_px = [(x, y) for y in range(reference.height) for x in range(reference.width)
                    if reference.pixel(x, y) != (0, 0, 0)]
        if not ink_px or not paper_px:
            raise ValueError("the reference needs both ink and paper")
        rx, ry, rw, rh = region or (0, 0, self.width, self.height)
        x_end = min(rx + rw, self.width - reference.width + 1)
        y_end = min(ry + rh, self.height - reference.height + 1)
        w, rgb = self.width, self.rgb
        ink_off = [3 * (y * w + x) for x, y in ink_px]
        paper_off = [3 * (y * w + x) for x, y in paper_px]
        found = []
        for y in range(max(0, ry), y_end):
            for x in range(max(0, rx), x_end):
                base = 3 * (y * w + x)
                ink = rgb[base + ink_off[0]:base + ink_off[0] + 3]
                paper = rgb[base + paper_off[0]:base + paper_off[0] + 3]
                if ink == paper:
                    continue
                if all(rgb[base + o:base + o + 3] == ink for o in ink_off) and \
                        all(rgb[base + o:base + o + 3] == paper for o in paper_off):
                    found.append((x, y, tuple(ink), tuple(paper)))
        return found

    def find_picture(self, picture, region=None, ignore=(), step=1):
        """Where PICTURE appears in this one pixel for pixel, leaving out its pixels whose colour is
        in IGNORE (say the background a toolbar maps to its own) and, with STEP > 1, checking
        only every STEP-th of the others. REGION (x, y, width, height) limits the top-left
        corners tried. Returns [(x, y)]."""
        ignore = {tuple(c) for c in ignore}
        wanted = [(x, y, bytes(picture.pixel(x, y))) for y in range(picture.height) for x in range(picture.width)
                  if picture.pixel(x, y) not in ignore][::step]
        if not wanted:
            raise ValueError("nothing of the picture is left to compare")
        rx, ry, rw, rh = region or (0, 0, self.width, self.height)
        x_end = min(rx + rw, self.width - picture.width + 1)
        y_end = min(ry + rh, self.height - picture.height + 1)
        w, rgb = self.width, self.rgb
        ax, ay, anchor = wanted[0]
        checks = [(3 * (y * w + x), colour) for x, y, colour in wanted]
        found = []
        for y in range(max(0, ry), y_end):
            row = 3 * ((y + ay) * w)
            start = row + 3 * (max(0, rx) + ax)
            stop = row + 3 * (x_end + ax)
            i = rgb.find(anchor, start, stop + 2)
            while i >= 0:
                if (i - row) % 3 == 0:
                    x = (i - row) // 3 - ax
                    base = 3 * (y * w + x)
                    if all(rgb[base + o:base + o + 3] == c for o, c in checks):
                        found.append((x, y))
                i = rgb.find(anchor, i + 1, stop + 2)
        return found

    def save_ppm(self, path):
        """A binary PPM, for looking at a failed test's screen."""
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height) + bytes(self.rgb))


def read_ppm(path):
    """Reads back what Image.save_ppm wrote."""
    with open(path, "rb") as f:
        data = f.read()
    magic, width, height, maxval, rest = data.split(maxsplit=4)
    if magic != b"P6" or maxval != b"255":
        raise ValueError("not a binary PPM of 8-bit samples")
    return Image(int(width), int(height), rest[:3 * int(width) * int(height)])


def _shift(mask):
    return (mask & -mask).bit_length() - 1 if mask else 0


def read_xwd(data):
    """Decodes an xwd dump (X11 window dump, version 7) of a 24- or 32-bit ZPixmap."""
    if len(data) < 100:
        raise ValueError("not an xwd dump: %d bytes" % len(data))
    fields = struct.unpack(">25I", data[:100])
    (header_size, version, pixmap_format, depth, width, height, _xoffset, byte_order, _unit, _bit_order,
     _pad, bits_per_pixel, bytes_per_line, _visual, red_mask, green_mask, blue_mask, _bits_rgb,
     _entries, ncolours) = fields[:20]
    if version != 7 or pixmap_format != 2:
        raise ValueError("xwd version %d format %d: only version 7 ZPixmap is read" % (version, pixmap_format))
    if bits_per_pixel not in (24, 32) or depth < 24:
        raise ValueError("xwd of %d bits per pixel (depth %d): only 24 and 32 are read" % (bits_per_pixel, depth))
    pixels = data[header_size + 12 * ncolours:]
    step = bits_per_pixel // 8
    image = Image(width, height)
    plain = (red_mask, green_mask, blue_mask) == (0xFF0000, 0xFF00, 0xFF)
    for y in range(height):
        line = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
        out = 3 * y * width
        if plain and byte_order == 0:  # LSBFirst: blue, green, red[, pad] in memory
            image.rgb[out:out + 3 * width:3] = line[2::step]
            image.rgb[out + 1:out + 3 * width:3] = line[1::step]
            image.rgb[out + 2:out + 3 * width:3] = line[0::step]
            continue
        for x in range(width):
            p = int.from_bytes(line[x * step:(x + 1) * step], "little" if byte_order == 0 else "big")
            image.rgb[out + 3 * x:out + 3 * x + 3] = bytes(
                ((p & m) >> _shift(m)) * 255 // ((m >> _shift(m)) or 1) for m in (red_mask, green_mask, blue_mask))
    return image


def read_png(path_or_bytes):
    """Decodes a PNG of bit depth 1 to 8 (grey, RGB, palette, grey+alpha, RGBA; alpha dropped)."""
    data = path_or_bytes if isinstance(path_or_bytes, bytes) else open(path_or_bytes, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, palette = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    if depth > 8 or interlace:
        raise ValueError("PNG of depth %d, interlace %d: not read" % (depth, interlace))
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    bpp = max(1, channels * depth // 8)
    stride = (width * channels * depth + 7) // 8
    raw = zlib.decompress(idat)
    image = Image(width, height)
    previous = bytearray(stride)
    for y in range(height):
        filter_type = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = previous[i]
            c = previous[i - bpp] if i >= bpp else 0
            if filter_type == 1:
                line[i] = (line[i] + a) & 255
            elif filter_type == 2:
                line[i] = (line[i] + b) & 255
            elif filter_type == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif filter_type == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        for x in range(width):
            if depth == 8:
                s = line[x * channels:(x + 1) * channels]
            else:
                bit = x * depth
                s = [(line[bit // 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1)]
            if colour_type == 3:
                colour = palette[s[0]]
            elif colour_type in (0, 4):
                v = s[0] * 255 // ((1 << depth) - 1)
                colour = (v, v, v)
            else:
                colour = tuple(s[:3])
            image.set_pixel(x, y, colour)
    return image


def read_bmp(data):
    """Decodes an uncompressed bitmap file (a picture pair joined: .mir + .dat) of 1, 4, 8 or 24 bits."""
    if data[:2] != b"BM":
        raise ValueError("not a bitmap file")
    offset = struct.unpack_from("<I", data, 10)[0]
    size, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    colours = struct.unpack_from("<I", data, 46)[0] or (1 << bits if bits <= 8 else 0)
    if compression != 0 or bits not in (1, 4, 8, 24):
        raise ValueError("bitmap of %d bits, compression %d: not read" % (bits, compression))
    table = [(data[14 + size + 4 * i + 2], data[14 + size + 4 * i + 1], data[14 + size + 4 * i])
             for i in range(colours)]
    stride = (width * bits + 31) // 32 * 4
    rows = abs(height)
    image = Image(width, rows)
    for r in range(rows):
        y = rows - 1 - r if height > 0 else r
        line = data[offset + r * stride:offset + (r + 1) * stride]
        for x in range(width):
            if bits == 24:
                image.set_pixel(x, y, (line[3 * x + 2], line[3 * x + 1], line[3 * x]))
            else:
                bit = x * bits
                image.set_pixel(x, y, table[(line[bit // 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1)])
    return image
