// The three-set step routine: separate keys for initials, medials and finals.
// Finals never move to the next syllable; a key of no table ends the
// composition and comes back through the symbol table.
//
// States: 0 nothing; 1 initial; 2 lone medial; 3 lone final; 4 initial +
// medial (single or double); 5 double initial; 6 lone medial + final; 7 lone
// double medial; 8 lone double final; 9 initial + medial + final; 10 lone
// medial + double final; 11 lone double medial + final; 12 medial + double final.
#include "hangul/automata.h"
#include "hangul/automata_actions.h"
#include "hangul/automata_tables.h"

namespace kesta::hangul {

namespace {
using namespace detail;
const Layout& L = kThreeSetLayout;
}  // namespace

int16_t KESTA_AUTOMATA_CALL Automata3(AutomataState* s, uint16_t* keyPtr) {
  if (s == nullptr || keyPtr == nullptr) return kStepNotHangul;
  const uint16_t key = *keyPtr;
  const uint16_t i = jamoForKey(L.initials, key);
  const uint16_t m = jamoForKey(L.medials, key);
  const uint16_t f = jamoForKey(L.finals, key);
  const bool backspace = isBackspace(key);
  uint16_t d = 0;  // a double jamo the key makes

  switch (s->state) {
    case 0:
      if (i) return begin(s, 1, i, kMedialFill, kFinalFill);
      if (m) return begin(s, 2, kInitialFill, m, kFinalFill);
      if (f) return begin(s, 3, kInitialFill, kMedialFill, f);
      break;
    case 1:
      if (m) return withMedial(s, m, 4);
      if ((d = combineJamo(L.doubleInitials, s->initial, key))) return withInitial(s, d, 5);
      if (i) return newInitial(s, i);
      if (f) return newFinal(s, f);
      if (backspace) return erased(s);
      break;
    case 2:
      if (f) return withFinal(s, f, 6);
      if ((d = combineJamo(L.doubleMedials, s->medial, key))) return withMedial(s, d, 7);
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (backspace) return erased(s);
      break;
    case 3:
      if ((d = combineJamo(L.doubleFinals, s->final, key))) return withFinal(s, d, 8);
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (f) return newFinal(s, f);
      if (backspace) return erased(s);
      break;
    case 4:  // a double medial stays in this state, so one backspace removes it whole
      if (f) return withFinal(s, f, 9);
      if ((d = combineJamo(L.doubleMedials, s->medial, key))) return withMedial(s, d, 4);
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (backspace) return withMedial(s, kMedialFill, 1);
      break;
    case 5:
      if (m) return withMedial(s, m, 4);
      if (i) return newInitial(s, i);
      if (f) return newFinal(s, f);
      if (backspace) return withInitial(s, firstPartOfInitial(L, s), 1);
      break;
    case 6:
      if ((d = combineJamo(L.doubleFinals, s->final, key))) return withFinal(s, d, 10);
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (f) return newFinal(s, f);
      if (backspace) return withFinal(s, kFinalFill, 2);
      break;
    case 7:
      if (f) return withFinal(s, f, 11);
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (backspace) return withMedial(s, firstPartOfMedial(L, s), 2);
      break;
    case 8:
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (f) return newFinal(s, f);
      if (backspace) return withFinal(s, firstPartOfFinal(L, s), 3);
      break;
    case 9:
      if ((d = combineJamo(L.doubleFinals, s->final, key))) return withFinal(s, d, 12);
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (f) return newFinal(s, f);
      if (backspace) return withFinal(s, kFinalFill, 4);
      break;
    case 10:
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (f) return newFinal(s, f);
      if (backspace) return withFinal(s, firstPartOfFinal(L, s), 6);
      break;
    case 11:
      if ((d = combineJamo(L.doubleFinals, s->final, key))) return withFinal(s, d, 12);
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (f) return newFinal(s, f);
      if (backspace) return withFinal(s, kFinalFill, 7);
      break;
    case 12:
      if (i) return newInitial(s, i);
      if (m) return newMedial(s, 2, m);
      if (f) return newFinal(s, f);
      // Reached from state 9 (with an initial) or from state 11 (without one):
      // backspace goes back to where the syllable came from, so that a
      // syllable without an initial never lands in the states that hold one.
      if (backspace) return withFinal(s, firstPartOfFinal(L, s), s->initial == kInitialFill ? 11 : 9);
      break;
    default:  // a state no layout knows (a user routine left it): finish and start afresh
      break;
  }
  return finish(s, keyPtr, true);
}

}  // namespace kesta::hangul
