"""Fits the 344 jamo pieces of a composed font to reference renderings of all
11,172 syllables under the composition rule in composition.py.

Start: a piece's pixel is ink when at least a given share of the syllables
that use the piece show ink there (an intersection for shares near 1).

Ink that two parts always show together may end up in either piece; a
last pass gives each piece, free of cost, the pixels that every syllable
using it shows already and that the same letter shows in its other sets,
so that letters drawn alone (an initial without vowel) keep their shape. Then, part by part, each piece pixel is chosen to minimise the wrong
pixels over the syllables that use it, given the other two parts' current
pieces (a pixel the other parts already ink cannot be wrong either way).
Rounds repeat until nothing changes."""

import numpy as np

import composition as C


def _usage(pieces, part):
    """[344, N] float32 one-hot matrix: syllable n uses glyph g in `part`."""
    n = pieces.shape[0]
    m = np.zeros((C.GLYPHS, n), dtype=np.float32)
    used = pieces[:, part] >= 0
    m[pieces[used, part], np.nonzero(used)[0]] = 1
    return m


def fit_pieces(refs, shares=(0.5, 0.7, 0.9)):
    """The best fit over several starting shares; fits in which two syllables
    compose alike count only when no fit avoids that."""
    best = None
    for share in shares:
        glyphs = _fit_from(refs, share)
        glyphs = _move_initial_ink_out_of_vowels(glyphs, refs)
        glyphs = _move_vowel_ink_out_of_initials(glyphs, refs)
        glyphs = _separate_duplicates(_fill_blank_initials(_complete_letters(glyphs), refs), refs)
        figures = measure(glyphs, refs)
        score = (figures["duplicates"] == 0, figures["blank"] == 0, figures["agreement"])
        if best is None or score > best[0]:
            best = (score, glyphs)
    return best[1]


def _fit_from(refs, share, rounds=30):
    n = refs.shape[0]
    flat = refs.reshape(n, -1)
    pieces = C.syllable_pieces()
    usage = [_usage(pieces, k) for k in range(3)]
    ink = flat.astype(np.float32)
    glyphs = np.zeros((C.GLYPHS, flat.shape[1]), dtype=bool)
    for k in range(3):
        uses = usage[k].sum(axis=1, keepdims=True)
        votes = usage[k] @ ink
        rows = uses[:, 0] > 0
        glyphs[rows] = votes[rows] > share * uses[rows]
    for _ in range(rounds):
        changed = 0
        for k in range(3):
            others = np.zeros_like(flat)
            for j in range(3):
                if j == k:
                    continue
                has = pieces[:, j] >= 0
                others[has] |= glyphs[pieces[has, j]]
            free = ~others
            ink_votes = usage[k] @ (flat & free).astype(np.float32)
            paper_votes = usage[k] @ (~flat & free).astype(np.float32)
            rows = usage[k].sum(axis=1) > 0
            new = ink_votes > paper_votes
            changed += int((new[rows] != glyphs[rows]).sum())
            glyphs[rows] = new[rows]
        if changed == 0:
            break
    return glyphs.reshape(C.GLYPHS, refs.shape[1], refs.shape[2])


def measure(glyphs, refs):
    composed = C.compose(glyphs, C.syllable_pieces())
    n = refs.shape[0]
    same = (composed == refs).reshape(n, -1).mean(axis=1)
    flat = composed.reshape(n, -1)
    blank = int((~flat.any(axis=1)).sum())
    unique = np.unique(np.packbits(flat, axis=1), axis=0).shape[0]
    return {"agreement": float(same.mean()), "worst": float(same.min()), "blank": blank,
            "duplicates": n - unique}


def _separate_duplicates(glyphs, refs, rounds=500):
    """Where two syllables compose to the same cell, gives a piece that only
    one of them uses one more ink pixel: the pixel of that syllable's
    reference, not yet inked, that the piece's other syllables mind least.
    Each round mends every clash it finds, touching each piece once."""
    pieces = C.syllable_pieces()
    n = refs.shape[0]
    flat_refs = refs.reshape(n, -1)
    g = glyphs.reshape(C.GLYPHS, -1).copy()
    for _ in range(rounds):
        composed = C.compose(g.reshape(glyphs.shape), pieces).reshape(n, -1)
        keys = np.packbits(composed, axis=1)
        _, first, inverse = np.unique(keys, axis=0, return_index=True, return_inverse=True)
        inverse = inverse.reshape(-1)
        clashes = np.nonzero(first[inverse] != np.arange(n))[0]
        if len(clashes) == 0:
            break
        touched = set()
        for a in clashes:
            b = first[inverse[a]]
            if not any(pieces[a, k] != pieces[b, k] and pieces[a, k] >= 0 for k in range(3)):
                a, b = b, a
            part = next(k for k in range(3) if pieces[a, k] != pieces[b, k] and pieces[a, k] >= 0)
            piece = pieces[a, part]
            if piece in touched:
                continue
            touched.add(piece)
            users = np.nonzero(pieces[:, part] == piece)[0]
            score = flat_refs[users].sum(axis=0) * 2 - len(users)  # ink votes minus paper votes
            candidates = ~composed[a] & flat_refs[a]
            if not candidates.any():
                candidates = ~composed[a]
            score = np.where(candidates, score, -10 ** 9)
            g[piece, int(np.argmax(score))] = True
    return g.reshape(glyphs.shape)


PART_RANGES = [  # (first glyph, sets, letters) per part
    (0, C.INITIAL_SETS, C.INITIALS),
    (C.INITIAL_SETS * C.INITIALS, C.MEDIAL_SETS, C.MEDIALS),
    (C.INITIAL_SETS * C.INITIALS + C.MEDIAL_SETS * C.MEDIALS, C.FINAL_SETS, C.FINALS),
]


