// The automaton's record operations: set-up, mode, GetKey's mapping of step
// results to the caller's result codes, completion and the jamo-to-key routines.
#include "hangul/automata.h"

#include "hangul/automata_actions.h"
#include "hangul/automata_tables.h"

namespace kesta::hangul {

using detail::currentCode;
using detail::isBackspace;
using detail::setJamo;

namespace {

StepRoutine stepRoutineFor(int32_t keyboardType) {
  return keyboardType == kTwoSetKeyboard ? Automata2 : Automata3;
}

// The tables the jamo-to-key routines search for this keyboard type, or none.
const Layout* layoutFor(const AutomataState* s) {
  if (s == nullptr) return nullptr;
  if (s->keyboardType == kTwoSetKeyboard) return &kTwoSetLayout;
  if (s->keyboardType == kThreeSetKeyboard) return &kThreeSetLayout;
  return nullptr;
}

uint16_t keyFor(JamoToKeyRoutine toKey, AutomataState* s, uint16_t jamoNumber, uint16_t fill) {
  if (jamoNumber == fill || toKey == nullptr) return 0;
  return toKey(s, jamoNumber);
}

}  // namespace

int InitAutomata(AutomataState* s, int32_t keyboardType) {
  if (s == nullptr || keyboardType == kUserKeyboard) return 0;
  s->state = 0;
  s->completedCode = 0;
  setJamo(s, kInitialFill, kMedialFill, kFinalFill);
  s->hangulMode = 0;
  s->keyboardType = keyboardType;
  s->step = stepRoutineFor(keyboardType);
  s->initialToKey = Cho2Key;
  s->medialToKey = Jung2Key;
  s->finalToKey = Jong2Key;
  return 1;
}

int SetKbdType(AutomataState* s, int32_t keyboardType) {
  if (s == nullptr || keyboardType == kUserKeyboard) return 0;
  s->keyboardType = keyboardType;
  s->step = stepRoutineFor(keyboardType);
  return 1;
}

int32_t GetKbdType(const AutomataState* s) { return s != nullptr ? s->keyboardType : 0; }

int SetUserKbdType(AutomataState* s, StepRoutine step, JamoToKeyRoutine initialToKey,
                   JamoToKeyRoutine medialToKey, JamoToKeyRoutine finalToKey) {
  if (s == nullptr || step == nullptr || initialToKey == nullptr || medialToKey == nullptr || finalToKey == nullptr)
    return 0;
  s->keyboardType = kUserKeyboard;
  s->step = step;
  s->initialToKey = initialToKey;
  s->medialToKey = medialToKey;
  s->finalToKey = finalToKey;
  return 1;
}

int SetHangulMode(AutomataState* s, int32_t mode) {
  if (s == nullptr) return 0;
  int completed = 0;
  if (s->hangulMode != 0 && s->state != 0) {
    MakeCompleteCode(s);
    completed = 1;
  }
  s->hangulMode = mode;
  return completed;
}

int32_t IsInHangulMode(const AutomataState* s) { return s != nullptr ? s->hangulMode : 0; }

int IsToggleKeyPressed(AutomataState* s, int virtualKey, bool controlDown) {
  if (s == nullptr || virtualKey != kToggleVirtualKey || !controlDown) return 0;
  s->hangulMode = s->hangulMode != 0 ? 0 : 1;
  if (s->hangulMode == 0) {
    // GetKey hands this syllable over when the toggle's character arrives.
    const uint16_t code = currentCode(s);
    if (code != kEmptyCode) s->completedCode = code;
  }
  return 1;
}

int16_t GetKey(AutomataState* s, uint16_t* key, bool controlDown) {
  if (s == nullptr || key == nullptr) return 0;
  if (*key == kToggleVirtualKey && controlDown) {
    // The jamo fields stay: the caller takes the syllable with MakeCompleteCode.
    if (s->state != 0) {
      *key = s->completedCode;
      s->completedCode = 0;
      s->state = 0;
    } else {
      *key = 0;
    }
    return kKeyToggle;
  }
  // Without a step routine (InitAutomata not called yet) there is no layout:
  // keys pass as in English mode rather than calling through a null pointer.
  if (s->hangulMode != 0 && s->step != nullptr) {
    s->previousState = s->state;
    switch (s->step(s, key)) {
      case kStepFinished:
        return kKeyCompletedThenKey;
      case kStepErased:
        ClearCodes(s);
        return kKeyErased;
      case kStepNotHangul:
        return kKeyOrdinary;
      case kStepNewSyllable:
        *key = currentCode(s);
        return kKeyCompletedNew;
      default:
        *key = currentCode(s);
        return kKeyComposing;
    }
  }
  return isBackspace(*key) ? kKeyEnglishBackspace : kKeyEnglish;
}

uint16_t GetCompletedCode(const AutomataState* s) { return s != nullptr ? s->completedCode : 0; }

uint16_t GetCurrentCode(const AutomataState* s) { return s != nullptr ? currentCode(s) : 0; }

int GetCurrentKeys(AutomataState* s, uint16_t* initialKey, uint16_t* medialKey, uint16_t* finalKey) {
  if (s == nullptr) return 0;
  if (initialKey != nullptr) *initialKey = keyFor(s->initialToKey, s, s->initial, kInitialFill);
  if (medialKey != nullptr) *medialKey = keyFor(s->medialToKey, s, s->medial, kMedialFill);
  if (finalKey != nullptr) *finalKey = keyFor(s->finalToKey, s, s->final, kFinalFill);
  return 1;
}

uint16_t MakeCompleteCode(AutomataState* s) {
  if (s == nullptr) return 0;
  s->completedCode = currentCode(s);
  s->state = 0;
  setJamo(s, kInitialFill, kMedialFill, kFinalFill);
  return s->completedCode == kEmptyCode ? 0 : s->completedCode;
}

int ClearCodes(AutomataState* s) {
  if (s == nullptr) return 0;
  setJamo(s, kInitialFill, kMedialFill, kFinalFill);
  s->completedCode = kEmptyCode;
  s->state = 0;
  return 1;
}

int IsProcessingInput(const AutomataState* s) { return s != nullptr && s->hangulMode != 0 && s->state != 0; }

int WasProcessingInput(const AutomataState* s) {
  return s != nullptr && s->hangulMode != 0 && s->previousState != 0;
}

uint16_t KESTA_AUTOMATA_CALL Cho2Key(AutomataState* s, uint16_t jamoNumber) {
  const Layout* layout = layoutFor(s);
  return layout != nullptr ? keyForJamo(layout->initials, jamoNumber) : 0;
}

uint16_t KESTA_AUTOMATA_CALL Jung2Key(AutomataState* s, uint16_t jamoNumber) {
  const Layout* layout = layoutFor(s);
  return layout != nullptr ? keyForJamo(layout->medials, jamoNumber) : 0;
}

uint16_t KESTA_AUTOMATA_CALL Jong2Key(AutomataState* s, uint16_t jamoNumber) {
  const Layout* layout = layoutFor(s);
  return layout != nullptr ? keyForJamo(layout->finals, jamoNumber) : 0;
}

}  // namespace kesta::hangul
