// Two-set layout: every transition of every state, in the order the checks
// run, plus whole words typed the way people type them.
#include <gtest/gtest.h>

#include "tests/hangul/transition_check.h"

namespace kesta::hangul::testing {
namespace {

constexpr uint16_t I0 = ini::Fill, M0 = med::Fill, F0 = fin::Fill, E = kEmptyCode;
constexpr uint16_t BS = kBackspace;

void check(const std::vector<Transition>& rows) { checkTransitions(kTwoSetKeyboard, rows); }

TEST(TwoSetState0Nothing, ConsonantBeginsInitialVowelBeginsLoneMedialOthersPass) {
  check({
      {"", 0, 'r', 0, 1, code(ini::G, M0, F0), 0},
      {"", 0, 'R', 0, 1, code(ini::GG, M0, F0), 0},
      {"", 0, 'E', 0, 1, code(ini::DD, M0, F0), 0},
      {"", 0, 'k', 0, 8, code(I0, med::A, F0), 0},
      {"", 0, 'O', 0, 8, code(I0, med::YAE, F0), 0},
      {"", 0, '1', -3, 0, E, 0},
      {"", 0, ' ', -3, 0, E, 0},
      {"", 0, BS, -3, 0, E, 0},
  });
}

TEST(TwoSetState1Initial, VowelDoubleInitialNewInitialBackspace) {
  check({
      {"r", 1, 'k', 0, 2, code(ini::G, med::A, F0), 0},
      {"r", 1, 'r', 0, 14, code(ini::GG, M0, F0), 0},
      {"e", 1, 'e', 0, 14, code(ini::DD, M0, F0), 0},
      {"q", 1, 'q', 0, 14, code(ini::BB, M0, F0), 0},
      {"t", 1, 't', 0, 14, code(ini::SS, M0, F0), 0},
      {"w", 1, 'w', 0, 14, code(ini::JJ, M0, F0), 0},
      {"r", 1, 'R', -1, 1, code(ini::GG, M0, F0), code(ini::G, M0, F0)},  // only ㄱ+r doubles
      {"r", 1, 's', -1, 1, code(ini::N, M0, F0), code(ini::G, M0, F0)},
      {"r", 1, BS, -4, 0, E, 0},
      {"r", 1, '.', -2, 0, E, code(ini::G, M0, F0)},
  });
}

TEST(TwoSetState2InitialMedial, FinalDoubleMedialNewMedialNewInitialBackspace) {
  check({
      {"rk", 2, 's', 0, 4, code(ini::G, med::A, fin::N), 0},
      {"rk", 2, 'R', 0, 4, code(ini::G, med::A, fin::GG), 0},
      {"rk", 2, 'E', -1, 1, code(ini::DD, M0, F0), code(ini::G, med::A, F0)},  // ㄸ is never a final
      {"rh", 2, 'k', 0, 3, code(ini::G, med::WA, F0), 0},
      {"rh", 2, 'K', 0, 3, code(ini::G, med::WA, F0), 0},
      {"rn", 2, 'p', 0, 3, code(ini::G, med::WE, F0), 0},
      {"rm", 2, 'l', 0, 3, code(ini::G, med::UI, F0), 0},
      {"rk", 2, 'k', -1, 2, code(I0, med::A, F0), code(ini::G, med::A, F0)},
      {"rh", 2, 'O', -1, 2, code(I0, med::YAE, F0), code(ini::G, med::O, F0)},
      {"rk", 2, BS, 0, 1, code(ini::G, M0, F0), 0},  // the initial stays
      {"rkk", 2, BS, -4, 0, E, 0},                   // no initial: the composition is gone
      {"rk", 2, '/', -2, 0, E, code(ini::G, med::A, F0)},
  });
}

TEST(TwoSetState3InitialDoubleMedial, FinalNewMedialNewInitialBackspaceToFirstPart) {
  check({
      {"rhk", 3, 's', 0, 6, code(ini::G, med::WA, fin::N), 0},
      {"rhk", 3, 'l', -1, 2, code(I0, med::I, F0), code(ini::G, med::WA, F0)},
      {"rhk", 3, 'Q', -1, 1, code(ini::BB, M0, F0), code(ini::G, med::WA, F0)},
      {"rhk", 3, BS, 0, 2, code(ini::G, med::O, F0), 0},
      {"rnl", 3, BS, 0, 2, code(ini::G, med::U, F0), 0},
      {"rml", 3, BS, 0, 2, code(ini::G, med::EU, F0), 0},
      {"rhk", 3, '?', -2, 0, E, code(ini::G, med::WA, F0)},
  });
}

TEST(TwoSetState4InitialMedialFinal, DoubleFinalSplitNewInitialBackspace) {
  check({
      {"rkr", 4, 't', 0, 5, code(ini::G, med::A, fin::GS), 0},
      {"rks", 4, 'g', 0, 5, code(ini::G, med::A, fin::NH), 0},
      {"rks", 4, 'G', 0, 5, code(ini::G, med::A, fin::NH), 0},
      {"rkf", 4, 'x', 0, 5, code(ini::G, med::A, fin::LT), 0},
      {"rks", 4, 'k', -1, 2, code(ini::N, med::A, F0), code(ini::G, med::A, F0)},
      {"rkR", 4, 'k', -1, 2, code(ini::GG, med::A, F0), code(ini::G, med::A, F0)},  // ㄲ moves whole
      {"rkT", 4, 'k', -1, 2, code(ini::SS, med::A, F0), code(ini::G, med::A, F0)},
      {"rks", 4, 'r', -1, 1, code(ini::G, M0, F0), code(ini::G, med::A, fin::N)},
      {"rkr", 4, 'r', -1, 1, code(ini::G, M0, F0), code(ini::G, med::A, fin::G)},
      {"rks", 4, BS, 0, 2, code(ini::G, med::A, F0), 0},
      {"rks", 4, '1', -2, 0, E, code(ini::G, med::A, fin::N)},
  });
}

TEST(TwoSetState5InitialMedialDoubleFinal, SplitDoubleNewInitialBackspaceToFirstPart) {
  check({
      {"gkfr", 5, 'k', -1, 2, code(ini::G, med::A, F0), code(ini::H, med::A, fin::L)},
      {"djqt", 5, 'j', -1, 2, code(ini::S, med::EO, F0), code(ini::NG, med::EO, fin::B)},
      {"dksg", 5, 'k', -1, 2, code(ini::H, med::A, F0), code(ini::NG, med::A, fin::N)},
      {"gkfr", 5, 's', -1, 1, code(ini::N, M0, F0), code(ini::H, med::A, fin::LG)},
      {"gkfr", 5, 'r', -1, 1, code(ini::G, M0, F0), code(ini::H, med::A, fin::LG)},
      {"gkfr", 5, BS, 0, 4, code(ini::H, med::A, fin::L), 0},
      {"rkqt", 5, BS, 0, 4, code(ini::G, med::A, fin::B), 0},
      {"gkfr", 5, '.', -2, 0, E, code(ini::H, med::A, fin::LG)},
  });
}

TEST(TwoSetState6InitialDoubleMedialFinal, DoubleFinalSplitNewInitialBackspace) {
  check({
      {"rhkf", 6, 'r', 0, 7, code(ini::G, med::WA, fin::LG), 0},
      {"rhks", 6, 'k', -1, 2, code(ini::N, med::A, F0), code(ini::G, med::WA, F0)},
      {"rhks", 6, 's', -1, 1, code(ini::N, M0, F0), code(ini::G, med::WA, fin::N)},
      {"rhks", 6, BS, 0, 3, code(ini::G, med::WA, F0), 0},
      {"rhks", 6, ',', -2, 0, E, code(ini::G, med::WA, fin::N)},
  });
}

TEST(TwoSetState7InitialDoubleMedialDoubleFinal, SplitDoubleNewInitialBackspace) {
  check({
      {"rhkfr", 7, 'k', -1, 2, code(ini::G, med::A, F0), code(ini::G, med::WA, fin::L)},
      {"rhkfr", 7, 's', -1, 1, code(ini::N, M0, F0), code(ini::G, med::WA, fin::LG)},
      {"rhkfr", 7, BS, 0, 6, code(ini::G, med::WA, fin::L), 0},
      {"rhkfr", 7, '!', -2, 0, E, code(ini::G, med::WA, fin::LG)},
  });
}

TEST(TwoSetState8LoneMedial, FinalWithoutInitialNewInitialDoubleMedialNewMedialBackspace) {
  check({
      {"k", 8, 'r', 0, 10, code(I0, med::A, fin::G), 0},
      {"k", 8, 'E', -1, 1, code(ini::DD, M0, F0), code(I0, med::A, F0)},
      {"h", 8, 'k', 0, 9, code(I0, med::WA, F0), 0},
      {"h", 8, 'O', -1, 8, code(I0, med::YAE, F0), code(I0, med::O, F0)},
      {"k", 8, 'k', -1, 8, code(I0, med::A, F0), code(I0, med::A, F0)},
      {"k", 8, BS, -4, 0, E, 0},
      {"k", 8, '2', -2, 0, E, code(I0, med::A, F0)},
  });
}

TEST(TwoSetState9LoneDoubleMedial, FinalNewInitialNewMedialBackspace) {
  check({
      {"hk", 9, 's', 0, 12, code(I0, med::WA, fin::N), 0},
      {"hk", 9, 'Q', -1, 1, code(ini::BB, M0, F0), code(I0, med::WA, F0)},
      {"hk", 9, 'k', -1, 8, code(I0, med::A, F0), code(I0, med::WA, F0)},
      {"hk", 9, BS, 0, 8, code(I0, med::O, F0), 0},
      {"hk", 9, '-', -2, 0, E, code(I0, med::WA, F0)},
  });
}

TEST(TwoSetState10LoneMedialFinal, DoubleFinalSplitNewInitialBackspace) {
  check({
      {"kf", 10, 'r', 0, 11, code(I0, med::A, fin::LG), 0},
      {"kr", 10, 'k', -1, 2, code(ini::G, med::A, F0), code(I0, med::A, F0)},
      {"kr", 10, 's', -1, 1, code(ini::N, M0, F0), code(I0, med::A, fin::G)},
      {"kr", 10, BS, 0, 8, code(I0, med::A, F0), 0},
      {"kr", 10, '=', -2, 0, E, code(I0, med::A, fin::G)},
  });
}

TEST(TwoSetState11LoneMedialDoubleFinal, SplitDoubleNewInitialBackspace) {
  check({
      {"kfr", 11, 'k', -1, 2, code(ini::G, med::A, F0), code(I0, med::A, fin::L)},
      {"kfr", 11, 's', -1, 1, code(ini::N, M0, F0), code(I0, med::A, fin::LG)},
      {"kfr", 11, BS, 0, 10, code(I0, med::A, fin::L), 0},
      {"kfr", 11, '#', -2, 0, E, code(I0, med::A, fin::LG)},
  });
}

TEST(TwoSetState12LoneDoubleMedialFinal, DoubleFinalSplitNewInitialBackspace) {
  check({
      {"hkf", 12, 'r', 0, 13, code(I0, med::WA, fin::LG), 0},
      {"hkr", 12, 'k', -1, 2, code(ini::G, med::A, F0), code(I0, med::WA, F0)},
      {"hkr", 12, 's', -1, 1, code(ini::N, M0, F0), code(I0, med::WA, fin::G)},
      {"hkr", 12, BS, 0, 9, code(I0, med::WA, F0), 0},
      {"hkr", 12, '~', -2, 0, E, code(I0, med::WA, fin::G)},
  });
}

TEST(TwoSetState13LoneDoubleMedialDoubleFinal, NewInitialSplitDoubleBackspace) {
  check({
      {"hkfr", 13, 's', -1, 1, code(ini::N, M0, F0), code(I0, med::WA, fin::LG)},
      {"hkfr", 13, 'k', -1, 2, code(ini::G, med::A, F0), code(I0, med::WA, fin::L)},
      {"hkfr", 13, BS, 0, 12, code(I0, med::WA, fin::L), 0},
      {"hkfr", 13, ';', -2, 0, E, code(I0, med::WA, fin::LG)},
  });
}

TEST(TwoSetState14DoubleInitial, NewInitialMedialBackspaceToFirstPart) {
  check({
      {"rr", 14, 'r', -1, 1, code(ini::G, M0, F0), code(ini::GG, M0, F0)},
      {"rr", 14, 'k', 0, 2, code(ini::GG, med::A, F0), 0},
      {"rr", 14, BS, 0, 1, code(ini::G, M0, F0), 0},
      {"ww", 14, BS, 0, 1, code(ini::J, M0, F0), 0},
      {"rr", 14, '.', -2, 0, E, code(ini::GG, M0, F0)},
  });
}

// A key whose low byte is 8 is a backspace, whatever its high byte.
TEST(TwoSetBackspace, AnyKeyWithLowByte8) {
  check({{"rk", 2, 0x0108, 0, 1, code(ini::G, M0, F0), 0}});
}

TEST(TwoSetBackspace, RepeatedBackspaceUndoesKeyByKey) {
  Typist t(kTwoSetKeyboard);
  t.type("rhkfr");  // 괅
  const std::vector<uint16_t> expected = {code(ini::G, med::WA, fin::L), code(ini::G, med::WA, F0),
                                          code(ini::G, med::O, F0), code(ini::G, M0, F0)};
  for (uint16_t want : expected) {
    EXPECT_EQ(t.press(BS), kKeyComposing);
    EXPECT_EQ(GetCurrentCode(&t.s), want);
  }
  EXPECT_EQ(t.press(BS), kKeyErased);
  EXPECT_EQ(t.s.state, 0);
  EXPECT_EQ(t.press(BS), kKeyOrdinary);
}

std::vector<uint16_t> syllables(std::initializer_list<uint16_t> codes) { return codes; }

TEST(TwoSetWords, AnnyeonghaseyoFinishedWithMakeCompleteCode) {
  Typist t(kTwoSetKeyboard);
  const auto results = t.type("dkssudgktpdy");
  EXPECT_EQ(results, (std::vector<int16_t>{0, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, -1}));
  EXPECT_EQ(t.word(""), syllables({code(ini::NG, med::A, fin::N), code(ini::N, med::YEO, fin::NG),
                                   code(ini::H, med::A, F0), code(ini::S, med::E, F0), code(ini::NG, med::YO, F0)}));
  EXPECT_EQ(t.s.completedCode, code(ini::NG, med::YO, F0));
  EXPECT_EQ(t.s.state, 0);
}

TEST(TwoSetWords, DoubleFinalsStayWhenAConsonantFollowsAndSplitBeforeAVowel) {
  EXPECT_EQ(Typist(kTwoSetKeyboard).word("djqtdj"),  // 없어
            syllables({code(ini::NG, med::EO, fin::BS), code(ini::NG, med::EO, F0)}));
  EXPECT_EQ(Typist(kTwoSetKeyboard).word("djqtj"),  // 업서: the vowel takes ㅅ
            syllables({code(ini::NG, med::EO, fin::B), code(ini::S, med::EO, F0)}));
  EXPECT_EQ(Typist(kTwoSetKeyboard).word("dlfrdj"),  // 읽어
            syllables({code(ini::NG, med::I, fin::LG), code(ini::NG, med::EO, F0)}));
}

TEST(TwoSetWords, SpacesAndPunctuationBetweenWords) {
  EXPECT_EQ(Typist(kTwoSetKeyboard).word("gksrmf wkf!"),  // 한글 잘!
            syllables({code(ini::H, med::A, fin::N), code(ini::G, med::EU, fin::L), ' ',
                       code(ini::J, med::A, fin::L), '!'}));
}

TEST(TwoSetWords, ShiftedLettersAndDoubleVowels) {
  EXPECT_EQ(Typist(kTwoSetKeyboard).word("RhcRhc"),  // 꽃꽃
            syllables({code(ini::GG, med::O, fin::CH), code(ini::GG, med::O, fin::CH)}));
  EXPECT_EQ(Typist(kTwoSetKeyboard).word("dnjsgkf"),  // 원할
            syllables({code(ini::NG, med::WO, fin::N), code(ini::H, med::A, fin::L)}));
  EXPECT_EQ(Typist(kTwoSetKeyboard).word("dmlwk"),  // 의자
            syllables({code(ini::NG, med::UI, F0), code(ini::J, med::A, F0)}));
}

}  // namespace
}  // namespace kesta::hangul::testing
