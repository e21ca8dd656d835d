#include "app/settings/auto_response.h"

#include <gtest/gtest.h>

#include "tests/app/settings/temp_home.h"

namespace kesta::settings {
namespace {

using testing::appendInt32;
using testing::appendText;

class AutoResponseFile : public testing::TempHome {};

TEST_F(AutoResponseFile, MissingFileIsReportedAndLeavesTheTableAsItWas) {
  AutoResponseTable table;
  table.rows[2] = {true, "login:", "guest"};
  AutoResponseTable before = table;
  EXPECT_FALSE(readAutoResponseTable(files_, table));
  EXPECT_EQ(table, before);
  EXPECT_FALSE(exists("env/kesta.aut"));
}

TEST_F(AutoResponseFile, WritesFlagsThenSixteenTextFieldsInRowOrder) {
  AutoResponseTable table;
  table.rows[0] = {true, "login:", "guest"};
  table.rows[7] = {false, "password:", "secret"};
  ASSERT_TRUE(writeAutoResponseTable(files_, table));

  std::vector<std::uint8_t> expected;
  appendInt32(expected, 1);
  for (int i = 1; i < 8; ++i) appendInt32(expected, 0);
  appendText(expected, "login:", 100);
  appendText(expected, "guest", 100);
  for (int i = 1; i < 7; ++i) {
    appendText(expected, "", 100);
    appendText(expected, "", 100);
  }
  appendText(expected, "password:", 100);
  appendText(expected, "secret", 100);
  ASSERT_EQ(expected.size(), 1632u);
  EXPECT_EQ(fileBytes("env/kesta.aut"), expected);
}

TEST_F(AutoResponseFile, RoundTripsEveryRow) {
  AutoResponseTable table;
  for (int r = 0; r < 8; ++r)
    table.rows[r] = {r % 2 == 0, "ref" + std::to_string(r), std::string(99, static_cast<char>('a' + r))};
  writeAutoResponseTable(files_, table);
  AutoResponseTable back;
  ASSERT_TRUE(readAutoResponseTable(files_, back));
  EXPECT_EQ(back, table);
}

TEST_F(AutoResponseFile, AnyNonZeroFlagIsOnAndIsWrittenBackAsOne) {
  std::vector<std::uint8_t> bytes(1632, 0);
  bytes[4 * 3] = 7;  // row 4's flag
  putFile("env/kesta.aut", bytes);
  AutoResponseTable table;
  ASSERT_TRUE(readAutoResponseTable(files_, table));
  EXPECT_TRUE(table.rows[3].enabled);
  EXPECT_FALSE(table.rows[2].enabled);
  writeAutoResponseTable(files_, table);
  EXPECT_EQ((*fileBytes("env/kesta.aut"))[12], 1);
}

TEST_F(AutoResponseFile, TextWithoutNulIsBoundedByItsField) {
  std::vector<std::uint8_t> bytes(1632, 'x');  // no NUL anywhere, flags nonzero
  putFile("env/kesta.aut", bytes);
  AutoResponseTable table;
  ASSERT_TRUE(readAutoResponseTable(files_, table));
  for (const auto& row : table.rows) {
    EXPECT_TRUE(row.enabled);
    EXPECT_EQ(row.reference, std::string(99, 'x'));
    EXPECT_EQ(row.transfer, std::string(99, 'x'));
  }
}

TEST_F(AutoResponseFile, ShortFileChangesOnlyTheFieldsItCovers) {
  AutoResponseTable table;
  table.rows[0] = {false, "old1", "old2"};
  table.rows[5] = {true, "keep", "this"};
  std::vector<std::uint8_t> bytes;
  appendInt32(bytes, 1);  // row 1 on
  appendInt32(bytes, 0);
  bytes.resize(32, 0);     // every flag covered: row 6 now off
  appendText(bytes, "new", 100);
  putFile("env/kesta.aut", bytes);  // 132 bytes: flags and row 1's reference
  ASSERT_TRUE(readAutoResponseTable(files_, table));
  EXPECT_EQ(table.rows[0], (AutoResponseRow{true, "new", "old2"}));
  EXPECT_EQ(table.rows[5], (AutoResponseRow{false, "keep", "this"}));
}

TEST_F(AutoResponseFile, LongerFileIsReadOnlyUpToTheRecord) {
  AutoResponseTable table;
  table.rows[7].transfer = "last";
  Bytes bytes = encodeRecord(table);
  bytes.resize(5000, 'z');
  putFile("env/kesta.aut", bytes);
  AutoResponseTable back;
  ASSERT_TRUE(readAutoResponseTable(files_, back));
  EXPECT_EQ(back, table);
}

TEST_F(AutoResponseFile, OverlongTextIsCutToNinetyNineBytesWhenWritten) {
  AutoResponseTable table;
  table.rows[1].reference = std::string(150, 'r');
  writeAutoResponseTable(files_, table);
  auto bytes = *fileBytes("env/kesta.aut");
  ASSERT_EQ(bytes.size(), 1632u);
  std::size_t field = 32 + 2 * 100;  // row 2 reference
  EXPECT_EQ(bytes[field + 98], 'r');
  EXPECT_EQ(bytes[field + 99], 0);
  EXPECT_EQ(bytes[field + 100], 0);  // row 2 transfer untouched
}

}  // namespace
}  // namespace kesta::settings
