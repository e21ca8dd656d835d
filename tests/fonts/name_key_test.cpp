#include "fonts/name_key.h"

#include <gtest/gtest.h>

namespace kesta::fonts {
namespace {

TEST(NameKey, IsTheSumOfTheUpperCasedBytes) {
  char name[] = "InternalMyungjo";
  EXPECT_EQ(upperCaseAndKey(name, sizeof name), 0x486);
  EXPECT_STREQ(name, "INTERNALMYUNGJO");
  EXPECT_EQ(nameKey("internalmyungjo", 260), 0x486);
}

TEST(NameKey, BytesAboveSeventyFAreNegative) {
  char name[] = "\xB0\xA1";  // two bytes of a double-byte name
  EXPECT_EQ(upperCaseAndKey(name, sizeof name), -0x50 + -0x5F);
}

TEST(NameKey, StopsAtTheCapacityWithoutATerminator) {
  char name[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(upperCaseAndKey(name, 4), 'A' + 'B' + 'C' + 'D');
  EXPECT_EQ(name[3], 'D');
}

TEST(NameKey, ComparesWithoutRegardToCase) {
  EXPECT_TRUE(namesEqualNoCase("Font.DLL", 260, "font.dll", 260));
  EXPECT_FALSE(namesEqualNoCase("font.dll", 260, "font.dl", 260));
  EXPECT_FALSE(namesEqualNoCase("a", 260, "", 260));
  char unterminated[3] = {'a', 'b', 'c'};
  EXPECT_TRUE(namesEqualNoCase(unterminated, 3, "ABC", 260));
}

}  // namespace
}  // namespace kesta::fonts
