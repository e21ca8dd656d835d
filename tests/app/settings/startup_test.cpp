// What the main window's creation reads and which files exist afterwards.
#include <gtest/gtest.h>

#include "app/settings/auto_response.h"
#include "app/settings/directory_settings.h"
#include "app/settings/macro_table.h"
#include "app/settings/modem_settings.h"
#include "app/settings/startup_settings.h"
#include "tests/app/settings/temp_home.h"

namespace kesta::settings {
namespace {

class FirstStart : public testing::TempHome {};

TEST_F(FirstStart, AnEmptyEnvDirectoryGainsExactlyTheSoundAndColourFiles) {
  StartupSettings s = loadStartupSettings(files_);
  // Also what the start of operation and the file choosers read:
  loadModemSettingsForStartup(files_);
  loadDirectorySettings(files_);
  AutoResponseTable table;
  readAutoResponseTable(files_, table);

  EXPECT_TRUE(exists("env/kesta.voc"));
  EXPECT_TRUE(exists("env/kesta.mus"));
  EXPECT_TRUE(exists("env/kesta.col"));
  EXPECT_FALSE(exists("env/kesta.mdm"));
  EXPECT_FALSE(exists("env/kesta.han"));
  EXPECT_FALSE(exists("env/kesta.dir"));
  EXPECT_FALSE(exists("env/kesta.aut"));
  EXPECT_FALSE(exists("env/kesta.pos"));
  EXPECT_FALSE(exists("env/kesta.mac"));
  int count = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(root_ / "env")) ++count;
  EXPECT_EQ(count, 3);

  EXPECT_TRUE(s.voice.on);
  EXPECT_TRUE(s.music.on);
  EXPECT_EQ(s.music.path, files_.homeDirectory() + "\\wav\\back.wav");
  EXPECT_EQ(s.hangul, HangulSettings{});
  EXPECT_EQ(s.colors, ColorSettings{});
  EXPECT_FALSE(s.windowSize.has_value());
}

TEST_F(FirstStart, TheSecondStartReadsWhatTheFirstWrote) {
  loadStartupSettings(files_);
  VoiceFlag off{false};
  writeVoiceFlag(files_, off);
  writeWindowSize(files_, WindowSize{800, 600});
  writeHangulSettings(files_, HangulSettings{2, 6, 1});
  StartupSettings s = loadStartupSettings(files_);
  EXPECT_FALSE(s.voice.on);
  ASSERT_TRUE(s.windowSize.has_value());
  EXPECT_EQ(*s.windowSize, (WindowSize{800, 600}));
  EXPECT_EQ(s.hangul.codeNumber(), 7);
  EXPECT_EQ(s.hangul.font, 2);
}

}  // namespace
}  // namespace kesta::settings
