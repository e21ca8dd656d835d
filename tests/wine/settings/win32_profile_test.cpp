// The home directory read from the real WIN.INI, and a settings file
// written and read through it under Windows paths.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/settings/color_settings.h"
#include "app/settings/phone_book.h"
#include "app/settings/settings_files.h"
#include "app/settings/win32_profile.h"

namespace kesta::settings {
namespace {

// Sets "KESTA 20"/"PROGRAM" for one test and removes it afterwards.
class Win32ProfileTest : public ::testing::Test {
 protected:
  void TearDown() override { WriteProfileStringA("KESTA 20", "PROGRAM", nullptr); }
  static void setProgram(const std::string& value) {
    ASSERT_TRUE(WriteProfileStringA("KESTA 20", "PROGRAM", value.c_str()));
  }
  Win32Profile profile_;
};

TEST_F(Win32ProfileTest, MissingEntryGivesNull) {
  WriteProfileStringA("KESTA 20", "PROGRAM", nullptr);
  SettingsFiles files(profile_, hostFileStore());
  EXPECT_EQ(files.homeDirectory(), "NULL");
}

TEST_F(Win32ProfileTest, EntryIsReadEachTimeAPathIsBuilt) {
  setProgram("C:\\KESTA");
  SettingsFiles files(profile_, hostFileStore());
  EXPECT_EQ(files.path("\\env\\kesta.mdm"), "C:\\KESTA\\env\\kesta.mdm");
  setProgram("D:\\APPS\\KESTA");
  EXPECT_EQ(files.path("\\tel\\kesta.tel"), "D:\\APPS\\KESTA\\tel\\kesta.tel");
}

TEST_F(Win32ProfileTest, LongEntryIsCutToTheEightyByteBuffer) {
  setProgram("C:\\" + std::string(120, 'k'));
  SettingsFiles files(profile_, hostFileStore());
  std::string home = files.homeDirectory();
  EXPECT_EQ(home.size(), 79u);
  EXPECT_EQ(home.substr(0, 4), "C:\\k");
}

TEST_F(Win32ProfileTest, FilesLandUnderTheProfileDirectoryWithTheSameBytes) {
  char temp[MAX_PATH];
  ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
  std::string home = std::string(temp) + "kesta-settings-wine-" + std::to_string(GetCurrentProcessId());
  std::filesystem::create_directories(home + "\\env");
  std::filesystem::create_directories(home + "\\tel");
  setProgram(home);
  SettingsFiles files(profile_, hostFileStore());

  ColorSettings colors = loadColorSettingsOrCreate(files);
  EXPECT_EQ(colors, ColorSettings{});
  std::ifstream in(home + "\\env\\kesta.col", std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  EXPECT_EQ(bytes, (std::vector<unsigned char>{0xFF, 0xFF, 0xFF, 0, 0, 0, 0x7D, 0}));

  writePhoneBook(files, {"Local\t127.0.0.1", "Modem\t555\t2400\tN-8-1"});
  EXPECT_EQ(std::filesystem::file_size(home + "\\tel\\kesta.tel"), 200u);
  EXPECT_EQ(readPhoneBook(files).size(), 2u);

  std::filesystem::remove_all(home);
}

}  // namespace
}  // namespace kesta::settings
