// The key tables of the built-in layouts. Every table is searched from its
// first row, so the row order is part of the behaviour (which key a jamo is
// typed with, which row of two matches first).
#pragma once

#include <cstdint>
#include <span>

namespace kesta::hangul {

struct KeyJamo {
  uint16_t key;
  uint16_t jamo;
};

// A double jamo typed as the jamo `first` followed by the key `key`.
struct DoubleJamo {
  uint16_t first;
  uint16_t key;
  uint16_t combined;
};

struct JamoPair {
  uint16_t from;
  uint16_t to;
};

struct KeyPair {
  uint16_t key;
  uint16_t replacement;
};

struct Layout {
  std::span<const KeyJamo> initials;
  std::span<const KeyJamo> medials;
  std::span<const KeyJamo> finals;
  std::span<const DoubleJamo> doubleInitials;
  std::span<const DoubleJamo> doubleMedials;
  std::span<const DoubleJamo> doubleFinals;
};

extern const Layout kTwoSetLayout;
extern const Layout kThreeSetLayout;
// Two-set: the initial a final becomes when a vowel moves it to the next syllable.
extern const std::span<const JamoPair> kTwoSetFinalToInitial;
// Three-set: keys that end a composition (or come with none) as these symbols.
extern const std::span<const KeyPair> kThreeSetSymbols;

// The jamo of the first row with this key, 0 if none.
uint16_t jamoForKey(std::span<const KeyJamo> table, uint16_t key);
// The key of the first row with this jamo, 0 if none.
uint16_t keyForJamo(std::span<const KeyJamo> table, uint16_t jamo);
// The double jamo that `first` followed by `key` makes, 0 if none.
uint16_t combineJamo(std::span<const DoubleJamo> table, uint16_t first, uint16_t key);
// The first part of a double jamo (searching the table from its end), 0 if it is no double.
uint16_t firstPartOf(std::span<const DoubleJamo> table, uint16_t combined);
// Two-set: the initial for a final moving to the next syllable, 0 if none.
uint16_t twoSetInitialForFinal(uint16_t final);
// Three-set: the symbol a key stands for at the end of a composition, or the key itself.
uint16_t threeSetSymbolFor(uint16_t key);

}  // namespace kesta::hangul
