// The record operations around the step routines: set-up and keyboard types,
// mode and the Control+space toggle, GetKey in English mode, completion and
// clearing, the processing flags, the jamo-to-key routines and user layouts.
#include <gtest/gtest.h>

#include <cstring>

#include "hangul/automata.h"
#include "hangul/automata_jamo.h"
#include "tests/hangul/typist.h"

namespace kesta::hangul::testing {
namespace {

namespace ini = jamo::ini;
namespace med = jamo::med;
namespace fin = jamo::fin;
constexpr uint16_t code(uint16_t i, uint16_t m, uint16_t f) { return makeCombinationCode(i, m, f); }

// ---- Set-up and keyboard types ----

TEST(AutomataSetUp, InitAutomataSetsEveryFieldAndEnglishMode) {
  AutomataState s;
  std::memset(&s, 0x5A, sizeof s);
  ASSERT_EQ(InitAutomata(&s, kTwoSetKeyboard), 1);
  EXPECT_EQ(s.keyboardType, kTwoSetKeyboard);
  EXPECT_EQ(s.step, &Automata2);
  EXPECT_EQ(s.hangulMode, 0);
  EXPECT_EQ(s.state, 0);
  EXPECT_EQ(s.completedCode, 0);
  EXPECT_EQ(GetCurrentCode(&s), kEmptyCode);
  EXPECT_EQ(s.initialToKey, &Cho2Key);
  EXPECT_EQ(s.medialToKey, &Jung2Key);
  EXPECT_EQ(s.finalToKey, &Jong2Key);
}

TEST(AutomataSetUp, EveryTypeButTwoAndThreeTakesTheThreeSetRoutine) {
  AutomataState s{};
  ASSERT_EQ(InitAutomata(&s, kThreeSetKeyboard), 1);
  EXPECT_EQ(s.step, &Automata3);
  ASSERT_EQ(InitAutomata(&s, 7), 1);
  EXPECT_EQ(s.step, &Automata3);
  EXPECT_EQ(GetKbdType(&s), 7);
  EXPECT_EQ(Cho2Key(&s, ini::G), 0);  // no tables for an unknown type
}

TEST(AutomataSetUp, TheUserTypeIsRefusedAndNothingChanges) {
  AutomataState s{};
  InitAutomata(&s, kTwoSetKeyboard);
  EXPECT_EQ(InitAutomata(&s, kUserKeyboard), 0);
  EXPECT_EQ(SetKbdType(&s, kUserKeyboard), 0);
  EXPECT_EQ(GetKbdType(&s), kTwoSetKeyboard);
  EXPECT_EQ(s.step, &Automata2);
}

TEST(AutomataSetUp, SetKbdTypeChangesOnlyTypeAndRoutine) {
  Typist t(kTwoSetKeyboard);
  t.type("rk");
  ASSERT_EQ(SetKbdType(&t.s, kThreeSetKeyboard), 1);
  EXPECT_EQ(GetKbdType(&t.s), kThreeSetKeyboard);
  EXPECT_EQ(t.s.step, &Automata3);
  EXPECT_EQ(t.s.state, 2);
  EXPECT_EQ(IsInHangulMode(&t.s), 1);
  EXPECT_EQ(GetCurrentCode(&t.s), code(ini::G, med::A, fin::Fill));
}

TEST(AutomataSetUp, ANullRecordChangesNothingAndAnswersZero) {
  uint16_t key = 'r', a = 1, b = 1, c = 1;
  EXPECT_EQ(InitAutomata(nullptr, 2), 0);
  EXPECT_EQ(SetKbdType(nullptr, 2), 0);
  EXPECT_EQ(GetKbdType(nullptr), 0);
  EXPECT_EQ(SetUserKbdType(nullptr, Automata2, Cho2Key, Jung2Key, Jong2Key), 0);
  EXPECT_EQ(SetHangulMode(nullptr, 1), 0);
  EXPECT_EQ(IsInHangulMode(nullptr), 0);
  EXPECT_EQ(IsToggleKeyPressed(nullptr, 32, true), 0);
  EXPECT_EQ(GetKey(nullptr, &key, false), 0);
  EXPECT_EQ(key, 'r');
  EXPECT_EQ(GetCompletedCode(nullptr), 0);
  EXPECT_EQ(GetCurrentCode(nullptr), 0);
  EXPECT_EQ(GetCurrentKeys(nullptr, &a, &b, &c), 0);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(MakeCompleteCode(nullptr), 0);
  EXPECT_EQ(ClearCodes(nullptr), 0);
  EXPECT_EQ(IsProcessingInput(nullptr), 0);
  EXPECT_EQ(WasProcessingInput(nullptr), 0);
  EXPECT_EQ(Automata2(nullptr, &key), kStepNotHangul);
  EXPECT_EQ(Automata3(nullptr, &key), kStepNotHangul);
  EXPECT_EQ(Cho2Key(nullptr, ini::G), 0);
}

// ---- English mode and the record before InitAutomata ----

TEST(AutomataEnglishMode, KeysPassAndBackspaceIsReported) {
  AutomataState s{};
  InitAutomata(&s, kTwoSetKeyboard);
  uint16_t key = 'r';
  EXPECT_EQ(GetKey(&s, &key, false), kKeyEnglish);
  EXPECT_EQ(key, 'r');
  key = 8;
  EXPECT_EQ(GetKey(&s, &key, false), kKeyEnglishBackspace);
  key = 0x2008;
  EXPECT_EQ(GetKey(&s, &key, false), kKeyEnglishBackspace);
  EXPECT_EQ(s.state, 0);
  EXPECT_EQ(GetCurrentCode(&s), kEmptyCode);
}

TEST(AutomataEnglishMode, AZeroedRecordInHangulModeDoesNotCallANullRoutine) {
  AutomataState s{};  // as registration creates it, before InitAutomata
  SetHangulMode(&s, 1);
  uint16_t key = 'r';
  EXPECT_EQ(GetKey(&s, &key, false), kKeyEnglish);
  EXPECT_EQ(key, 'r');
}

// ---- Mode and the toggle ----

TEST(AutomataMode, SetHangulModeCompletesASyllableInProgress) {
  Typist t(kTwoSetKeyboard);
  t.type("gks");
  EXPECT_NE(SetHangulMode(&t.s, 0), 0);
  EXPECT_EQ(GetCompletedCode(&t.s), code(ini::H, med::A, fin::N));
  EXPECT_EQ(t.s.state, 0);
  EXPECT_EQ(GetCurrentCode(&t.s), kEmptyCode);
  EXPECT_EQ(IsInHangulMode(&t.s), 0);
  EXPECT_EQ(SetHangulMode(&t.s, 1), 0);  // nothing in progress in English mode
  EXPECT_EQ(IsInHangulMode(&t.s), 1);
  EXPECT_EQ(SetHangulMode(&t.s, 1), 0);  // Hangul mode, nothing composed
}

TEST(AutomataToggle, OnlyControlSpaceToggles) {
  AutomataState s{};
  InitAutomata(&s, kTwoSetKeyboard);
  EXPECT_EQ(IsToggleKeyPressed(&s, 32, false), 0);
  EXPECT_EQ(IsToggleKeyPressed(&s, 'A', true), 0);
  EXPECT_EQ(IsInHangulMode(&s), 0);
  EXPECT_EQ(IsToggleKeyPressed(&s, 32, true), 1);
  EXPECT_EQ(IsInHangulMode(&s), 1);
  EXPECT_EQ(IsToggleKeyPressed(&s, 32, true), 1);
  EXPECT_EQ(IsInHangulMode(&s), 0);
}

TEST(AutomataToggle, SwitchingOnHandsNothingBack) {
  AutomataState s{};
  InitAutomata(&s, kTwoSetKeyboard);
  ASSERT_EQ(IsToggleKeyPressed(&s, 32, true), 1);
  uint16_t key = 32;
  EXPECT_EQ(GetKey(&s, &key, true), kKeyToggle);
  EXPECT_EQ(key, 0);
  key = 'r';
  EXPECT_EQ(GetKey(&s, &key, false), kKeyComposing);
  EXPECT_EQ(key, code(ini::G, med::Fill, fin::Fill));
}

TEST(AutomataToggle, SwitchingOffHandsTheSyllableBackThroughGetKeyAndMakeCompleteCode) {
  Typist t(kTwoSetKeyboard);
  t.type("dkf");  // 알
  const uint16_t al = code(ini::NG, med::A, fin::L);
  ASSERT_EQ(IsToggleKeyPressed(&t.s, 32, true), 1);
  EXPECT_EQ(IsInHangulMode(&t.s), 0);
  EXPECT_EQ(GetCompletedCode(&t.s), al);
  EXPECT_EQ(t.s.state, 4);  // the toggle key's character hands it over
  uint16_t key = 32;
  EXPECT_EQ(GetKey(&t.s, &key, true), kKeyToggle);
  EXPECT_EQ(key, al);
  EXPECT_EQ(t.s.state, 0);
  EXPECT_EQ(GetCompletedCode(&t.s), 0);
  EXPECT_EQ(GetCurrentCode(&t.s), al);  // the jamo stay for MakeCompleteCode
  EXPECT_EQ(MakeCompleteCode(&t.s), al);
  EXPECT_EQ(GetCurrentCode(&t.s), kEmptyCode);
  key = 'r';
  EXPECT_EQ(GetKey(&t.s, &key, false), kKeyEnglish);
}

TEST(AutomataToggle, ControlSpaceInGetKeyNeverReachesTheStepRoutine) {
  Typist t(kTwoSetKeyboard);
  uint16_t key = 32;
  EXPECT_EQ(GetKey(&t.s, &key, true), kKeyToggle);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(IsInHangulMode(&t.s), 1);  // only IsToggleKeyPressed flips the mode
  key = 32;
  EXPECT_EQ(GetKey(&t.s, &key, false), kKeyOrdinary);  // a plain space
  EXPECT_EQ(key, 32);
}

// ---- Completion, clearing and the processing flags ----

TEST(AutomataCompletion, MakeCompleteCodeWithNothingComposed) {
  Typist t(kTwoSetKeyboard);
  EXPECT_EQ(MakeCompleteCode(&t.s), 0);
  EXPECT_EQ(GetCompletedCode(&t.s), kEmptyCode);
  EXPECT_EQ(t.s.state, 0);
}

TEST(AutomataCompletion, MakeCompleteCodeFinishesEveryKindOfSyllable) {
  struct Case {
    int32_t type;
    const char* keys;
    uint16_t want;
  } cases[] = {
      {kTwoSetKeyboard, "r", code(ini::G, med::Fill, fin::Fill)},
      {kTwoSetKeyboard, "h", code(ini::Fill, med::O, fin::Fill)},
      {kTwoSetKeyboard, "kr", code(ini::Fill, med::A, fin::G)},
      {kTwoSetKeyboard, "rhkfr", code(ini::G, med::WA, fin::LG)},
      {kThreeSetKeyboard, "wx", code(ini::Fill, med::Fill, fin::LG)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    Typist t(c.type);
    t.type(c.keys);
    EXPECT_EQ(MakeCompleteCode(&t.s), c.want);
    EXPECT_EQ(GetCompletedCode(&t.s), c.want);
    EXPECT_EQ(t.s.state, 0);
    EXPECT_EQ(GetCurrentCode(&t.s), kEmptyCode);
  }
}

TEST(AutomataCompletion, ClearCodesDropsTheSyllable) {
  Typist t(kTwoSetKeyboard);
  t.type("rks");
  EXPECT_EQ(ClearCodes(&t.s), 1);
  EXPECT_EQ(t.s.state, 0);
  EXPECT_EQ(GetCompletedCode(&t.s), kEmptyCode);
  EXPECT_EQ(GetCurrentCode(&t.s), kEmptyCode);
  uint16_t key = 'k';
  EXPECT_EQ(GetKey(&t.s, &key, false), kKeyComposing);  // a fresh lone vowel
  EXPECT_EQ(t.s.state, 8);
}

TEST(AutomataFlags, ProcessingInputFollowsStateAndPreviousStateInHangulModeOnly) {
  Typist t(kTwoSetKeyboard);
  EXPECT_EQ(IsProcessingInput(&t.s), 0);
  t.press('r');
  EXPECT_EQ(IsProcessingInput(&t.s), 1);
  EXPECT_EQ(WasProcessingInput(&t.s), 0);  // nothing before the ㄱ
  t.press('k');
  EXPECT_EQ(WasProcessingInput(&t.s), 1);
  t.press('.');
  EXPECT_EQ(IsProcessingInput(&t.s), 0);
  EXPECT_EQ(WasProcessingInput(&t.s), 1);
  t.press('r');
  t.s.hangulMode = 0;
  EXPECT_EQ(IsProcessingInput(&t.s), 0);
  EXPECT_EQ(WasProcessingInput(&t.s), 0);
}

// ---- Jamo to key ----

TEST(AutomataJamoToKey, FirstRowWinsInTwoSetTables) {
  AutomataState s{};
  InitAutomata(&s, kTwoSetKeyboard);
  EXPECT_EQ(Cho2Key(&s, ini::N), 's');  // not 'S'
  EXPECT_EQ(Cho2Key(&s, ini::DD), 'E');
  EXPECT_EQ(Jung2Key(&s, med::A), 'k');
  EXPECT_EQ(Jung2Key(&s, med::YE), 'P');
  EXPECT_EQ(Jung2Key(&s, med::WA), 0);  // double medials have no key of their own
  EXPECT_EQ(Jong2Key(&s, fin::GG), 'R');
  EXPECT_EQ(Jong2Key(&s, fin::LG), 0);
  EXPECT_EQ(Jong2Key(&s, fin::H), 'g');
  EXPECT_EQ(Cho2Key(&s, ini::Fill), 0);
}

TEST(AutomataJamoToKey, ThreeSetTables) {
  AutomataState s{};
  InitAutomata(&s, kThreeSetKeyboard);
  EXPECT_EQ(Cho2Key(&s, ini::T), '\'');
  EXPECT_EQ(Cho2Key(&s, ini::GG), 0);
  EXPECT_EQ(Jung2Key(&s, med::O), 'v');  // not '/'
  EXPECT_EQ(Jung2Key(&s, med::U), 'b');  // not '9'
  EXPECT_EQ(Jung2Key(&s, med::UI), '8');
  EXPECT_EQ(Jong2Key(&s, fin::NH), 'S');
  EXPECT_EQ(Jong2Key(&s, fin::H), '1');
}

TEST(AutomataJamoToKey, GetCurrentKeysGivesTheKeysOfTheSyllable) {
  Typist t(kTwoSetKeyboard);
  t.type("Rks");
  uint16_t i = 1, m = 1, f = 1;
  EXPECT_EQ(GetCurrentKeys(&t.s, &i, &m, &f), 1);
  EXPECT_EQ(i, 'R');
  EXPECT_EQ(m, 'k');
  EXPECT_EQ(f, 's');
  t.type("\b\b");
  EXPECT_EQ(GetCurrentKeys(&t.s, &i, &m, &f), 1);
  EXPECT_EQ(i, 'R');
  EXPECT_EQ(m, 0);  // fill
  EXPECT_EQ(f, 0);
}

// ---- A user layout ----

int userSteps = 0;
int16_t KESTA_AUTOMATA_CALL countingStep(AutomataState* s, uint16_t* key) {
  ++userSteps;
  return Automata2(s, key);
}
uint16_t KESTA_AUTOMATA_CALL upperKey(AutomataState*, uint16_t jamo) { return static_cast<uint16_t>(0x100 + jamo); }

TEST(AutomataUserLayout, NullRoutinesAreRefused) {
  AutomataState s{};
  InitAutomata(&s, kTwoSetKeyboard);
  EXPECT_EQ(SetUserKbdType(&s, nullptr, upperKey, upperKey, upperKey), 0);
  EXPECT_EQ(SetUserKbdType(&s, countingStep, upperKey, nullptr, upperKey), 0);
  EXPECT_EQ(GetKbdType(&s), kTwoSetKeyboard);
  EXPECT_EQ(s.step, &Automata2);
}

TEST(AutomataUserLayout, TheUserRoutinesAreCalledThroughTheRecord) {
  AutomataState s{};
  InitAutomata(&s, kTwoSetKeyboard);
  ASSERT_EQ(SetUserKbdType(&s, countingStep, upperKey, upperKey, upperKey), 1);
  EXPECT_EQ(GetKbdType(&s), kUserKeyboard);
  SetHangulMode(&s, 1);
  userSteps = 0;
  uint16_t key = 'r';
  EXPECT_EQ(GetKey(&s, &key, false), kKeyComposing);
  key = 'k';
  EXPECT_EQ(GetKey(&s, &key, false), kKeyComposing);
  EXPECT_EQ(userSteps, 2);
  EXPECT_EQ(key, code(ini::G, med::A, fin::Fill));
  uint16_t i = 0, m = 0, f = 9;
  GetCurrentKeys(&s, &i, &m, &f);
  EXPECT_EQ(i, 0x100 + ini::G);
  EXPECT_EQ(m, 0x100 + med::A);
  EXPECT_EQ(f, 0);
  EXPECT_EQ(Cho2Key(&s, ini::G), 0);  // the built-in routines know no tables for type 3
}

// A user routine may call the built-in ones directly, without GetKey's clearing.
TEST(AutomataUserLayout, ABuiltInStepThatErasesLeavesNoJamoBehind) {
  for (int32_t type : {kTwoSetKeyboard, kThreeSetKeyboard}) {
    Typist t(type);
    t.press(type == kTwoSetKeyboard ? 'k' : 'f');  // ㅏ alone
    uint16_t key = 8;
    const StepRoutine step = type == kTwoSetKeyboard ? Automata2 : Automata3;
    EXPECT_EQ(step(&t.s, &key), kStepErased);
    EXPECT_EQ(t.s.state, 0);
    EXPECT_EQ(GetCurrentCode(&t.s), kEmptyCode);
  }
}

// A user routine that leaves a state no layout knows: the built-in routines
// finish what is there and start afresh instead of reading past a table.
TEST(AutomataUserLayout, UnknownStatesFinishTheSyllable) {
  for (int32_t type : {kTwoSetKeyboard, kThreeSetKeyboard}) {
    Typist t(type);
    t.type(type == kTwoSetKeyboard ? "rk" : "kf");
    t.s.state = 99;
    uint16_t key = '.';
    EXPECT_EQ(GetKey(&t.s, &key, false), kKeyCompletedThenKey);
    EXPECT_EQ(GetCompletedCode(&t.s), code(ini::G, med::A, fin::Fill));
    EXPECT_EQ(t.s.state, 0);
  }
}

}  // namespace
}  // namespace kesta::hangul::testing
