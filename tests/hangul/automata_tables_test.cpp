// The key tables: their sizes, that every jamo in them is a letter of its
// kind, that the double tables build from and to jamo the layout types, and
// that every final the two-set layout can hold has an initial to move to.
#include <gtest/gtest.h>

#include "hangul/automata_code.h"
#include "hangul/automata_jamo.h"
#include "hangul/automata_tables.h"

namespace kesta::hangul {
namespace {

namespace ini = jamo::ini;
namespace fin = jamo::fin;

TEST(AutomataTables, RowCounts) {
  EXPECT_EQ(kTwoSetLayout.initials.size(), 28u);
  EXPECT_EQ(kTwoSetLayout.medials.size(), 24u);
  EXPECT_EQ(kTwoSetLayout.finals.size(), 25u);
  EXPECT_EQ(kTwoSetLayout.doubleInitials.size(), 5u);
  EXPECT_EQ(kTwoSetLayout.doubleMedials.size(), 12u);
  EXPECT_EQ(kTwoSetLayout.doubleFinals.size(), 16u);
  EXPECT_EQ(kTwoSetFinalToInitial.size(), 27u);
  EXPECT_EQ(kThreeSetLayout.initials.size(), 14u);
  EXPECT_EQ(kThreeSetLayout.medials.size(), 17u);
  EXPECT_EQ(kThreeSetLayout.finals.size(), 21u);
  EXPECT_EQ(kThreeSetLayout.doubleInitials.size(), 5u);
  EXPECT_EQ(kThreeSetLayout.doubleMedials.size(), 7u);
  EXPECT_EQ(kThreeSetLayout.doubleFinals.size(), 11u);
  EXPECT_EQ(kThreeSetSymbols.size(), 16u);
}

void checkLayout(const Layout& l) {
  for (const auto& row : l.initials) EXPECT_TRUE(isInitialNumber(row.jamo) && row.jamo != ini::Fill) << row.key;
  for (const auto& row : l.medials) EXPECT_TRUE(isMedialNumber(row.jamo) && row.jamo != 2) << row.key;
  for (const auto& row : l.finals) EXPECT_TRUE(isFinalNumber(row.jamo) && row.jamo != fin::Fill) << row.key;
  // A double is made from a jamo of a key of the same kind, with a key of that kind.
  struct Kind {
    std::span<const KeyJamo> keys;
    std::span<const DoubleJamo> doubles;
  } kinds[] = {{l.initials, l.doubleInitials}, {l.medials, l.doubleMedials}, {l.finals, l.doubleFinals}};
  for (const auto& kind : kinds) {
    for (const auto& row : kind.doubles) {
      EXPECT_NE(keyForJamo(kind.keys, row.first), 0) << row.first;
      EXPECT_NE(jamoForKey(kind.keys, row.key), 0) << row.key;
      EXPECT_EQ(firstPartOf(kind.doubles, row.combined), row.first) << row.combined;
      EXPECT_EQ(combineJamo(kind.doubles, row.first, row.key), row.combined);
    }
  }
}

TEST(AutomataTables, DoublesAreMadeOfTheLayoutsOwnJamo) {
  checkLayout(kTwoSetLayout);
  checkLayout(kThreeSetLayout);
}

TEST(AutomataTables, EveryTwoSetFinalHasAnInitialToMoveTo) {
  for (const auto& row : kTwoSetLayout.finals) EXPECT_NE(twoSetInitialForFinal(row.jamo), 0) << row.key;
  for (const auto& row : kTwoSetLayout.doubleFinals) EXPECT_NE(twoSetInitialForFinal(row.combined), 0);
  EXPECT_EQ(twoSetInitialForFinal(fin::LG), ini::G);  // a double leaves its second part
  EXPECT_EQ(twoSetInitialForFinal(fin::BS), ini::S);
  EXPECT_EQ(twoSetInitialForFinal(fin::L), ini::R);
}

TEST(AutomataTables, SearchesFindTheFirstRow) {
  EXPECT_EQ(jamoForKey(kTwoSetLayout.initials, 'S'), ini::N);
  EXPECT_EQ(keyForJamo(kTwoSetLayout.initials, ini::N), 's');
  EXPECT_EQ(jamoForKey(kTwoSetLayout.initials, 'k'), 0);
  EXPECT_EQ(jamoForKey(kTwoSetLayout.initials, 0x0172), 0);  // keys compare as 16 bits
  EXPECT_EQ(threeSetSymbolFor('T'), ';');
  EXPECT_EQ(threeSetSymbolFor('t'), 't');
}

TEST(AutomataCodes, CombinationCodeParts) {
  EXPECT_EQ(makeCombinationCode(ini::Fill, 2, fin::Fill), kEmptyCode);
  EXPECT_EQ(makeCombinationCode(ini::H, 3, fin::N), 0xD065);  // 한
  EXPECT_EQ(initialOf(0xD065), ini::H);
  EXPECT_EQ(medialOf(0xD065), 3);
  EXPECT_EQ(finalOf(0xD065), fin::N);
  EXPECT_TRUE(isValidCombinationCode(kEmptyCode));
  EXPECT_FALSE(isValidCombinationCode(0x0441));                   // no high bit
  EXPECT_FALSE(isValidCombinationCode(makeCombinationCode(21, 3, 1)));  // initial past ㅎ
  EXPECT_FALSE(isValidCombinationCode(makeCombinationCode(2, 8, 1)));   // medial gap
  EXPECT_FALSE(isValidCombinationCode(makeCombinationCode(2, 3, 18)));  // final gap
  EXPECT_FALSE(isValidCombinationCode(makeCombinationCode(0, 3, 1)));
}

}  // namespace
}  // namespace kesta::hangul
