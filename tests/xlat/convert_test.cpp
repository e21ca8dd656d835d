// In-place conversion: the caller's buffer is never overrun, cuts fall on
// character boundaries, and bad or unconvertible characters become the
// substitute of the same width.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "tests/xlat/test_text.h"
#include "xlat/xlat.h"

namespace kesta::xlat {
namespace {

using test::bytes2;
using test::inPlace;

const std::string kGa = bytes2(0x8861);    // 가 in johab
const std::string kNa = bytes2(0x9061);    // 나
const std::string kGaCp = bytes2(0xB0A1);  // 가 in code page 949
const std::string kNaCp = bytes2(0xB3AA);  // 나

TEST(InPlace, ConvertsMixedTextBothWays) {
  std::string johab = "Hi " + kGa + kNa + "!";
  std::string cp = "Hi " + kGaCp + kNaCp + "!";
  EXPECT_EQ(inPlace(1, 6, johab), cp);
  EXPECT_EQ(inPlace(6, 1, cp), johab);
  EXPECT_EQ(inPlace(1, 8, johab), cp);
  EXPECT_EQ(inPlace(8, 1, cp), johab);
  EXPECT_EQ(inPlace(1, 7, johab), "Hi \x0e\x30\x21\x33\x2a\x0f!");
  EXPECT_EQ(inPlace(7, 1, "Hi \x0e\x30\x21\x33\x2a\x0f!"), johab);
}

TEST(InPlace, ResultStaysInTheBufferWithTheNul) {
  char buf[16] = "a";
  std::memcpy(buf + 1, "\x88\x61\x90\x61", 4);
  buf[5] = 'z';
  buf[6] = 0;
  std::size_t n = convertInPlace(1, 6, buf, 7);
  EXPECT_EQ(n, 6u);
  EXPECT_EQ(std::string(buf, n), "a" + kGaCp + kNaCp + "z");
  EXPECT_EQ(buf[6], 0);
}

// For every capacity the output is a prefix of the whole result ending on a
// character boundary, the NUL stands at its end, and nothing beyond the
// capacity is touched.
TEST(InPlace, EveryCapacityCutsAtACharacterBoundary) {
  std::string johab = "ab" + kGa + "c" + kNa + kGa + "d";
  for (int to : {5, 6, 7}) {
    std::string whole = inPlace(1, to, johab);
    for (std::size_t cap = 1; cap <= whole.size() + 1; ++cap) {
      std::string buf(cap + 8, '\x55');
      std::memcpy(buf.data(), johab.data(), std::min(johab.size(), cap));
      if (johab.size() < cap) buf[johab.size()] = 0;
      std::size_t n = convertInPlace(1, to, buf.data(), cap);
      ASSERT_LT(n, cap);
      EXPECT_EQ(buf[n], 0);
      for (std::size_t k = cap; k < buf.size(); ++k) ASSERT_EQ(buf[k], '\x55') << "type " << to << " cap " << cap;
      std::string got = buf.substr(0, n);
      if (to == 7) {
        // A cut 7-bit string is closed with a shift-in: it is the prefix of
        // some whole result, and reads back as a prefix of the text.
        std::string back = inPlace(7, 1, got);
        EXPECT_EQ(johab.compare(0, back.size(), back), 0) << "cap " << cap;
        EXPECT_EQ(std::count(got.begin(), got.end(), '\x0e'), std::count(got.begin(), got.end(), '\x0f'));
      } else {
        EXPECT_EQ(whole.compare(0, n, got), 0) << "type " << to << " cap " << cap;
        std::string back = inPlace(to, 1, got);
        EXPECT_EQ(johab.compare(0, back.size(), back), 0) << "type " << to << " cap " << cap;
      }
    }
  }
}

TEST(InPlace, SevenBitGrowthIsCutToTheInputLength) {
  // The ordinal-3 rule: capacity = input length + NUL.
  std::string text = "a" + kGa + kNa + "b";  // 6 bytes; as 7-bit it needs 9
  EXPECT_EQ(inPlace(1, 7, text, text.size() + 1), "a\x0e\x30\x21\x0f");
  EXPECT_EQ(inPlace(1, 7, kGa, 3), "");  // SO, two bytes and SI do not fit in 2
  EXPECT_EQ(inPlace(1, 7, text, 32), "a\x0e\x30\x21\x33\x2a\x0f" "b");
}

TEST(InPlace, SevenBitToSevenBitCutNeverOvertakesItsInput) {
  // A line end inside a run gains an SI on the way out, so the output grows
  // past the input it has not read yet unless it is made beside it.
  char buf[10] = {'\x0e', '\x30', '\x21', '\n', 'a', 'b', 'c', 'd', 'e', 'f'};  // full: no NUL
  std::size_t n = convertInPlace(7, 7, buf, sizeof buf);
  EXPECT_EQ(std::string(buf, n), "\x0e\x30\x21\x0f\nabcd");
}

TEST(InPlace, SevenBitInputDropsShiftsAndTheDesignator) {
  EXPECT_EQ(inPlace(7, 6, "\x1b$)Cx\x0e\x30\x21\x0fy"), "x" + kGaCp + "y");
  // A line end leaves double-byte mode even without SI.
  EXPECT_EQ(inPlace(7, 6, "\x0e\x30\x21\nab"), kGaCp + "\nab");
  // Spaces inside a run stay spaces.
  EXPECT_EQ(inPlace(7, 6, "\x0e\x30\x21 \x30\x21\x0f"), kGaCp + " " + kGaCp);
  // An escape that is no designator is kept.
  EXPECT_EQ(inPlace(7, 6, "\x1b[1m"), "\x1b[1m");
}

TEST(Substitutes, BadInputBytesBecomeSubstitutesOfTheSameWidth) {
  EXPECT_EQ(inPlace(6, 1, "\x80" "A"), "?A");
  EXPECT_EQ(inPlace(6, 1, "A\xB0"), "A?");                          // a lead byte with nothing after it
  EXPECT_EQ(inPlace(6, 1, "\xB0" "!"), "?!");                       // a lead byte before a non-trail
  EXPECT_EQ(inPlace(6, 1, "\xC9\xA1"), bytes2(kSubstituteJohab));  // a user-defined code: two bytes
  EXPECT_EQ(inPlace(1, 6, "\x83" "A"), "?A");                       // 0x83 begins no johab character
  EXPECT_EQ(inPlace(1, 6, "\xFF\xFF"), "??");
  EXPECT_EQ(inPlace(5, 1, "\xA4\x20"), "? ");
  EXPECT_EQ(inPlace(7, 1, "\x0e\x30\x0f"), "?");  // half a pair
  EXPECT_EQ(inPlace(7, 1, "\xB0\xA1"), "??");     // eight-bit bytes are not 7-bit code
}

// Malformed UTF-8 becomes one substitute per broken sequence and never takes
// the byte that broke it; characters without an internal code keep their width.
TEST(Substitutes, MalformedUtf8LosesNoFollowingByte) {
  const std::string ga = "\xEA\xB0\x80";  // 가
  const std::string sub2 = bytes2(kSubstituteJohab);
  const struct {
    const char* what;
    std::string in, johab;
  } cases[] = {
      {"a lone continuation byte", "\x80" "A", "?A"},
      {"a cut three-byte sequence before ASCII", "\xEA\xB0" "A", "?A"},
      {"a cut sequence before another character", "\xEA" + ga, "?" + kGa},
      {"a cut sequence at the end", "A\xEA\xB0", "A?"},
      {"an overlong slash", "\xC0\xAF/", "??/"},
      {"an overlong three-byte form", "\xE0\x80\xAF" "B", "???B"},
      {"a surrogate", "\xED\xA0\x80" "C", "???C"},
      {"past U+10FFFF", "\xF4\x90\x80\x80" "D", "????D"},
      {"bytes that begin nothing", "\xFE\xFF" "E", "??E"},
      {"a narrow letter without a code", "caf\xC3\xA9!", "caf?!"},
      {"a wide character without a code", "\xF0\x9F\x98\x80" "F", sub2 + "F"},
      {"a syllable outside KS X 1001", "\xEA\xB0\x82", inPlace(6, 1, "\x81\x41")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(inPlace(9, 1, c.in), c.johab) << c.what;
    EXPECT_EQ(convert(Code::Utf8, Code::Johab, c.in), c.johab) << c.what << " (as a stream)";
  }
}

TEST(Substitutes, CharactersWithoutCounterpartBecomeSubstitutes) {
  std::string symbol = bytes2(0xD9A1);  // a KS X 1001 symbol in johab
  EXPECT_EQ(inPlace(1, 5, "x" + symbol + "y"), "x??y");
  std::string initialAndFinal = bytes2(0x8842);  // ㄱ with a final but no vowel
  EXPECT_EQ(inPlace(1, 6, initialAndFinal), bytes2(kSubstituteCp949));
  EXPECT_EQ(inPlace(1, 5, initialAndFinal), bytes2(0xA822));  // the 1987 code spells any jamo triple
  std::string further = bytes2(0x8863);  // 갂: no KS X 1001 code
  EXPECT_EQ(inPlace(1, 7, further), "\x0e#?\x0f");
  EXPECT_EQ(inPlace(1, 6, further), bytes2(0x8141));
}

TEST(Substitutes, AreCounted) {
  Substitutions subs;
  char out[32];
  std::string in = "\x80" + kGa + "\xD4" "A" + bytes2(0x8842);
  convert(Code::Johab, Code::Cp949, in.data(), in.size(), out, sizeof out, &subs);
  EXPECT_EQ(subs.badInput, 2u);    // 0x80 and 0xD4 begin no johab character
  EXPECT_EQ(subs.unmappable, 1u);  // the jamo pair
}

TEST(InPlace, SameTypeLeavesTheTextAlone) {
  std::string odd = "\x80\xD4\xA1" + kGa;
  for (int t = 1; t <= 8; ++t) EXPECT_EQ(inPlace(t, t, odd), odd) << t;
  EXPECT_EQ(inPlace(2, 1, odd), odd);  // types 1..4 are one code
  EXPECT_EQ(inPlace(6, 8, odd), odd);
}

TEST(InPlace, UnknownTypesAndEmptyBuffersAreHarmless) {
  EXPECT_EQ(inPlace(0, 1, "abc"), "abc");
  EXPECT_EQ(inPlace(1, 10, kGa), kGa);
  EXPECT_EQ(convertInPlace(1, 6, nullptr, 10), 0u);
  char one[1] = {'x'};
  EXPECT_EQ(convertInPlace(1, 6, one, 0), 0u);
  EXPECT_EQ(one[0], 'x');
  EXPECT_EQ(convertInPlace(1, 6, one, 1), 0u);  // room for the NUL only
  EXPECT_EQ(one[0], 0);
}

TEST(InPlace, TextWithoutNulIsReadOnlyUpToTheCapacity) {
  char buf[6] = {'a', '\x88', '\x61', '\x90', '\x61', 'b'};  // no NUL anywhere
  std::size_t n = convertInPlace(1, 6, buf, 5);
  EXPECT_EQ(n, 3u);  // "a" + 가: 나 would leave no room for the NUL
  EXPECT_EQ(std::string(buf, n), "a" + kGaCp);
  EXPECT_EQ(buf[3], 0);
  EXPECT_EQ(buf[5], 'b');
}

}  // namespace
}  // namespace kesta::xlat
