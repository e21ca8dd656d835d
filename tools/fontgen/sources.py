"""Readers for the source fonts (Unifont .hex, X bitmap fonts through
pcf2bdf, TrueType through FreeType) and the choice of source per face.
Every function returns ink as numpy bool arrays [n, rows, columns]."""

import functools
import subprocess

import numpy as np

UNIFONT_HEX = "/usr/share/unifont/unifont.hex"
X_MISC = "/usr/share/fonts/X11/misc/"
X_75DPI = "/usr/share/fonts/X11/75dpi/"
NANUM = "/usr/share/fonts/truetype/nanum/"

# The TrueType face whose syllables are the reference of each drawn face.
ALEE = "/usr/share/fonts/truetype/alee/"
TRUETYPE_FACES = {
    "pilgi": ALEE + "EunjinNakseo.ttf",  # handwriting
    "sammool": ALEE + "Guseul.ttf",      # decorative
}

# The four English faces (X bitmap fonts, 8x16) and the complete face that fills their gaps.
ENGLISH_FACES = {
    "roman": X_MISC + "ter-u16n_unicode.pcf.gz",
    "mokraroman": X_MISC + "clR8x16.pcf.gz",
    "mokragothic": X_MISC + "ter-u16b_unicode.pcf.gz",
    "et4000": X_MISC + "8x16.pcf.gz",
}
ENGLISH_FILL = X_MISC + "ter-u16n_unicode.pcf.gz"

# PC character set below 0x20 and at 0x7F, where Python's cp437 codec gives control codes.
CP437_LOW = ("\u0000\u263a\u263b\u2665\u2666\u2663\u2660\u2022\u25d8\u25cb\u25d9\u2642\u2640\u266a\u266b\u263c"
             "\u25ba\u25c4\u2195\u203c\u00b6\u00a7\u25ac\u21a8\u2191\u2193\u2192\u2190\u221f\u2194\u25b2\u25bc")


def cp437_char(byte):
    if byte < 0x20:
        return CP437_LOW[byte]
    if byte == 0x7F:
        return "\u2302"
    return bytes([byte]).decode("cp437")


# ---------------------------------------------------------------- Unifont

@functools.lru_cache(maxsize=None)
def unifont():
    glyphs = {}
    with open(UNIFONT_HEX) as f:
        for line in f:
            cp, bits = line.strip().split(":")
            width = len(bits) // 16 * 4  # 32 hex digits: 8 wide, 64: 16 wide
            value = int(bits, 16)
            nbits = width * 16
            arr = np.array([(value >> (nbits - 1 - i)) & 1 for i in range(nbits)], dtype=bool)
            glyphs[int(cp, 16)] = arr.reshape(16, width)
    return glyphs


# ---------------------------------------------------------------- BDF via pcf2bdf

class BdfFont:
    def __init__(self, path):
        text = subprocess.run(["pcf2bdf", path], check=True, capture_output=True).stdout.decode("latin-1")
        self.ascent = self.descent = 0
        self.glyphs = {}
        enc = None
        bitmap = None
        for line in text.splitlines():
            words = line.split()
            if not words:
                continue
            if words[0] == "FONT_ASCENT":
                self.ascent = int(words[1])
            elif words[0] == "FONT_DESCENT":
                self.descent = int(words[1])
            elif words[0] == "ENCODING":
                enc = int(words[1])
            elif words[0] == "BBX":
                bbx = tuple(int(w) for w in words[1:5])
            elif words[0] == "BITMAP":
                bitmap = []
            elif words[0] == "ENDCHAR":
                self.glyphs[enc] = (bbx, bitmap)
                bitmap = None
            elif bitmap is not None:
                bitmap.append(int(words[0], 16) << (32 - 4 * len(words[0])))

    def cell(self, enc, width, height, baseline):
        """The glyph placed in a width x height cell whose baseline is `baseline` rows from the top."""
        if enc not in self.glyphs:
            return None
        (w, h, xoff, yoff), rows = self.glyphs[enc]
        out = np.zeros((height, width), dtype=bool)
        top = baseline - (yoff + h)
        for r, bits in enumerate(rows):
            y = top + r
            if not 0 <= y < height:
                continue
            for c in range(w):
                x = xoff + c
                if 0 <= x < width and bits >> (31 - c) & 1:
                    out[y, x] = True
        return out


@functools.lru_cache(maxsize=None)
def bdf(path):
    return BdfFont(path)


# ---------------------------------------------------------------- TrueType via FreeType

