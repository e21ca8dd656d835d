// Three-set layout: every transition of every state, in the order the checks
// run, the symbol table, and whole words.
#include <gtest/gtest.h>

#include "tests/hangul/transition_check.h"

namespace kesta::hangul::testing {
namespace {

constexpr uint16_t I0 = ini::Fill, M0 = med::Fill, F0 = fin::Fill, E = kEmptyCode;
constexpr uint16_t BS = kBackspace;

void check(const std::vector<Transition>& rows) { checkTransitions(kThreeSetKeyboard, rows); }

TEST(ThreeSetState0Nothing, InitialMedialFinalOrSymbol) {
  check({
      {"", 0, 'k', 0, 1, code(ini::G, M0, F0), 0},
      {"", 0, 'f', 0, 2, code(I0, med::A, F0), 0},
      {"", 0, '/', 0, 2, code(I0, med::O, F0), 0},
      {"", 0, 'x', 0, 3, code(I0, M0, fin::G), 0},
      {"", 0, 'S', 0, 3, code(I0, M0, fin::NH), 0},
      {"", 0, 'T', -3, 0, E, 0, ';'},
      {"", 0, 'H', -3, 0, E, 0, '\''},
      {"", 0, '<', -3, 0, E, 0, '2'},
      {"", 0, '>', -3, 0, E, 0, '3'},
      {"", 0, '.', -3, 0, E, 0},
      {"", 0, BS, -3, 0, E, 0},
  });
}

TEST(ThreeSetState1Initial, MedialDoubleInitialNewInitialNewFinalBackspace) {
  check({
      {"k", 1, 'f', 0, 4, code(ini::G, med::A, F0), 0},
      {"k", 1, 'k', 0, 5, code(ini::GG, M0, F0), 0},
      {"u", 1, 'u', 0, 5, code(ini::DD, M0, F0), 0},
      {";", 1, ';', 0, 5, code(ini::BB, M0, F0), 0},
      {"n", 1, 'n', 0, 5, code(ini::SS, M0, F0), 0},
      {"l", 1, 'l', 0, 5, code(ini::JJ, M0, F0), 0},
      {"k", 1, 'h', -1, 1, code(ini::N, M0, F0), code(ini::G, M0, F0)},
      {"k", 1, 'x', -1, 3, code(I0, M0, fin::G), code(ini::G, M0, F0)},
      {"k", 1, BS, -4, 0, E, 0},
      {"k", 1, 'T', -2, 0, E, code(ini::G, M0, F0), ';'},
  });
}

TEST(ThreeSetState2LoneMedial, FinalDoubleMedialNewInitialNewMedialBackspace) {
  check({
      {"f", 2, 's', 0, 6, code(I0, med::A, fin::N), 0},
      {"v", 2, 'f', 0, 7, code(I0, med::WA, F0), 0},
      {"/", 2, 'r', 0, 7, code(I0, med::WAE, F0), 0},
      {"g", 2, 'd', 0, 7, code(I0, med::UI, F0), 0},
      {"f", 2, 'k', -1, 1, code(ini::G, M0, F0), code(I0, med::A, F0)},
      {"f", 2, 'f', -1, 2, code(I0, med::A, F0), code(I0, med::A, F0)},
      {"f", 2, BS, -4, 0, E, 0},
      {"f", 2, 'Y', -2, 0, E, code(I0, med::A, F0), '<'},
  });
}

TEST(ThreeSetState3LoneFinal, DoubleFinalNewInitialNewMedialNewFinalBackspace) {
  check({
      {"x", 3, 'q', 0, 8, code(I0, M0, fin::GS), 0},
      {"w", 3, '1', 0, 8, code(I0, M0, fin::LH), 0},
      {"x", 3, 'k', -1, 1, code(ini::G, M0, F0), code(I0, M0, fin::G)},
      {"x", 3, 'f', -1, 2, code(I0, med::A, F0), code(I0, M0, fin::G)},
      {"x", 3, 'x', -1, 3, code(I0, M0, fin::G), code(I0, M0, fin::G)},
      {"x", 3, BS, -4, 0, E, 0},
      {"x", 3, '.', -2, 0, E, code(I0, M0, fin::G)},
  });
}

TEST(ThreeSetState4InitialMedial, FinalDoubleMedialInPlaceNewInitialNewMedialBackspace) {
  check({
      {"kf", 4, 'x', 0, 9, code(ini::G, med::A, fin::G), 0},
      {"kv", 4, 'f', 0, 4, code(ini::G, med::WA, F0), 0},
      {"kb", 4, 'c', 0, 4, code(ini::G, med::WE, F0), 0},
      {"kf", 4, 'k', -1, 1, code(ini::G, M0, F0), code(ini::G, med::A, F0)},
      {"kf", 4, 'f', -1, 2, code(I0, med::A, F0), code(ini::G, med::A, F0)},
      {"kvf", 4, 'd', -1, 2, code(I0, med::I, F0), code(ini::G, med::WA, F0)},  // no triple vowel
      {"kf", 4, BS, 0, 1, code(ini::G, M0, F0), 0},
      {"kvf", 4, BS, 0, 1, code(ini::G, M0, F0), 0},  // the double medial goes whole
      {"kf", 4, 'U', -2, 0, E, code(ini::G, med::A, F0), '7'},
  });
}

TEST(ThreeSetState5DoubleInitial, MedialNewInitialNewFinalBackspaceToFirstPart) {
  check({
      {"kk", 5, 'f', 0, 4, code(ini::GG, med::A, F0), 0},
      {"kk", 5, 'k', -1, 1, code(ini::G, M0, F0), code(ini::GG, M0, F0)},
      {"kk", 5, 'x', -1, 3, code(I0, M0, fin::G), code(ini::GG, M0, F0)},
      {"kk", 5, BS, 0, 1, code(ini::G, M0, F0), 0},
      {"nn", 5, BS, 0, 1, code(ini::S, M0, F0), 0},
      {"kk", 5, 'I', -2, 0, E, code(ini::GG, M0, F0), '8'},
  });
}

TEST(ThreeSetState6LoneMedialFinal, DoubleFinalNewSyllablesBackspace) {
  check({
      {"fx", 6, 'q', 0, 10, code(I0, med::A, fin::GS), 0},
      {"fx", 6, 'k', -1, 1, code(ini::G, M0, F0), code(I0, med::A, fin::G)},
      {"fx", 6, 'f', -1, 2, code(I0, med::A, F0), code(I0, med::A, fin::G)},
      {"fx", 6, 's', -1, 3, code(I0, M0, fin::N), code(I0, med::A, fin::G)},
      {"fx", 6, BS, 0, 2, code(I0, med::A, F0), 0},
      {"fx", 6, 'O', -2, 0, E, code(I0, med::A, fin::G), '9'},
  });
}

TEST(ThreeSetState7LoneDoubleMedial, FinalNewInitialNewMedialBackspace) {
  check({
      {"vf", 7, 'x', 0, 11, code(I0, med::WA, fin::G), 0},
      {"vf", 7, 'k', -1, 1, code(ini::G, M0, F0), code(I0, med::WA, F0)},
      {"vf", 7, 'f', -1, 2, code(I0, med::A, F0), code(I0, med::WA, F0)},
      {"vf", 7, BS, 0, 2, code(I0, med::O, F0), 0},
      {"bt", 7, BS, 0, 2, code(I0, med::U, F0), 0},
      {"vf", 7, 'P', -2, 0, E, code(I0, med::WA, F0), '>'},
  });
}

TEST(ThreeSetState8LoneDoubleFinal, NewSyllablesBackspaceToFirstPart) {
  check({
      {"wx", 8, 'k', -1, 1, code(ini::G, M0, F0), code(I0, M0, fin::LG)},
      {"wx", 8, 'f', -1, 2, code(I0, med::A, F0), code(I0, M0, fin::LG)},
      {"wx", 8, 's', -1, 3, code(I0, M0, fin::N), code(I0, M0, fin::LG)},
      {"wx", 8, BS, 0, 3, code(I0, M0, fin::L), 0},
      {"wx", 8, 'G', -2, 0, E, code(I0, M0, fin::LG), '/'},
  });
}

TEST(ThreeSetState9InitialMedialFinal, DoubleFinalNewSyllablesBackspace) {
  check({
      {"kfx", 9, 'q', 0, 12, code(ini::G, med::A, fin::GS), 0},
      {"kfx", 9, 'k', -1, 1, code(ini::G, M0, F0), code(ini::G, med::A, fin::G)},
      {"kfx", 9, 'f', -1, 2, code(I0, med::A, F0), code(ini::G, med::A, fin::G)},  // the final stays
      {"kfx", 9, 's', -1, 3, code(I0, M0, fin::N), code(ini::G, med::A, fin::G)},
      {"kfx", 9, BS, 0, 4, code(ini::G, med::A, F0), 0},
      {"kfx", 9, 'J', -2, 0, E, code(ini::G, med::A, fin::G), '4'},
  });
}

TEST(ThreeSetState10LoneMedialDoubleFinal, NewSyllablesBackspaceToFirstPart) {
  check({
      {"fwx", 10, 'k', -1, 1, code(ini::G, M0, F0), code(I0, med::A, fin::LG)},
      {"fwx", 10, 'f', -1, 2, code(I0, med::A, F0), code(I0, med::A, fin::LG)},
      {"fwx", 10, 's', -1, 3, code(I0, M0, fin::N), code(I0, med::A, fin::LG)},
      {"fwx", 10, BS, 0, 6, code(I0, med::A, fin::L), 0},
      {"fwx", 10, 'K', -2, 0, E, code(I0, med::A, fin::LG), '5'},
  });
}

TEST(ThreeSetState11LoneDoubleMedialFinal, DoubleFinalNewSyllablesBackspace) {
  check({
      {"vfx", 11, 'q', 0, 12, code(I0, med::WA, fin::GS), 0},
      {"vfx", 11, 'k', -1, 1, code(ini::G, M0, F0), code(I0, med::WA, fin::G)},
      {"vfx", 11, 'f', -1, 2, code(I0, med::A, F0), code(I0, med::WA, fin::G)},
      {"vfx", 11, 's', -1, 3, code(I0, M0, fin::N), code(I0, med::WA, fin::G)},
      {"vfx", 11, BS, 0, 7, code(I0, med::WA, F0), 0},
      {"vfx", 11, 'L', -2, 0, E, code(I0, med::WA, fin::G), '6'},
  });
}

TEST(ThreeSetState12MedialDoubleFinal, NewSyllablesBackspaceToWhereItCameFrom) {
  check({
      {"kfwx", 12, 'k', -1, 1, code(ini::G, M0, F0), code(ini::G, med::A, fin::LG)},
      {"kfwx", 12, 'f', -1, 2, code(I0, med::A, F0), code(ini::G, med::A, fin::LG)},
      {"kfwx", 12, 's', -1, 3, code(I0, M0, fin::N), code(ini::G, med::A, fin::LG)},
      {"kfwx", 12, BS, 0, 9, code(ini::G, med::A, fin::L), 0},
      {"vfwx", 12, BS, 0, 11, code(I0, med::WA, fin::L), 0},  // no initial: back to state 11
      {"kfwx", 12, 'B', -2, 0, E, code(ini::G, med::A, fin::LG), '!'},
  });
}

// A syllable of a double medial and a double final without an initial must
// unwind through the states that have no initial: never into "initial +
// medial", where a following consonant would complete an empty syllable.
TEST(ThreeSetBackspace, LoneDoubleMedialDoubleFinalUnwindsToEmpty) {
  Typist t(kThreeSetKeyboard);
  t.type("vfwx");  // ㅘ + ㄺ
  const std::vector<int32_t> states = {11, 7, 2};
  for (int32_t want : states) {
    EXPECT_EQ(t.press(BS), kKeyComposing);
    EXPECT_EQ(t.s.state, want);
  }
  EXPECT_EQ(t.press(BS), kKeyErased);
  EXPECT_EQ(t.s.state, 0);
  EXPECT_EQ(GetCurrentCode(&t.s), kEmptyCode);
}

TEST(ThreeSetSymbols, EveryShiftedKeyOfTheTable) {
  const char* keys = "TYUIOPGJKLBNM<>H";
  const char* symbols = ";<789>/456!0123'";
  for (int n = 0; keys[n] != '\0'; ++n) {
    SCOPED_TRACE(keys[n]);
    Typist idle(kThreeSetKeyboard);
    uint16_t key = 0;
    EXPECT_EQ(idle.press(static_cast<uint16_t>(keys[n]), &key), kKeyOrdinary);
    EXPECT_EQ(key, static_cast<uint16_t>(symbols[n]));
  }
}

TEST(ThreeSetSymbols, KeysOutsideTheTableComeBackUnchanged) {
  for (uint16_t ch : {uint16_t{'.'}, uint16_t{' '}, uint16_t{'?'}, uint16_t{0x1234}}) {
    Typist after(kThreeSetKeyboard);
    after.type("kf");
    uint16_t key = 0;
    EXPECT_EQ(after.press(ch, &key), kKeyCompletedThenKey);
    EXPECT_EQ(key, ch);
  }
}

std::vector<uint16_t> syllables(std::initializer_list<uint16_t> codes) { return codes; }

TEST(ThreeSetWords, HangeulAndAnnyeong) {
  EXPECT_EQ(Typist(kThreeSetKeyboard).word("mfskgw"),  // 한글
            syllables({code(ini::H, med::A, fin::N), code(ini::G, med::EU, fin::L)}));
  EXPECT_EQ(Typist(kThreeSetKeyboard).word("jfsheajf"),  // 안녕아
            syllables({code(ini::NG, med::A, fin::N), code(ini::N, med::YEO, fin::NG), code(ini::NG, med::A, F0)}));
  EXPECT_EQ(Typist(kThreeSetKeyboard).word("jt3qjt"),  // 없어
            syllables({code(ini::NG, med::EO, fin::BS), code(ini::NG, med::EO, F0)}));
}

// The same sentence typed in both layouts commits the same codes.
TEST(ThreeSetWords, ASentenceCommitsWhatTheTwoSetLayoutCommits) {
  const auto twoSet = Typist(kTwoSetKeyboard).word("dkssudgktpdy gksrmf wkvksdmf tlgjagkqslek.");
  const auto threeSet = Typist(kThreeSetKeyboard).word("jfsheamfncj4 mfskgw lfpfsjgw ndmtzmf3hduf.");
  EXPECT_EQ(threeSet, twoSet);
  EXPECT_EQ(twoSet.size(), 19u);  // 안녕하세요 한글 자판을 시험합니다.
}

TEST(ThreeSetWords, SymbolsBetweenSyllables) {
  EXPECT_EQ(Typist(kThreeSetKeyboard).word("kfT kfB"),  // 가; 가!
            syllables({code(ini::G, med::A, F0), ';', ' ', code(ini::G, med::A, F0), '!'}));
}

}  // namespace
}  // namespace kesta::hangul::testing
