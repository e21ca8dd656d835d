// The stream converter: pieces may split characters and shift sequences
// anywhere, and the result is the same as converting the whole at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/xlat/test_text.h"
#include "xlat/xlat.h"

namespace kesta::xlat {
namespace {

using test::bytes2;

std::string inPieces(Code from, Code to, const std::string& in, const std::vector<std::size_t>& cuts,
                     Substitutions* subs = nullptr) {
  StreamConverter s(from, to);
  std::string out;
  std::size_t at = 0;
  for (std::size_t cut : cuts) {
    s.feed(in.data() + at, cut - at, out);
    at = cut;
  }
  s.feed(in.data() + at, in.size() - at, out);
  s.finish(out);
  if (subs) *subs = s.substitutions();
  return out;
}

std::string sample(Code code) {
  std::string johab = "BBS " + bytes2(0x8861) + bytes2(0x9061) + bytes2(0x8863) + " ok " + bytes2(0xD931) +
                      bytes2(0xE031) + "\r\n" + bytes2(0xD3BD) + "z";
  return convert(Code::Johab, code, johab);
}

TEST(Stream, EverySplitPointGivesTheWholeResult) {
  const Code codes[] = {Code::Johab, Code::Ks1987, Code::Cp949, Code::SevenBit, Code::Utf8};
  for (Code from : codes) {
    std::string in = sample(from);
    if (from == Code::SevenBit) in = "\x1b$)C" + in;
    for (Code to : codes) {
      std::string whole = inPieces(from, to, in, {});
      for (std::size_t a = 0; a <= in.size(); ++a) {
        ASSERT_EQ(inPieces(from, to, in, {a}), whole)
            << static_cast<int>(from) << "->" << static_cast<int>(to) << " split at " << a;
      }
    }
  }
}

TEST(Stream, OneBytePiecesGiveTheWholeResult) {
  std::string in = "\x1b$)C" + sample(Code::SevenBit);
  std::vector<std::size_t> cuts;
  for (std::size_t k = 1; k < in.size(); ++k) cuts.push_back(k);
  EXPECT_EQ(inPieces(Code::SevenBit, Code::Utf8, in, cuts), inPieces(Code::SevenBit, Code::Utf8, in, {}));
  std::string cp = sample(Code::Cp949);
  cuts.clear();
  for (std::size_t k = 1; k < cp.size(); ++k) cuts.push_back(k);
  EXPECT_EQ(inPieces(Code::Cp949, Code::SevenBit, cp, cuts), inPieces(Code::Cp949, Code::SevenBit, cp, {}));
}

TEST(Stream, ShiftStateCarriesAcrossPieces) {
  StreamConverter s(Code::SevenBit, Code::Cp949);
  std::string out;
  s.feed("\x0e", 1, out);
  s.feed("\x30\x21", 2, out);
  s.feed("\x0f" "a", 2, out);
  s.finish(out);
  EXPECT_EQ(out, bytes2(0xB0A1) + "a");

  StreamConverter t(Code::Cp949, Code::SevenBit);
  std::string seven;
  t.feed("\xB0\xA1", 2, seven);
  t.feed("\xB0\xA1", 2, seven);
  t.finish(seven);
  EXPECT_EQ(seven, "\x0e\x30\x21\x30\x21\x0f");  // one run, closed at the end
}

TEST(Stream, AnUnfinishedCharacterAtTheEndBecomesASubstitute) {
  Substitutions subs;
  EXPECT_EQ(inPieces(Code::Utf8, Code::Johab, "a\xEA\xB0", {}, &subs), "a?");  // one for the cut sequence
  EXPECT_EQ(subs.badInput, 2u);                                                   // of two bytes
  EXPECT_EQ(inPieces(Code::Cp949, Code::Utf8, "\xB0", {}, &subs), "\xEF\xBF\xBD");
  EXPECT_EQ(subs.badInput, 1u);
}

TEST(Stream, Utf8InputWithoutKoreanCounterpartIsSubstituted) {
  Substitutions subs;
  std::string out = inPieces(Code::Utf8, Code::Cp949, "\xF0\x9F\x98\x80" "a\xC3\xA9", {}, &subs);  // emoji, a, é
  EXPECT_EQ(out, bytes2(kSubstituteCp949) + "a?");  // each substitute as wide as its character
  EXPECT_EQ(subs.unmappable, 2u);
  EXPECT_EQ(subs.badInput, 0u);
  inPieces(Code::Utf8, Code::Cp949, "\xC0\xAF\xED\xA0\x80", {}, &subs);  // overlong, surrogate
  EXPECT_EQ(subs.badInput, 5u);
}

TEST(Stream, StringConvertCarriesEverything) {
  std::string u = convert(Code::Johab, Code::Utf8, sample(Code::Johab));
  EXPECT_EQ(u, "BBS 가나갂 ok \xE3\x80\x80" "伽\r\n힣z");
}

}  // namespace
}  // namespace kesta::xlat
