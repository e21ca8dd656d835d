"""The syllable composition rule of the built-in Hangul fonts (table 1), the
same rule hangul/composer.cpp follows, in numpy form for the fitter."""

import numpy as np

INITIAL_SETS, MEDIAL_SETS, FINAL_SETS = 8, 4, 4
INITIALS, MEDIALS, FINALS = 19, 21, 27
GLYPHS = INITIAL_SETS * INITIALS + MEDIAL_SETS * MEDIALS + FINAL_SETS * FINALS  # 344
SYLLABLES = 11172


def _pair(without, with_final):
    return (without, with_final)


# Initial set by medial position 0..21 (without final, with final).
TABLE1_INITIAL = [(0, 0), (0, 5), (0, 5), (0, 5), (0, 5), (0, 5), (0, 5), (0, 5), (0, 5), (1, 6), (3, 7),
                  (3, 7), (3, 7), (1, 6), (2, 6), (4, 7), (4, 7), (4, 7), (2, 6), (1, 6), (3, 7), (0, 5)]
# Medial set by initial position 0..21.
TABLE1_MEDIAL = [(0, 2), (0, 2)] + [(1, 3)] * 14 + [(0, 2)] + [(1, 3)] * 3 + [(0, 0), (0, 0)]
# Final set by medial position.
TABLE1_FINAL = [0, 0, 2, 0, 2, 1, 2, 1, 2, 3, 0, 2, 1, 3, 3, 1, 2, 1, 3, 3, 1, 1]


def syllable_pieces():
    """[11172, 3] glyph numbers (initial, medial, final; -1 for no final) of
    Unicode syllables U+AC00 onwards."""
    pieces = np.full((SYLLABLES, 3), -1, dtype=np.int64)
    for s in range(SYLLABLES):
        ip, mp, fp = s // 588 + 1, s // 28 % 21 + 1, s % 28
        has_final = fp != 0
        iset = TABLE1_INITIAL[mp][1 if has_final else 0]
        mset = TABLE1_MEDIAL[ip][1 if has_final else 0]
        fset = TABLE1_FINAL[mp]
        pieces[s, 0] = iset * INITIALS + ip - 1
        pieces[s, 1] = INITIAL_SETS * INITIALS + mset * MEDIALS + mp - 1
        if has_final:
            pieces[s, 2] = INITIAL_SETS * INITIALS + MEDIAL_SETS * MEDIALS + fset * FINALS + fp - 1
    return pieces


def compose(glyph_ink, pieces):
    """glyph_ink [344, 16, 16] bool -> composed [11172, 16, 16] bool (ink = union)."""
    out = glyph_ink[pieces[:, 0]] | glyph_ink[pieces[:, 1]]
    has_final = pieces[:, 2] >= 0
    out[has_final] |= glyph_ink[pieces[has_final, 2]]
    return out
