// The home directory rule: the profile is asked each time a path is built,
// "NULL" stands in when it has no entry, and the value is at most 79 bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings/color_settings.h"
#include "app/settings/file_store.h"
#include "app/settings/settings_files.h"
#include "tests/app/settings/temp_home.h"

namespace kesta::settings {
namespace {

// Counts the questions and answers from a list, so that a test can see the
// profile being asked afresh.
class CountingProfile : public Profile {
 public:
  std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                         std::size_t bufferSize) const override {
    ++asked;
    lastSection = section;
    lastKey = key;
    lastDefault = defaultValue;
    lastBufferSize = bufferSize;
    return answer;
  }
  mutable int asked = 0;
  mutable std::string lastSection, lastKey, lastDefault;
  mutable std::size_t lastBufferSize = 0;
  std::string answer = "C:\\KESTA";
};

TEST(HomeDirectory, AsksKesta20ProgramWithDefaultNullAndAnEightyByteBuffer) {
  CountingProfile profile;
  SettingsFiles files(profile, hostFileStore());
  EXPECT_EQ(files.homeDirectory(), "C:\\KESTA");
  EXPECT_EQ(profile.lastSection, "KESTA 20");
  EXPECT_EQ(profile.lastKey, "PROGRAM");
  EXPECT_EQ(profile.lastDefault, "NULL");
  EXPECT_EQ(profile.lastBufferSize, 80u);
}

TEST(HomeDirectory, IsReadAgainForEveryPath) {
  CountingProfile profile;
  SettingsFiles files(profile, hostFileStore());
  EXPECT_EQ(files.path("\\env\\kesta.mdm"), "C:\\KESTA\\env\\kesta.mdm");
  profile.answer = "D:\\OTHER";
  EXPECT_EQ(files.path("\\tel\\kesta.tel"), "D:\\OTHER\\tel\\kesta.tel");
  EXPECT_EQ(profile.asked, 2);
}

TEST(HomeDirectory, ProfileWithoutTheEntryGivesNull) {
  FixedHomeProfile profile;
  SettingsFiles files(profile, hostFileStore());
  EXPECT_EQ(files.homeDirectory(), "NULL");
  EXPECT_EQ(files.path("\\kesta"), "NULL\\kesta");
}

TEST(HomeDirectory, AnOverlongAnswerIsCutToSeventyNineBytes) {
  CountingProfile profile;  // ignores the buffer size on purpose
  profile.answer = std::string(200, 'h');
  SettingsFiles files(profile, hostFileStore());
  EXPECT_EQ(files.homeDirectory(), std::string(79, 'h'));
  FixedHomeProfile fixed(std::string(100, 'f'));
  EXPECT_EQ(SettingsFiles(fixed, hostFileStore()).homeDirectory(), std::string(79, 'f'));
}

TEST(HomeDirectory, NoSeparatorIsAddedBetweenHomeAndRelativePath) {
  FixedHomeProfile profile("C:\\KESTA\\");
  SettingsFiles files(profile, hostFileStore());
  EXPECT_EQ(files.path("\\env\\kesta.col"), "C:\\KESTA\\\\env\\kesta.col");
}

TEST(HostPath, BackslashesBecomeTheHostSeparator) {
#ifdef _WIN32
  EXPECT_EQ(toHostPath("NULL\\env\\kesta.mdm"), "NULL\\env\\kesta.mdm");
#else
  EXPECT_EQ(toHostPath("NULL\\env\\kesta.mdm"), "NULL/env/kesta.mdm");
#endif
}

class HomeDirectoryFiles : public testing::TempHome {};

TEST_F(HomeDirectoryFiles, MovingTheHomeDirectoryMovesEveryFile) {
  writeColorSettings(files_, ColorSettings{5, 6});
  auto other = root_ / "second";
  std::filesystem::create_directories(other / "env");
  profile_.setHome(toSystemText(other));
  ColorSettings c;
  EXPECT_FALSE(readColorSettings(files_, c));
  writeColorSettings(files_, ColorSettings{7, 8});
  EXPECT_TRUE(std::filesystem::exists(other / "env" / "kesta.col"));
  EXPECT_EQ(fileBytes("env/kesta.col"), (std::vector<std::uint8_t>{5, 0, 0, 0, 6, 0, 0, 0}));
}

TEST_F(HomeDirectoryFiles, WithoutAProfileEntryFilesAreUnderNullInTheCurrentDirectory) {
  auto saved = std::filesystem::current_path();
  std::filesystem::current_path(root_);
  std::filesystem::create_directories(root_ / "NULL" / "env");
  profile_.clear();
  writeColorSettings(files_, ColorSettings{9, 9});
  bool there = std::filesystem::exists(root_ / "NULL" / "env" / "kesta.col");
  std::filesystem::current_path(saved);
  EXPECT_TRUE(there);
}

}  // namespace
}  // namespace kesta::settings