def truetype_syllables(path, cell=16, outliers=0.0):
    """All 11,172 syllables at the largest pixel size at which the common box
    of the syllables fits the cell; with `outliers` > 0 that share of the
    syllables may reach past the box on each side (and is clipped)."""
    import freetype
    face = freetype.Face(path)
    chars = [chr(0xAC00 + i) for i in range(11172)]

    def render(size, which):
        face.set_pixel_sizes(0, size)
        shots = []
        for ch in which:
            face.load_char(ch, freetype.FT_LOAD_RENDER | freetype.FT_LOAD_TARGET_MONO)
            shots.append((face.glyph.bitmap_left, face.glyph.bitmap_top, _mono_bitmap(face.glyph)))
        return shots

    def box(shots):
        """The box that holds all but `outliers` of the syllables on each side."""
        drawn = [(l, t, r) for l, t, r in shots if r.size]
        lefts = np.array([l for l, t, r in drawn])
        rights = np.array([l + r.shape[1] for l, t, r in drawn])
        tops = np.array([t for l, t, r in drawn])
        bottoms = np.array([t - r.shape[0] for l, t, r in drawn])
        q = 100 * outliers
        return (int(np.floor(np.percentile(lefts, q))), int(np.ceil(np.percentile(rights, 100 - q))),
                int(np.ceil(np.percentile(tops, 100 - q))), int(np.floor(np.percentile(bottoms, q))))

    for size in range(cell + 6, cell - 8, -1):
        shots = render(size, chars)
        left, right, top, bottom = box(shots)
        if right - left <= cell and top - bottom <= cell:
            break
    x0 = (cell - (right - left)) // 2 - left
    y0 = (cell - (top - bottom)) // 2 + top
    out = np.zeros((len(chars), cell, cell), dtype=bool)
    for i, (l, t, r) in enumerate(shots):
        _paste(out[i], r, y0 - t, x0 + l)
    return out


def _paste(cell, bitmap, y, x):
    """ORs a bitmap into the cell at (y, x), clipped to the cell."""
    h, w = cell.shape
    for r in range(bitmap.shape[0]):
        if 0 <= y + r < h:
            for c in range(bitmap.shape[1]):
                if 0 <= x + c < w and bitmap[r, c]:
                    cell[y + r, x + c] = True


# ---------------------------------------------------------------- shaped jamo

MYUNGJO_YETHANGUL = NANUM + "NanumMyeongjo-YetHangul.ttf"


def _mono_bitmap(glyph_slot):
    bm = glyph_slot.bitmap
    rows = np.zeros((bm.rows, bm.width), dtype=bool)
    buf = bytes(bm.buffer)
    for r in range(bm.rows):
        line = np.unpackbits(np.frombuffer(buf[r * bm.pitch:(r + 1) * bm.pitch], dtype=np.uint8))
        rows[r] = line[:bm.width].astype(bool)
    return rows


