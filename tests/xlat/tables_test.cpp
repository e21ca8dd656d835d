// The per-character tables: every modern syllable through every code, the
// 1987 code's jamo numbers, the compatibility jamo, the code page's further
// syllables and the symbol rows.
#include <gtest/gtest.h>

#include "tests/xlat/test_text.h"
#include "xlat/tables.h"
#include "xlat/xlat.h"

namespace kesta::xlat {
namespace {

using test::bytes2;
using test::inPlace;
using test::johabSyllable;

bool inKsX1001(std::uint16_t johab) {
  std::uint16_t cp = johabToCp949(johab);
  return (cp >> 8) >= 0xB0 && (cp & 0xFF) >= 0xA1;
}

TEST(SyllableRoundTrip, EverySyllableSurvivesEveryCodeThatHoldsIt) {
  int sevenBitHeld = 0;
  for (unsigned s = 0; s < 11172; ++s) {
    std::string johab = bytes2(johabSyllable(s));
    for (int type = 1; type <= 9; ++type) {
      std::string there = inPlace(1, type, johab, 8);
      std::string back = inPlace(type, 1, there);
      if (type == 7 && !inKsX1001(johabSyllable(s))) {
        EXPECT_EQ(back, bytes2(kSubstituteJohab)) << "syllable " << s;
        continue;
      }
      ASSERT_EQ(back, johab) << "syllable " << s << " through type " << type;
      if (type == 7) ++sevenBitHeld;
    }
  }
  EXPECT_EQ(sevenBitHeld, 2350);
}

TEST(SyllableRoundTrip, EverySyllableReachesUnicodeAndBack) {
  for (unsigned s = 0; s < 11172; ++s) {
    std::uint16_t j = johabSyllable(s);
    ASSERT_TRUE(detail::isJohabHangul(j));
    ASSERT_EQ(johabToUnicode(j), 0xAC00 + s);
    std::string u = convert(Code::Johab, Code::Utf8, bytes2(j));
    ASSERT_EQ(u, test::utf8(0xAC00 + s));
    ASSERT_EQ(convert(Code::Utf8, Code::Johab, u), bytes2(j));
  }
}

TEST(SyllableRoundTrip, TypesTwoToFourAreTheInternalCode) {
  std::string text = "a" + bytes2(johabSyllable(0)) + bytes2(0xD9A1) + "z";
  for (int type = 2; type <= 4; ++type) {
    EXPECT_EQ(inPlace(1, type, text), text);
    EXPECT_EQ(inPlace(type, 6, text), inPlace(1, 6, text));
  }
}

TEST(JohabLayout, SyllablesFollowTheJamoArithmetic) {
  EXPECT_EQ(johabSyllable(0), 0x8861);              // 가: ㄱ 2, ㅏ 3, no final 1
  EXPECT_EQ(unicodeToJohab(0xD7A3), 0xD3BD);        // 힣: ㅎ 20, ㅣ 29, ㅎ 29
  EXPECT_EQ(unicodeToJohab(0xAC00 + 16), 0x8871);   // 감: final ㅁ 17
  EXPECT_EQ(unicodeToJohab(0xAC00 + 17), 0x8873);   // 갑: final ㅂ 19, after the gap
  EXPECT_EQ(unicodeToJohab(0xAC00 + 5 * 28), 0x8941);  // 게: ㅔ 10, after the gap
}

TEST(JohabLayout, CompatibilityJamoArePartialSyllables) {
  EXPECT_EQ(unicodeToJohab(0x3131), 0x8841);  // ㄱ
  EXPECT_EQ(unicodeToJohab(0x314F), 0x8461);  // ㅏ
  EXPECT_EQ(unicodeToJohab(0x3133), 0x8444);  // ㄳ exists only as a final
  EXPECT_EQ(unicodeToJohab(0x314E), 0xD041);  // ㅎ
  EXPECT_EQ(unicodeToJohab(0x3163), 0x87A1);  // ㅣ
  for (char32_t u = 0x3131; u <= 0x3163; ++u) {
    EXPECT_EQ(johabToUnicode(unicodeToJohab(u)), u) << std::hex << static_cast<unsigned>(u);
    std::uint16_t cp = johabToCp949(unicodeToJohab(u));
    EXPECT_EQ(cp, 0xA4A1 + (u - 0x3131)) << std::hex << static_cast<unsigned>(u);
  }
  // A partial that is no letter (initial and final without a vowel) has no
  // counterpart anywhere.
  EXPECT_EQ(johabToUnicode(0x8842), 0u);
  EXPECT_EQ(johabToCp949(0x8842), 0u);
}

TEST(JohabLayout, PartialSyllablesReachUtf8AsTheirLetters) {
  // What the keyboard composes before a syllable is whole: a final alone, a
  // medial with a final, an initial with a final.
  EXPECT_EQ(convert(Code::Johab, Code::Utf8, bytes2(0x8442)), "\u3131");                // final ㄱ alone
  EXPECT_EQ(convert(Code::Johab, Code::Utf8, bytes2(0x8462)), "\u314F\u3131");         // ㅏ + final ㄱ
  EXPECT_EQ(convert(Code::Johab, Code::Utf8, bytes2(0x85CA)), "\u3158\u313A");         // ㅘ + final ㄺ
  EXPECT_EQ(convert(Code::Johab, Code::Utf8, bytes2(0x8842)), "\u3131\u3131");         // ㄱ + final ㄱ
  EXPECT_EQ(convert(Code::Johab, Code::Utf8, bytes2(0xB461)), "\uC544");                // a whole syllable
  // A cut never splits the letters of one partial syllable.
  char out[8];
  std::string in = bytes2(0x85CA);
  EXPECT_EQ(convert(Code::Johab, Code::Utf8, in.data(), in.size(), out, 6), 0u);
  EXPECT_EQ(convert(Code::Johab, Code::Utf8, in.data(), in.size(), out, 7), 6u);
}

TEST(Ks1987, JamoNumbersAreTheDocumentedOnes) {
  // Medial numbers of ㅏ..ㅣ in the 1987 code, in Unicode vowel order.
  const unsigned medial[21] = {2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, 17, 18, 19, 21, 22, 23, 25, 26, 27, 29};
  for (unsigned i = 0; i < 19; ++i) {
    for (unsigned m = 0; m < 21; ++m) {
      for (unsigned f = 0; f < 28; ++f) {
        std::uint16_t code = johabToKs1987(johabSyllable((i * 21 + m) * 28 + f));
        ASSERT_EQ(code, 0x8000 | (i + 10) << 10 | medial[m] << 5 | (f + 1));
      }
    }
  }
  EXPECT_EQ(johabToKs1987(johabSyllable(0)), 0xA841);
  EXPECT_EQ(johabToKs1987(unicodeToJohab(0xD7A3)), 0xF3BC);
  EXPECT_EQ(johabToKs1987(0x8441), 0xA421);  // the all-fill code
  EXPECT_EQ(ks1987ToJohab(0xA421), 0x8441);
}

TEST(Ks1987, CodesOutsideTheHangulAreaAreRejected) {
  EXPECT_EQ(ks1987ToJohab(0xA420), 0u);
  EXPECT_EQ(ks1987ToJohab(0xF3BD), 0u);
  EXPECT_EQ(ks1987ToJohab(0x8000 | 10 << 10 | 4 << 5 | 1), 0u);  // medial 4 is a gap
  EXPECT_EQ(ks1987ToJohab(0x8000 | 10 << 10 | 2 << 5 | 0), 0u);  // final 0 is nothing
  EXPECT_EQ(johabToKs1987(0xD9A1), 0u);                          // symbols have no 1987 code
}

TEST(Cp949, FurtherSyllablesFillTheCodePageInSyllableOrder) {
  EXPECT_EQ(johabToCp949(unicodeToJohab(0xAC02)), 0x8141);  // 갂, the first syllable not in KS X 1001
  EXPECT_EQ(johabToCp949(unicodeToJohab(0xAC00)), 0xB0A1);  // 가
  EXPECT_EQ(johabToCp949(unicodeToJohab(0xD79D)), 0xC8FE);  // 힝, the last of KS X 1001
  EXPECT_EQ(johabToCp949(unicodeToJohab(0xD7A3)), 0xC652);  // 힣, the last further syllable
  EXPECT_EQ(cp949ToJohab(0xC653), 0u);
  EXPECT_EQ(cp949ToJohab(0x815B), 0u);                      // trails skip 0x5B..0x60
  int further = 0;
  for (unsigned s = 0; s < 11172; ++s) {
    std::uint16_t cp = johabToCp949(johabSyllable(s));
    ASSERT_NE(cp, 0u);
    ASSERT_EQ(cp949ToJohab(cp), johabSyllable(s));
    if ((cp & 0xFF) < 0xA1 || (cp >> 8) < 0xA1) ++further;
  }
  EXPECT_EQ(further, 8822);
}

TEST(Symbols, RowsPairIntoJohabLeadBytes) {
  EXPECT_EQ(detail::ksSymbolToJohab(0xA1A1), 0xD931);
  EXPECT_EQ(detail::ksSymbolToJohab(0xA1EE), 0xD97E);
  EXPECT_EQ(detail::ksSymbolToJohab(0xA1EF), 0xD991);
  EXPECT_EQ(detail::ksSymbolToJohab(0xA1FE), 0xD9A0);
  EXPECT_EQ(detail::ksSymbolToJohab(0xA2A1), 0xD9A1);
  EXPECT_EQ(detail::ksSymbolToJohab(0xCAA1), 0xE031);  // the first Hanja
  EXPECT_EQ(detail::ksSymbolToJohab(0xFDFE), 0xF9FE);  // the last Hanja
  EXPECT_EQ(detail::ksSymbolToJohab(0xB0A1), 0u);      // Hangul rows are not symbols
  for (unsigned r = 0xA1; r <= 0xFD; ++r) {
    if (r > 0xAC && r < 0xCA) continue;
    for (unsigned c = 0xA1; c <= 0xFE; ++c) {
      std::uint16_t ks = static_cast<std::uint16_t>(r << 8 | c);
      std::uint16_t j = detail::ksSymbolToJohab(ks);
      ASSERT_TRUE(detail::isJohabSymbolArea(j)) << std::hex << ks;
      ASSERT_EQ(detail::johabSymbolToKs(j), ks) << std::hex << ks;
    }
  }
}

TEST(Substitute, IsTheFullWidthQuestionMarkInEveryCode) {
  EXPECT_EQ(johabToUnicode(kSubstituteJohab), 0xFF1Fu);
  EXPECT_EQ(johabToCp949(kSubstituteJohab), kSubstituteCp949);
  EXPECT_EQ(inPlace(1, 7, bytes2(kSubstituteJohab)), "\x0e#?\x0f");
}

}  // namespace
}  // namespace kesta::xlat
