// The phone-book file and its lines.
#include <gtest/gtest.h>

#include "app/settings/phone_book.h"
#include "app/settings/phone_book_entry.h"
#include "tests/app/settings/temp_home.h"

namespace kesta::settings {
namespace {

using testing::appendText;

class PhoneBookFile : public testing::TempHome {};

TEST_F(PhoneBookFile, NoFileGivesAnEmptyList) { EXPECT_TRUE(readPhoneBook(files_).empty()); }

TEST_F(PhoneBookFile, TwoHundredFiftyBytesGiveThreeEntriesTheLastFromFiftyBytes) {
  std::vector<std::uint8_t> bytes;
  appendText(bytes, "One\t0123", 100);
  appendText(bytes, "Two\thost.example.org", 100);
  std::string last(50, 'z');  // no NUL in the short last record
  bytes.insert(bytes.end(), last.begin(), last.end());
  ASSERT_EQ(bytes.size(), 250u);
  putFile("tel/kesta.tel", bytes);
  auto lines = readPhoneBook(files_);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "One\t0123");
  EXPECT_EQ(lines[1], "Two\thost.example.org");
  EXPECT_EQ(lines[2], last);
}

TEST_F(PhoneBookFile, AShortRecordWithANulEndsThere) {
  std::vector<std::uint8_t> bytes;
  appendText(bytes, "A\t1", 100);
  bytes.insert(bytes.end(), {'B', '\t', '2', 0, 'x', 'y'});
  putFile("tel/kesta.tel", bytes);
  auto lines = readPhoneBook(files_);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "B\t2");
}

TEST_F(PhoneBookFile, ARecordWithoutNulYieldsNinetyNineBytes) {
  std::vector<std::uint8_t> bytes(200, 'q');
  putFile("tel/kesta.tel", bytes);
  auto lines = readPhoneBook(files_);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(99, 'q'));
  EXPECT_EQ(lines[1], std::string(99, 'q'));
}

TEST_F(PhoneBookFile, SavingWritesHundredByteRecordsInListOrder) {
  std::vector<std::string> lines = {"Zeta\t555-0100\t2400\tN-8-1", "Alpha\tbbs.example.net"};
  ASSERT_TRUE(writePhoneBook(files_, lines));
  std::vector<std::uint8_t> expected;
  appendText(expected, lines[0], 100);
  appendText(expected, lines[1], 100);
  EXPECT_EQ(fileBytes("tel/kesta.tel"), expected);
  EXPECT_EQ(readPhoneBook(files_), lines);
}

TEST_F(PhoneBookFile, AnEntryLongerThanNinetyNineBytesIsCutWhenSaved) {
  std::string longLine = "Long\t" + std::string(150, '7');
  writePhoneBook(files_, {longLine, "Next\t1"});
  auto bytes = *fileBytes("tel/kesta.tel");
  ASSERT_EQ(bytes.size(), 200u);
  EXPECT_EQ(bytes[99], 0);                  // the terminator survives
  EXPECT_EQ(bytes[100], 'N');               // the next record is in its place
  auto lines = readPhoneBook(files_);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], longLine.substr(0, 99));
  EXPECT_EQ(lines[1], "Next\t1");
}

TEST_F(PhoneBookFile, SavingAnEmptyListLeavesAnEmptyFile) {
  writePhoneBook(files_, {"A\t1"});
  writePhoneBook(files_, {});
  EXPECT_EQ(fileBytes("tel/kesta.tel"), std::vector<std::uint8_t>{});
  EXPECT_TRUE(readPhoneBook(files_).empty());
}

// ---- lines ----

TEST(PhoneBookLine, ModemEntryWithE71) {
  PhoneBookEntry e = parsePhoneBookLine("Seoul BBS\t02-123-4567\t38400\tE-7-1");
  EXPECT_EQ(e.name, "Seoul BBS");
  EXPECT_EQ(e.number, "02-123-4567");
  EXPECT_FALSE(e.isHost());
  EXPECT_EQ(e.rate, "38400");
  EXPECT_EQ(parityChoiceText(e.parity), "Even");
  EXPECT_EQ(bitsChoiceText(e.dataBits), "7Bit");
  EXPECT_EQ(bitsChoiceText(e.stopBits), "1Bit");
}

TEST(PhoneBookLine, NumberWithAFullStopIsAHostAndTakesTheRestOfTheLine) {
  PhoneBookEntry e = parsePhoneBookLine("Campus\tbbs.example.ac.kr\t9600\tN-8-1");
  EXPECT_TRUE(e.isHost());
  EXPECT_EQ(e.name, "Campus");
  EXPECT_EQ(e.number, "bbs.example.ac.kr9600N-8-1");
  EXPECT_EQ(e.rate, "");
  EXPECT_EQ(e.parity, '\0');
  EXPECT_EQ(e.dataBits, '\0');
}

TEST(PhoneBookLine, DottedAddressIsAHost) {
  PhoneBookEntry e = parsePhoneBookLine("Local\t127.0.0.1");
  EXPECT_TRUE(e.isHost());
  EXPECT_EQ(e.number, "127.0.0.1");
}

TEST(PhoneBookLine, SettingsTakeTheFirstThirdAndFifthCharacters) {
  PhoneBookEntry e = parsePhoneBookLine("X\t1\t300\tO/8/2 extra");
  EXPECT_EQ(e.parity, 'O');
  EXPECT_EQ(e.dataBits, '8');
  EXPECT_EQ(e.stopBits, '2');
  EXPECT_EQ(parityChoiceText(e.parity), "Odd");
}

TEST(PhoneBookLine, ShortOrMissingFieldsLeaveTheirPartsAbsent) {
  PhoneBookEntry e = parsePhoneBookLine("OnlyName");
  EXPECT_EQ(e.name, "OnlyName");
  EXPECT_EQ(e.number, "");
  e = parsePhoneBookLine("N\t1\t2400\tN-");
  EXPECT_EQ(e.parity, 'N');
  EXPECT_EQ(e.dataBits, '\0');
  EXPECT_EQ(e.stopBits, '\0');
  EXPECT_EQ(parityChoiceText('X'), "");
  EXPECT_EQ(bitsChoiceText('\0'), "");
}

TEST(PhoneBookLine, FieldsAreKeptToNinetyNineBytes) {
  PhoneBookEntry e = parsePhoneBookLine(std::string(300, 'n') + "\t" + std::string(300, '5'));
  EXPECT_EQ(e.name.size(), 99u);
  EXPECT_EQ(e.number.size(), 99u);
}

TEST(PhoneBookLine, BuildingAModemEntry) {
  PhoneBookEntry e{"Home", "555-0199", "14400", 'E', '7', '1'};
  EXPECT_EQ(buildPhoneBookLine(e), "Home\t555-0199\t14400\tE-7-1");
  EXPECT_EQ(parsePhoneBookLine(buildPhoneBookLine(e)), e);
}

TEST(PhoneBookLine, BuildingAHostEntryLeavesRateAndSettingsOut) {
  PhoneBookEntry e{"Net", "telnet.example.com", "38400", 'N', '8', '1'};
  EXPECT_EQ(buildPhoneBookLine(e), "Net\ttelnet.example.com");
}

}  // namespace
}  // namespace kesta::settings