def _complete_letters(glyphs):
    """Adds to each piece the pixels that all syllables using it already show
    (so no composed syllable changes) and that its letter shows in some
    other set of the same part."""
    pieces = C.syllable_pieces()
    composed = C.compose(glyphs, pieces).reshape(pieces.shape[0], -1)
    g = glyphs.reshape(C.GLYPHS, -1).copy()
    for part, (first, sets, letters) in enumerate(PART_RANGES):
        for letter in range(letters):
            members = [first + s * letters + letter for s in range(sets)]
            for piece in members:
                users = np.nonzero(pieces[:, part] == piece)[0]
                if len(users) == 0:
                    continue
                always = composed[users].all(axis=0)
                elsewhere = np.zeros_like(always)
                for other in members:
                    if other != piece:
                        elsewhere |= glyphs.reshape(C.GLYPHS, -1)[other]
                g[piece] |= always & elsewhere
    return g.reshape(glyphs.shape)


def _fill_blank_initials(glyphs, refs, vowel_share=0.9):
    """An initial whose ink the vowels took over entirely (the vowel sets of
    an initial like ㄱ are used by it and one other initial only) gets, free
    of cost, the pixels all its syllables show that are not the vowel's: not
    inked in nearly all syllables with the same vowel and final."""
    pieces = C.syllable_pieces()
    n = refs.shape[0]
    flat = refs.reshape(n, -1)
    composed = C.compose(glyphs, pieces).reshape(n, -1)
    index = np.arange(n)
    group = index // 28 % 21 * 28 + index % 28  # (medial, final)
    freq = np.zeros((21 * 28, flat.shape[1]))
    np.add.at(freq, group, flat.astype(np.float64))
    freq /= 19
    g = glyphs.reshape(C.GLYPHS, -1).copy()
    for piece in range(C.INITIAL_SETS * C.INITIALS):
        users = np.nonzero(pieces[:, 0] == piece)[0]
        if len(users) == 0 or g[piece].any():
            continue
        always = composed[users].all(axis=0)
        vowelish = freq[group[users]].mean(axis=0) >= vowel_share
        g[piece] |= always & ~vowelish
    # A vowel left blank gets the pixels all its syllables show that most
    # syllables with that vowel show.
    first = C.INITIAL_SETS * C.INITIALS
    for piece in range(first, first + C.MEDIAL_SETS * C.MEDIALS):
        users = np.nonzero(pieces[:, 1] == piece)[0]
        if len(users) == 0 or g[piece].any():
            continue
        always = composed[users].all(axis=0)
        g[piece] |= always & (freq[group[users]].mean(axis=0) >= 0.5)
    return g.reshape(glyphs.shape)


def _move_initial_ink_out_of_vowels(glyphs, refs, vowel_share=0.9):
    """Moves a vowel piece's pixel into the initials it is drawn with, when
    that changes no composed syllable (every syllable of each of those
    initials shows the pixel already) and the pixel is not the vowel's own
    (not inked in nearly all syllables with this vowel). A vowel drawn alone
    then shows no strokes of ㄱ or ㅋ, whose vowel sets it shares."""
    pieces = C.syllable_pieces()
    n = refs.shape[0]
    flat = refs.reshape(n, -1)
    g = glyphs.reshape(C.GLYPHS, -1).copy()
    medial_letter = np.arange(n) // 28 % 21
    has_final = np.arange(n) % 28 != 0
    first, sets, letters = C.INITIAL_SETS * C.INITIALS, C.MEDIAL_SETS, C.MEDIALS
    for piece in range(first, first + sets * letters):
        users = np.nonzero(pieces[:, 1] == piece)[0]
        if len(users) == 0:
            continue
        letter = (piece - first) % letters
        same_vowel = (medial_letter == letter) & (has_final == has_final[users[0]])
        vowelish = flat[same_vowel].mean(axis=0) >= vowel_share
        composed = C.compose(g.reshape(glyphs.shape), pieces).reshape(n, -1)
        initials = np.unique(pieces[users, 0])
        movable = g[piece] & ~vowelish
        for initial in initials:
            movable &= composed[pieces[:, 0] == initial].all(axis=0)
        if movable.any():
            g[initials] |= movable
            g[piece] &= ~movable
    return g.reshape(glyphs.shape)


def _move_vowel_ink_out_of_initials(glyphs, refs, vowel_share=0.9):
    """The converse: an initial's pixel that is the vowel's own for every
    vowel it is drawn with moves into those vowel pieces, when no composed
    syllable changes. An initial drawn alone then shows no vowel stroke."""
    pieces = C.syllable_pieces()
    n = refs.shape[0]
    flat = refs.reshape(n, -1)
    g = glyphs.reshape(C.GLYPHS, -1).copy()
    medial_letter = np.arange(n) // 28 % 21
    has_final = np.arange(n) % 28 != 0
    for piece in range(C.INITIAL_SETS * C.INITIALS):
        users = np.nonzero(pieces[:, 0] == piece)[0]
        if len(users) == 0:
            continue
        composed = C.compose(g.reshape(glyphs.shape), pieces).reshape(n, -1)
        movable = g[piece].copy()
        medials = np.unique(pieces[users, 1])
        for medial in medials:
            medial_users = np.nonzero(pieces[:, 1] == medial)[0]
            letter = medial_letter[medial_users[0]]
            same_vowel = (medial_letter == letter) & (has_final == has_final[medial_users[0]])
            movable &= flat[same_vowel].mean(axis=0) >= vowel_share
            movable &= composed[medial_users].all(axis=0)
        if movable.any():
            g[medials] |= movable
            g[piece] &= ~movable
    return g.reshape(glyphs.shape)