def shaped_jamo_syllables(path, cell=16):
    """All 11,172 syllables built by HarfBuzz from the font's positioned jamo:
    the font's own syllables are taken out of its cmap, so that hb-shape
    shapes each decomposed syllable (L V [T]) from jamo glyphs; each glyph is
    rendered alone by FreeType and the glyphs are united at their offsets."""
    import tempfile
    import freetype
    from fontTools.ttLib import TTFont
    tmp = tempfile.mkdtemp()
    font = TTFont(path)
    for table in font["cmap"].tables:
        if hasattr(table, "cmap"):
            for cp in [c for c in table.cmap if 0xAC00 <= c <= 0xD7A3]:
                del table.cmap[cp]
    jamo_font = tmp + "/jamo.ttf"
    font.save(jamo_font)
    upem = font["head"].unitsPerEm
    lines = []
    for i in range(11172):
        text = chr(0x1100 + i // 588) + chr(0x1161 + i // 28 % 21)
        if i % 28:
            text += chr(0x11A7 + i % 28)
        lines.append(text)
    with open(tmp + "/jamo.txt", "w") as f:
        f.write("\n".join(lines) + "\n")
    shaped = subprocess.run(["hb-shape", "--no-glyph-names", "--no-clusters", "--text-file=" + tmp + "/jamo.txt",
                             jamo_font], check=True, capture_output=True, text=True).stdout.splitlines()
    syllables = []  # per syllable: [(gid, x, y)] in font units
    for line in shaped:
        pen = 0
        parts = []
        for item in line.strip("[]").split("|"):
            gid, _, rest = item.partition("@") if "@" in item else (item.split("+")[0], "", "")
            if rest:
                off, _, adv = rest.partition("+")
                dx, dy = (int(v) for v in off.split(","))
            else:
                dx = dy = 0
                adv = item.split("+")[1] if "+" in item else "0"
            gid = int(gid.split("+")[0])
            parts.append((gid, pen + dx, dy))
            pen += int(adv)
        syllables.append(parts)
    assert len(syllables) == 11172
    face = freetype.Face(jamo_font)
    gids = sorted({g for parts in syllables for g, _, _ in parts})
    for size in range(cell + 4, cell - 6, -1):
        face.set_pixel_sizes(0, size)
        shots = {}
        for g in gids:
            face.load_glyph(g, freetype.FT_LOAD_RENDER | freetype.FT_LOAD_TARGET_MONO)
            shots[g] = (face.glyph.bitmap_left, face.glyph.bitmap_top, _mono_bitmap(face.glyph))
        placed = []
        for parts in syllables:
            items = []
            for g, x, y in parts:
                l, t, r = shots[g]
                if r.size:
                    items.append((l + round(x * size / upem), t + round(y * size / upem), r))
            placed.append(items)
        everything = [it for items in placed for it in items]
        left = min(l for l, t, r in everything)
        right = max(l + r.shape[1] for l, t, r in everything)
        top = max(t for l, t, r in everything)
        bottom = min(t - r.shape[0] for l, t, r in everything)
        if right - left <= cell and top - bottom <= cell:
            break
    x0 = (cell - (right - left)) // 2 - left
    y0 = (cell - (top - bottom)) // 2 + top
    out = np.zeros((11172, cell, cell), dtype=bool)
    for i, items in enumerate(placed):
        for l, t, r in items:
            _paste(out[i], r, y0 - t, x0 + l)
    return out


# ---------------------------------------------------------------- faces

def reference_syllables(face):
    if face == "gothic":
        u = unifont()
        return np.stack([u[0xAC00 + i] for i in range(11172)])
    if face == "myungjo":
        return shaped_jamo_syllables(MYUNGJO_YETHANGUL)
    return truetype_syllables(TRUETYPE_FACES[face])


def english_face(face):
    main = bdf(ENGLISH_FACES[face])
    fill = bdf(ENGLISH_FILL)
    cells = np.zeros((256, 16, 8), dtype=bool)
    for b in range(1, 256):
        cp = ord(cp437_char(b))
        g = main.cell(cp, 8, 16, main.ascent + (16 - main.ascent - main.descent) // 2)
        if g is None:
            g = fill.cell(cp, 8, 16, fill.ascent + (16 - fill.ascent - fill.descent) // 2)
        if g is not None:
            cells[b] = g
    return cells


GULIM16 = X_75DPI + "gulim16.pcf.gz"


def ks_symbol(row, col):
    """KS X 1001 character at row/column 1..94 from Baekmuk Gulim 16 (empty when unassigned)."""
    font = bdf(GULIM16)
    g = font.cell((0x20 + row) << 8 | (0x20 + col), 16, 16, font.ascent)
    return g if g is not None else np.zeros((16, 16), dtype=bool)


def ks_special():
    """128 symbols: KS X 1001 row 1 and the start of row 2."""
    return np.stack([ks_symbol(1 + i // 94, 1 + i % 94) for i in range(128)])


def vaskelo_special():
    """128 wide pictographs of Unifont (miscellaneous symbols and dingbats)."""
    u = unifont()
    picked = []
    for cp in list(range(0x2600, 0x2700)) + list(range(0x2700, 0x27C0)) + list(range(0x2190, 0x2200)):
        g = u.get(cp)
        if g is not None and g.shape[1] == 16 and g.any():
            picked.append(g)
        if len(picked) == 128:
            break
    return np.stack(picked)


# Glyphs before each KSSM symbol lead byte 0xD9..0xDE, and the total.
KSSM_BASES = [0, 163, 351, 513, 701, 878, 1053]


def kssm_special():
    """1,053 glyphs: KS X 1001 rows 1-12, two rows per lead byte, each lead's
    glyphs ending where the next lead's base begins."""
    cells = []
    for lead in range(6):
        for local in range(KSSM_BASES[lead + 1] - KSSM_BASES[lead]):
            cells.append(ks_symbol(1 + 2 * lead + local // 94, 1 + local % 94))
    return np.stack(cells)


def hanja():
    """4,888 Hanja of KS X 1001 rows 42-93 in KS order."""
    return np.stack([ks_symbol(42 + n // 94, 1 + n % 94) for n in range(4888)])
