#include "fonts/font_list_file.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kesta::fonts {
namespace {

TEST(FontListFile, EmptyStoreWritesFiftyOneBytes) {
  std::vector<uint8_t> file = buildFontList({});
  ASSERT_EQ(file.size(), 51u);
  EXPECT_EQ(std::memcmp(file.data(), "Quil Font External Manager Program Configuration.", 49), 0);
  EXPECT_EQ(file[49], 0);
  EXPECT_EQ(file[50], 0x1A);
  EXPECT_TRUE(parseFontList(file).empty());
}

TEST(FontListFile, RoundTripsModuleNames) {
  std::vector<std::string> names = {"C:\\FONTS\\ONE.DLL", "TWO.DLL"};
  std::vector<uint8_t> file = buildFontList(names);
  ASSERT_EQ(file.size(), 51u + 2 * 260);
  EXPECT_EQ(file[51 + 260 - 1], 0);
  EXPECT_EQ(parseFontList(file), names);
}

TEST(FontListFile, HeaderMustMatchExactlyButByteFortyNineIsIgnored) {
  std::vector<uint8_t> file = buildFontList({"ONE.DLL"});
  file[49] = 'X';
  EXPECT_EQ(parseFontList(file).size(), 1u);
  file[0] = 'q';  // differs in case
  EXPECT_TRUE(parseFontList(file).empty());
}

TEST(FontListFile, ShortFilesAndPartialRecordsRegisterNothingBroken) {
  std::vector<uint8_t> file = buildFontList({"ONE.DLL", "TWO.DLL"});
  EXPECT_TRUE(parseFontList(std::span(file).first(50)).empty());
  EXPECT_EQ(parseFontList(std::span(file).first(51 + 260 + 10)), std::vector<std::string>{"ONE.DLL"});
}

TEST(FontListFile, RecordsWithoutTerminatorOrNameAreSkipped) {
  std::vector<uint8_t> file = buildFontList({"ONE.DLL", "", "THREE.DLL"});
  std::memset(file.data() + 51, 'a', 260);  // the first name runs over its record
  EXPECT_EQ(parseFontList(file), std::vector<std::string>{"THREE.DLL"});
}

TEST(FontListFile, OverlongNamesAreCutToFitTheirRecord) {
  std::string name(300, 'n');
  std::vector<uint8_t> file = buildFontList({name});
  ASSERT_EQ(file.size(), 51u + 260);
  EXPECT_EQ(parseFontList(file), std::vector<std::string>{std::string(259, 'n')});
}

}  // namespace
}  // namespace kesta::fonts
