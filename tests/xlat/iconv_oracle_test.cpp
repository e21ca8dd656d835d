// glibc's iconv as the reference: JOHAB for type 1, CP949 for types 6 and 8,
// ISO-2022-KR for type 7, and UTF-8.
#include <iconv.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/xlat/test_text.h"
#include "xlat/xlat.h"

namespace kesta::xlat {
namespace {

using test::bytes2;
using test::inPlace;

// The whole text through iconv, or nothing when iconv refuses any of it.
std::optional<std::string> viaIconv(const char* from, const char* to, const std::string& text) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* o = out.data();
  size_t outLeft = out.size();
  bool ok = iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<size_t>(-1) && inLeft == 0 &&
            iconv(cd, nullptr, nullptr, &o, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

bool isTrail(unsigned t) { return (t >= 0x41 && t <= 0x5A) || (t >= 0x61 && t <= 0x7A) || (t >= 0x81 && t <= 0xFE); }

TEST(IconvOracle, IconvKnowsTheCodes) {
  for (const char* name : {"JOHAB", "CP949", "ISO-2022-KR", "UTF-8"}) {
    iconv_t cd = iconv_open("UTF-8", name);
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << name;
    iconv_close(cd);
  }
}

// Every two-byte code of the code page that iconv can put in JOHAB: the same
// johab bytes from us, both ways, for types 6 and 8.
TEST(IconvOracle, CodePage949AndJohabAgreeWithIconv) {
  int compared = 0, syllables = 0, hanja = 0, symbols = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x41; trail <= 0xFE; ++trail) {
      if (!isTrail(trail)) continue;
      std::string cp = bytes2(static_cast<std::uint16_t>(lead << 8 | trail));
      auto johab = viaIconv("CP949", "JOHAB", cp);
      if (!johab) continue;
      ++compared;
      auto u = viaIconv("CP949", "UTF-8", cp);
      ASSERT_TRUE(u.has_value());
      if (lead < 0xA1 || (lead >= 0xB0 && lead <= 0xC8) || trail < 0xA1) ++syllables;
      else if (lead >= 0xCA) ++hanja;
      else ++symbols;
      ASSERT_EQ(inPlace(6, 1, cp), *johab) << std::hex << lead << trail;
      ASSERT_EQ(inPlace(8, 1, cp), *johab) << std::hex << lead << trail;
      ASSERT_EQ(inPlace(1, 6, *johab), cp) << std::hex << lead << trail;
      ASSERT_EQ(inPlace(1, 8, *johab), cp) << std::hex << lead << trail;
      // Type 9 in place: the three-byte UTF-8 grows out of its two-byte source.
      ASSERT_EQ(inPlace(1, 9, *johab, 8), *u) << std::hex << lead << trail;
      ASSERT_EQ(inPlace(6, 9, cp, 8), *u) << std::hex << lead << trail;
      ASSERT_EQ(inPlace(9, 1, *u), *johab) << std::hex << lead << trail;
      ASSERT_EQ(inPlace(9, 6, *u), cp) << std::hex << lead << trail;
    }
  }
  EXPECT_EQ(syllables, 11172);
  EXPECT_EQ(hanja, 4888);
  EXPECT_GE(symbols, 900);
  EXPECT_GT(compared, 16000);
}

// Every two-byte johab code that iconv accepts maps to the code page as
// iconv says (or, where iconv has no code page code, to the substitute).
TEST(IconvOracle, EveryJohabCodeIconvKnowsConvertsAsIconvSays) {
  int compared = 0, missingInCodePage = 0;
  for (unsigned lead = 0x84; lead <= 0xF9; ++lead) {
    for (unsigned trail = 0x31; trail <= 0xFE; ++trail) {
      std::string johab = bytes2(static_cast<std::uint16_t>(lead << 8 | trail));
      auto u = viaIconv("JOHAB", "UTF-8", johab);
      if (!u) continue;
      ++compared;
      auto cp = viaIconv("JOHAB", "CP949", johab);
      std::string ours = inPlace(1, 6, johab);
      if (cp) {
        ASSERT_EQ(ours, *cp) << std::hex << lead << trail;
        ASSERT_EQ(convert(Code::Johab, Code::Utf8, johab), *u) << std::hex << lead << trail;
      } else {
        // Our tables are the code page's, so a johab character the code page
        // lacks (KS X 1001's later additions) has no counterpart.
        ++missingInCodePage;
        ASSERT_EQ(ours, bytes2(kSubstituteCp949)) << std::hex << lead << trail;
      }
    }
  }
  EXPECT_GT(compared, 16000);
  EXPECT_LE(missingInCodePage, 2);
}

// All of KS X 1001 in runs between ASCII words, without newlines: our 7-bit
// output is iconv's ISO-2022-KR without its leading designator, and iconv's
// output reads back to the same text.
TEST(IconvOracle, SevenBitAgreesWithIso2022Kr) {
  std::string cp;
  int inRun = 0;
  for (unsigned lead = 0xA1; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
      std::string c = bytes2(static_cast<std::uint16_t>(lead << 8 | trail));
      if (!viaIconv("CP949", "ISO-2022-KR", c)) continue;
      cp += c;
      if (++inRun == 7) {
        cp += " ab, ";
        inRun = 0;
      }
    }
  }
  auto iso = viaIconv("CP949", "ISO-2022-KR", cp);
  ASSERT_TRUE(iso.has_value());
  const std::string designator = "\x1b$)C";
  ASSERT_EQ(iso->substr(0, 4), designator);
  std::string expected = iso->substr(4);
  EXPECT_EQ(convert(Code::Cp949, Code::SevenBit, cp), expected);
  std::string johab = convert(Code::Cp949, Code::Johab, cp);
  EXPECT_EQ(convert(Code::Johab, Code::SevenBit, johab), expected);
  EXPECT_EQ(convert(Code::SevenBit, Code::Cp949, *iso), cp);
  EXPECT_EQ(convert(Code::SevenBit, Code::Johab, *iso), johab);
  EXPECT_EQ(inPlace(7, 6, *iso, iso->size() + 1), cp);
}

}  // namespace
}  // namespace kesta::xlat
