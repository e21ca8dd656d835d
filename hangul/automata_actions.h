// The actions the step routines share. Internal to the automaton.
#pragma once

#include "hangul/automata.h"
#include "hangul/automata_tables.h"

namespace kesta::hangul::detail {

inline bool isBackspace(uint16_t key) { return (key & 0xFF) == 8; }

inline uint16_t currentCode(const AutomataState* s) { return makeCombinationCode(s->initial, s->medial, s->final); }

inline void setJamo(AutomataState* s, uint16_t initial, uint16_t medial, uint16_t final) {
  s->initial = initial;
  s->medial = medial;
  s->final = final;
}

// A table lookup's result, or the fill when the lookup found nothing.
inline uint16_t orFill(uint16_t jamoNumber, uint16_t fill) { return jamoNumber != 0 ? jamoNumber : fill; }

// Backspace over a double jamo leaves its first part.
inline uint16_t firstPartOfInitial(const Layout& l, const AutomataState* s) {
  return orFill(firstPartOf(l.doubleInitials, s->initial), kInitialFill);
}
inline uint16_t firstPartOfMedial(const Layout& l, const AutomataState* s) {
  return orFill(firstPartOf(l.doubleMedials, s->medial), kMedialFill);
}
inline uint16_t firstPartOfFinal(const Layout& l, const AutomataState* s) {
  return orFill(firstPartOf(l.doubleFinals, s->final), kFinalFill);
}

// The key changed one jamo of the syllable in progress.
inline int16_t take(AutomataState* s, int32_t state) {
  s->state = state;
  return kStepTaken;
}
inline int16_t withInitial(AutomataState* s, uint16_t j, int32_t state) {
  s->initial = j;
  return take(s, state);
}
inline int16_t withMedial(AutomataState* s, uint16_t j, int32_t state) {
  s->medial = j;
  return take(s, state);
}
inline int16_t withFinal(AutomataState* s, uint16_t j, int32_t state) {
  s->final = j;
  return take(s, state);
}

// The key goes into an empty composition (no syllable is completed).
inline int16_t begin(AutomataState* s, int32_t state, uint16_t initial, uint16_t medial, uint16_t final) {
  setJamo(s, initial, medial, final);
  s->state = state;
  return kStepTaken;
}

// The syllable in progress is completed and the key begins the next one.
inline int16_t newSyllable(AutomataState* s, int32_t state, uint16_t initial, uint16_t medial, uint16_t final) {
  s->completedCode = currentCode(s);
  begin(s, state, initial, medial, final);
  return kStepNewSyllable;
}

inline int16_t newInitial(AutomataState* s, uint16_t i) { return newSyllable(s, 1, i, kMedialFill, kFinalFill); }
inline int16_t newMedial(AutomataState* s, int32_t state, uint16_t m) {
  return newSyllable(s, state, kInitialFill, m, kFinalFill);
}
inline int16_t newFinal(AutomataState* s, uint16_t f) { return newSyllable(s, 3, kInitialFill, kMedialFill, f); }

// Backspace emptied the composition (GetKey then also resets the completed code).
inline int16_t erased(AutomataState* s) {
  setJamo(s, kInitialFill, kMedialFill, kFinalFill);
  s->state = 0;
  return kStepErased;
}

// The key is no Hangul key: the syllable in progress is completed and the key
// goes back to the caller, through the three-set symbols when given.
inline int16_t finish(AutomataState* s, uint16_t* key, bool threeSetSymbols) {
  s->completedCode = currentCode(s);
  if (threeSetSymbols) *key = threeSetSymbolFor(*key);
  s->state = 0;
  setJamo(s, kInitialFill, kMedialFill, kFinalFill);
  return s->completedCode == kEmptyCode ? kStepNotHangul : kStepFinished;
}

}  // namespace kesta::hangul::detail
