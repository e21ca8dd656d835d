// convertThroughDll, the callers' door to ordinal 3, against the neutral
// converter it stands for: same results and lengths, also where the 7-bit
// code needs more room than the input and where the capacity cuts.
#include <gtest/gtest.h>

#include <string>

#include "xlat/hxlat_import.h"
#include "xlat/xlat.h"

namespace {

TEST(ConvertThroughDll, MatchesTheConverterAtEveryCapacity) {
  const std::string ga = "\x88\x61", na = "\x90\x61";  // 가, 나 in the combination code
  struct Row {
    int from, to;
    std::string text;
  };
  const Row rows[] = {{1, 7, ga + "a" + na + na + "b"},
                      {1, 7, "a " + ga + "  "},  // the text's own trailing spaces stay
                      {1, 7, ga + ga},
                      {1, 6, ga + "x" + na},
                      {6, 1, "\xB0\xA1 \xB3\xAA"},
                      {7, 1, "a\x0E\x30\x21\x0F b"},
                      {1, 1, ga + " "}};
  for (const Row& r : rows) {
    // Callers' buffers hold the text and its NUL, and maybe room to grow.
    for (size_t capacity = r.text.size() + 1; capacity <= r.text.size() * 2 + 4; ++capacity) {
      std::string expected = r.text, seen = r.text;
      expected.resize(capacity, '\0');
      seen.resize(expected.size(), '\0');
      const size_t n = kesta::xlat::convertInPlace(r.from, r.to, expected.data(), capacity);
      const size_t m = kesta::xlat::convertThroughDll(r.from, r.to, seen.data(), capacity);
      EXPECT_EQ(m, n) << r.from << "->" << r.to << " capacity " << capacity;
      EXPECT_EQ(seen.substr(0, m), expected.substr(0, n)) << r.from << "->" << r.to << " capacity " << capacity;
    }
    kesta::xlat::Code from, to;
    ASSERT_TRUE(kesta::xlat::codeForType(r.from, &from) && kesta::xlat::codeForType(r.to, &to));
    EXPECT_EQ(kesta::xlat::convertThroughDll(r.from, r.to, r.text), kesta::xlat::convert(from, to, r.text));
  }
}

}  // namespace
