// The two-set step routine: one key per consonant, taken as an initial or a
// final; a vowel after a final moves the final (or a double final's second
// part) to the next syllable.
//
// States: 0 nothing; 1 initial; 2 initial (or fill) + medial; 3 initial +
// double medial; 4 initial + medial + final; 5 ... + double final; 6 initial +
// double medial + final; 7 ... + double final; 8 lone medial; 9 lone double
// medial; 10 lone medial + final; 11 ... + double final; 12 lone double medial
// + final; 13 ... + double final; 14 double initial.
#include "hangul/automata.h"
#include "hangul/automata_actions.h"
#include "hangul/automata_tables.h"

namespace kesta::hangul {

namespace {

using namespace detail;

const Layout& L = kTwoSetLayout;

// The final moves whole to a new syllable that takes the vowel.
int16_t splitSingle(AutomataState* s, uint16_t vowel) {
  s->completedCode = makeCombinationCode(s->initial, s->medial, kFinalFill);
  setJamo(s, orFill(twoSetInitialForFinal(s->final), kInitialFill), vowel, kFinalFill);
  s->state = 2;
  return kStepNewSyllable;
}

// The double final keeps its first part; its second part begins a new syllable with the vowel.
int16_t splitDouble(AutomataState* s, uint16_t vowel) {
  const uint16_t first = firstPartOfFinal(L, s);
  s->completedCode = makeCombinationCode(s->initial, s->medial, first);
  setJamo(s, orFill(twoSetInitialForFinal(s->final), kInitialFill), vowel, kFinalFill);
  s->state = 2;
  return kStepNewSyllable;
}

}  // namespace

int16_t KESTA_AUTOMATA_CALL Automata2(AutomataState* s, uint16_t* keyPtr) {
  if (s == nullptr || keyPtr == nullptr) return kStepNotHangul;
  const uint16_t key = *keyPtr;
  const uint16_t i = jamoForKey(L.initials, key);
  const uint16_t m = jamoForKey(L.medials, key);
  const uint16_t f = jamoForKey(L.finals, key);
  const bool backspace = isBackspace(key);
  uint16_t d = 0;  // a double jamo the key makes

  // A second final always replaces the first with the double (states 4, 6, 10
  // and 12 alike), so the key is never swallowed.
  switch (s->state) {
    case 0:
      if (i) return begin(s, 1, i, kMedialFill, kFinalFill);
      if (m) return begin(s, 8, kInitialFill, m, kFinalFill);
      break;
    case 1:
      if (m) return withMedial(s, m, 2);
      if ((d = combineJamo(L.doubleInitials, s->initial, key))) return withInitial(s, d, 14);
      if (i) return newInitial(s, i);
      if (backspace) return erased(s);
      break;
    case 2:
      if (f) return withFinal(s, f, 4);
      if ((d = combineJamo(L.doubleMedials, s->medial, key))) return withMedial(s, d, 3);
      if (m) return newMedial(s, 2, m);
      if (i) return newInitial(s, i);
      if (backspace) return s->initial == kInitialFill ? erased(s) : withMedial(s, kMedialFill, 1);
      break;
    case 3:
      if (f) return withFinal(s, f, 6);
      if (m) return newMedial(s, 2, m);
      if (i) return newInitial(s, i);
      if (backspace) return withMedial(s, firstPartOfMedial(L, s), 2);
      break;
    case 4:
      if ((d = combineJamo(L.doubleFinals, s->final, key))) return withFinal(s, d, 5);
      if (m) return splitSingle(s, m);
      if (i) return newInitial(s, i);
      if (backspace) return withFinal(s, kFinalFill, 2);
      break;
    case 5:
      if (m) return splitDouble(s, m);
      if (i) return newInitial(s, i);
      if (backspace) return withFinal(s, firstPartOfFinal(L, s), 4);
      break;
    case 6:
      if ((d = combineJamo(L.doubleFinals, s->final, key))) return withFinal(s, d, 7);
      if (m) return splitSingle(s, m);
      if (i) return newInitial(s, i);
      if (backspace) return withFinal(s, kFinalFill, 3);
      break;
    case 7:
      if (m) return splitDouble(s, m);
      if (i) return newInitial(s, i);
      if (backspace) return withFinal(s, firstPartOfFinal(L, s), 6);
      break;
    case 8:
      if (f) return withFinal(s, f, 10);
      if (i) return newInitial(s, i);
      if ((d = combineJamo(L.doubleMedials, s->medial, key))) return withMedial(s, d, 9);
      if (m) return newMedial(s, 8, m);
      if (backspace) return erased(s);
      break;
    case 9:
      if (f) return withFinal(s, f, 12);
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 8, m);
      if (backspace) return withMedial(s, firstPartOfMedial(L, s), 8);
      break;
    case 10:
      if ((d = combineJamo(L.doubleFinals, s->final, key))) return withFinal(s, d, 11);
      if (m) return splitSingle(s, m);
      if (i) return newInitial(s, i);
      if (backspace) return withFinal(s, kFinalFill, 8);
      break;
    case 11:
      if (m) return splitDouble(s, m);
      if (i) return newInitial(s, i);
      if (backspace) return withFinal(s, firstPartOfFinal(L, s), 10);
      break;
    case 12:
      if ((d = combineJamo(L.doubleFinals, s->final, key))) return withFinal(s, d, 13);
      if (m) return splitSingle(s, m);
      if (i) return newInitial(s, i);
      if (backspace) return withFinal(s, kFinalFill, 9);
      break;
    case 13:
      if (i) return newInitial(s, i);
      if (m) return splitDouble(s, m);
      if (backspace) return withFinal(s, firstPartOfFinal(L, s), 12);
      break;
    case 14:
      if (i) return newInitial(s, i);
      if (m) return withMedial(s, m, 2);
      if (backspace) return withInitial(s, firstPartOfInitial(L, s), 1);
      break;
    default:  // a state no layout knows (a user routine left it): finish and start afresh
      break;
  }
  return finish(s, keyPtr, false);
}

}  // namespace kesta::hangul
