// The Hangul keyboard automaton: turns typed characters into combination-code
// syllables with the two-set or three-set layout, or a layout installed by the
// caller. Every operation works on a plain AutomataState record; a null record
// makes every operation return 0 and change nothing, so the library's exports
// pass on whatever record their window lookup found.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hangul/automata_code.h"

// Step and jamo-to-key routines are called through the record and may be a
// user layout's own, so on 32-bit Windows they use the standard calling
// convention like every export of the library.
#if defined(_WIN32)
#define KESTA_AUTOMATA_CALL __stdcall
#else
#define KESTA_AUTOMATA_CALL
#endif

namespace kesta::hangul {

struct AutomataState;

// (record, key pointer) -> step result; may rewrite the key.
using StepRoutine = int16_t(KESTA_AUTOMATA_CALL*)(AutomataState* state, uint16_t* key);
// (record, jamo number) -> the key that types it, 0 if none.
using JamoToKeyRoutine = uint16_t(KESTA_AUTOMATA_CALL*)(AutomataState* state, uint16_t jamo);

// One automaton per registered window. A user step routine reads and writes
// these fields, so their order and widths are an interface: 40 bytes on 32-bit
// Windows; on 64-bit builds the pointers are 8 bytes wide with natural
// alignment (64 bytes in all).
struct AutomataState {
  int32_t keyboardType;            // 1 three-set, 2 two-set, 3 user layout
  StepRoutine step;                // Automata2, Automata3 or a user routine
  int32_t hangulMode;              // 0 English, nonzero Hangul
  int32_t previousState;           // the state before the last step GetKey took
  int32_t state;                   // 0: nothing being composed
  uint16_t completedCode;          // the last syllable completed
  uint16_t initial;                // jamo numbers of the syllable in progress
  uint16_t medial;
  uint16_t final;
  JamoToKeyRoutine initialToKey;
  JamoToKeyRoutine medialToKey;
  JamoToKeyRoutine finalToKey;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(AutomataState) == 40);
static_assert(offsetof(AutomataState, step) == 4);
static_assert(offsetof(AutomataState, state) == 16);
static_assert(offsetof(AutomataState, completedCode) == 20);
static_assert(offsetof(AutomataState, final) == 26);
static_assert(offsetof(AutomataState, initialToKey) == 28);
static_assert(offsetof(AutomataState, finalToKey) == 36);
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(sizeof(AutomataState) == 64);
static_assert(offsetof(AutomataState, state) == 24);
static_assert(offsetof(AutomataState, final) == 34);
static_assert(offsetof(AutomataState, initialToKey) == 40);
#endif

// Keyboard types.
inline constexpr int32_t kThreeSetKeyboard = 1;
inline constexpr int32_t kTwoSetKeyboard = 2;
inline constexpr int32_t kUserKeyboard = 3;

// Results of a step routine.
inline constexpr int16_t kStepTaken = 0;           // the key went into the composition
inline constexpr int16_t kStepNewSyllable = -1;    // a syllable was completed, the key began the next
inline constexpr int16_t kStepNotHangul = -3;      // nothing composed, the key is no Hangul key
inline constexpr int16_t kStepErased = -4;         // backspace emptied the composition
inline constexpr int16_t kStepFinished = 1;        // the key is no Hangul key and completed the syllable

// Results of GetKey: the contract with every caller.
inline constexpr int16_t kKeyComposing = 0;        // key := current code
inline constexpr int16_t kKeyCompletedNew = -1;    // completed code ready; key := current code
inline constexpr int16_t kKeyCompletedThenKey = -2;  // completed code ready; the key follows it
inline constexpr int16_t kKeyOrdinary = -3;        // nothing composed; the key is ordinary
inline constexpr int16_t kKeyErased = -4;          // erase the syllable shown
inline constexpr int16_t kKeyToggle = -5;          // key := syllable handed back, or 0
inline constexpr int16_t kKeyEnglishBackspace = -6;
inline constexpr int16_t kKeyEnglish = 1;

inline constexpr uint16_t kToggleVirtualKey = 32;  // Control + space switches the mode

// State, mode and fields.
int InitAutomata(AutomataState* s, int32_t keyboardType);
int SetKbdType(AutomataState* s, int32_t keyboardType);
int32_t GetKbdType(const AutomataState* s);
int SetUserKbdType(AutomataState* s, StepRoutine step, JamoToKeyRoutine initialToKey,
                   JamoToKeyRoutine medialToKey, JamoToKeyRoutine finalToKey);
int SetHangulMode(AutomataState* s, int32_t mode);
int32_t IsInHangulMode(const AutomataState* s);
// controlDown: whether the Control key is held (the caller asks the platform).
int IsToggleKeyPressed(AutomataState* s, int virtualKey, bool controlDown);
// After a result of -5 the caller flips its recorded Control key state.
int16_t GetKey(AutomataState* s, uint16_t* key, bool controlDown);
uint16_t GetCompletedCode(const AutomataState* s);
uint16_t GetCurrentCode(const AutomataState* s);
int GetCurrentKeys(AutomataState* s, uint16_t* initialKey, uint16_t* medialKey, uint16_t* finalKey);
uint16_t MakeCompleteCode(AutomataState* s);
int ClearCodes(AutomataState* s);
int IsProcessingInput(const AutomataState* s);
int WasProcessingInput(const AutomataState* s);

// The built-in step routines, also for user layouts to delegate to.
int16_t KESTA_AUTOMATA_CALL Automata2(AutomataState* s, uint16_t* key);
int16_t KESTA_AUTOMATA_CALL Automata3(AutomataState* s, uint16_t* key);

// Key of the first table row holding the jamo: two-set tables for type 2,
// three-set tables for type 1, 0 otherwise or when no row holds it.
uint16_t KESTA_AUTOMATA_CALL Cho2Key(AutomataState* s, uint16_t jamo);
uint16_t KESTA_AUTOMATA_CALL Jung2Key(AutomataState* s, uint16_t jamo);
uint16_t KESTA_AUTOMATA_CALL Jong2Key(AutomataState* s, uint16_t jamo);

}  // namespace kesta::hangul
