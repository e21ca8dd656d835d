// Safe names for received files and the ZFILE information block.
#include <gtest/gtest.h>

#include <string>

#include "zlink/file_info.h"
#include "zlink/safe_name.h"

namespace kesta::zlink {
namespace {

TEST(ZmodemSafeName, PathPartsAreDropped) {
  EXPECT_EQ(safeFileName("C:\\WINDOWS\\SYSTEM\\evil.dll"), "evil.dll");
  EXPECT_EQ(safeFileName("../../etc/passwd"), "passwd");
  EXPECT_EQ(safeFileName("/abs/path/file.txt"), "file.txt");
  EXPECT_EQ(safeFileName("D:name.zip"), "name.zip");
  EXPECT_EQ(safeFileName("dir\\..\\..\\x"), "x");
}

TEST(ZmodemSafeName, EmptyDotsAndTrailingDotsNeverNameADirectory) {
  EXPECT_EQ(safeFileName(""), "_");
  EXPECT_EQ(safeFileName("."), "_");
  EXPECT_EQ(safeFileName(".."), "__");
  EXPECT_EQ(safeFileName("dir/"), "_");
  EXPECT_EQ(safeFileName("a/.."), "__");
  EXPECT_EQ(safeFileName("name. "), "name__");
  EXPECT_EQ(safeFileName(".profile"), ".profile");
}

TEST(ZmodemSafeName, DeviceNamesAreRenamedWithOrWithoutExtension) {
  for (const char* device : {"CON", "prn", "Aux", "NUL", "COM1", "com9", "LPT1", "lpt9", "CONIN$"}) {
    EXPECT_EQ(safeFileName(device), std::string("_") + device) << device;
  }
  EXPECT_EQ(safeFileName("nul.txt"), "_nul.txt");
  EXPECT_EQ(safeFileName("COM1.tar.gz"), "_COM1.tar.gz");
  EXPECT_EQ(safeFileName("CON .txt"), "_CON .txt");
  EXPECT_EQ(safeFileName("COM0"), "COM0");
  EXPECT_EQ(safeFileName("COM10"), "COM10");
  EXPECT_EQ(safeFileName("console"), "console");
}

TEST(ZmodemSafeName, ForbiddenCharactersAreReplacedAndHangulKept) {
  EXPECT_EQ(safeFileName("a<b>c\"d|e?f*g"), "a_b_c_d_e_f_g");
  EXPECT_EQ(safeFileName(std::string("tab\there\x01\x7f")), "tab_here__");
  std::string hangul = "\xc7\xd1\xb1\xdb.txt";  // two syllables in the host code
  EXPECT_EQ(safeFileName(hangul), hangul);
}

TEST(ZmodemSafeName, LongNamesAreCut) {
  EXPECT_EQ(safeFileName(std::string(1000, 'x')).size(), 255u);
}

// A UTF-8 host's names: whole characters kept, what does not decode (an
// overlong slash among them) replaced, a long name cut between characters,
// and the safe-name rules still applied.
TEST(ZmodemSafeName, Utf8NamesKeepTheirCharactersAndLoseWhatDoesNotDecode) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"한글파일.txt", "한글파일.txt"},
      {"../자료/똠.zip", "똠.zip"},
      {"a\xC0\xAF" "b", "a__b"},
      {"x\xEA\xB0", "x__"},
      {"\xED\xA0\x80.txt", "___.txt"},
      {"con.텍스트", "_con.텍스트"},
      {"이름.", "이름_"},
  };
  for (const auto& c : cases) EXPECT_EQ(safeUtf8FileName(c.in), c.out) << c.in;
  std::string longName = "a";
  for (int i = 0; i < 100; ++i) longName += "가";  // 301 bytes
  std::string cut = safeUtf8FileName(longName);
  EXPECT_EQ(cut.size(), 255u);
  EXPECT_EQ(cut.substr(0, 253), longName.substr(0, 253));
  EXPECT_EQ(cut.substr(253), "__");  // the character the limit cut
}

TEST(ZmodemFileInfo, SenderInformationOfA1234ByteFile) {
  auto info = buildFileInfo("C:\\DATA\\REPORT.TXT", 1234);
  std::string text(info.begin(), info.end());
  EXPECT_EQ(text, std::string("REPORT.TXT\0" "1234 0 0 0 1 1234 0\0", 31));
}

TEST(ZmodemFileInfo, ReceivedFieldsInTheirBases) {
  std::string block("hello.c\0" "4096 14677116047 100644 7 3 9000 2\0", 44);
  FileInfo info;
  ASSERT_TRUE(parseFileInfo(reinterpret_cast<const uint8_t*>(block.data()), block.size(), &info));
  EXPECT_EQ(info.name, "hello.c");
  EXPECT_EQ(info.size, 4096);
  EXPECT_TRUE(info.sizeGiven);
  EXPECT_EQ(info.modificationTime, 014677116047L);
  EXPECT_EQ(info.mode, 0100644);
  EXPECT_EQ(info.serialNumber, 7);
  EXPECT_EQ(info.filesRemaining, 3);
  EXPECT_EQ(info.bytesRemaining, 9000);
  EXPECT_EQ(info.fileType, 2);
}

TEST(ZmodemFileInfo, MissingFieldsStayZeroAndNoNameIsRefused) {
  std::string block("a.txt\0" "77", 8);
  FileInfo info;
  ASSERT_TRUE(parseFileInfo(reinterpret_cast<const uint8_t*>(block.data()), block.size(), &info));
  EXPECT_EQ(info.size, 77);
  EXPECT_EQ(info.modificationTime, 0);
  EXPECT_EQ(info.filesRemaining, 0);
  std::string nameOnly("b.txt", 5);  // no NUL, no numbers
  ASSERT_TRUE(parseFileInfo(reinterpret_cast<const uint8_t*>(nameOnly.data()), nameOnly.size(), &info));
  EXPECT_EQ(info.name, "b.txt");
  EXPECT_FALSE(info.sizeGiven);
  std::string empty("\0" "12", 3);
  EXPECT_FALSE(parseFileInfo(reinterpret_cast<const uint8_t*>(empty.data()), empty.size(), &info));
}

TEST(ZmodemFileInfo, HugeNumbersSaturate) {
  std::string block("x\0" "99999999999999999999999", 25);
  FileInfo info;
  ASSERT_TRUE(parseFileInfo(reinterpret_cast<const uint8_t*>(block.data()), block.size(), &info));
  EXPECT_EQ(info.size, 0x7FFFFFFFL);
}

}  // namespace
}  // namespace kesta::zlink
