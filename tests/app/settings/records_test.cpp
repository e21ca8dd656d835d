// Each fixed-size settings file: what a missing file means, the exact bytes
// written, and files shorter or longer than their record.
#include <gtest/gtest.h>

#include "app/settings/color_settings.h"
#include "app/settings/directory_settings.h"
#include "app/settings/hangul_settings.h"
#include "app/settings/macro_table.h"
#include "app/settings/modem_settings.h"
#include "app/settings/sound_settings.h"
#include "app/settings/window_size.h"
#include "app/settings/zoom_setting.h"
#include "tests/app/settings/temp_home.h"

namespace kesta::settings {
namespace {

using testing::appendInt32;
using testing::appendText;

class SettingsRecords : public testing::TempHome {
 protected:
  std::string home() const { return files_.homeDirectory(); }
};

// ---- modem settings ----

TEST_F(SettingsRecords, ModemFileIsFiveNumbersThenAnEightyByteCommand) {
  ModemSettings m;
  m.port = 2;
  m.rate = 19200;
  m.dataBits = 7;
  m.parity = kParityEven;
  m.stopBits = kTwoStopBits;
  m.initialCommand = "AT&F E1 V1";
  ASSERT_TRUE(writeModemSettings(files_, m));
  std::vector<std::uint8_t> expected;
  for (std::uint32_t v : {2u, 19200u, 7u, 2u, 2u}) appendInt32(expected, v);
  appendText(expected, "AT&F E1 V1", 80);
  EXPECT_EQ(fileBytes("env/kesta.mdm"), expected);

  ModemSettings back;
  ASSERT_TRUE(readModemSettings(files_, back));
  EXPECT_EQ(back, m);
}

TEST_F(SettingsRecords, ModemDialogDefaultsArePortFourAt38400With8N1AndATZ) {
  ModemSettings d = ModemSettings::dialogDefaults();
  EXPECT_EQ(d.port, 4);
  EXPECT_EQ(d.rate, 38400);
  EXPECT_EQ(d.dataBits, 8);
  EXPECT_EQ(d.parity, kParityNone);
  EXPECT_EQ(d.stopBits, kOneStopBit);
  EXPECT_EQ(d.initialCommand, "ATZ");
}

TEST_F(SettingsRecords, MissingModemFileIsReportedAndStartupFallsBackToTheDialogDefaults) {
  ModemSettings m;
  EXPECT_FALSE(readModemSettings(files_, m));
  EXPECT_EQ(m, ModemSettings{});
  EXPECT_EQ(loadModemSettingsForStartup(files_), ModemSettings::dialogDefaults());
  EXPECT_FALSE(exists("env/kesta.mdm"));  // only the Modem dialog writes it
}

TEST_F(SettingsRecords, StartupTakesAShortModemFileOverAnAllZeroRecord) {
  std::vector<std::uint8_t> bytes;
  appendInt32(bytes, 3);
  appendInt32(bytes, 9600);
  putFile("env/kesta.mdm", bytes);
  ModemSettings m = loadModemSettingsForStartup(files_);
  EXPECT_EQ(m.port, 3);
  EXPECT_EQ(m.rate, 9600);
  EXPECT_EQ(m.dataBits, 0);
  EXPECT_EQ(m.initialCommand, "");
}

TEST_F(SettingsRecords, InitialCommandWithoutNulStopsAtSeventyNineBytes) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 5; ++i) appendInt32(bytes, 1);
  bytes.resize(100, 'A');
  putFile("env/kesta.mdm", bytes);
  ModemSettings m;
  ASSERT_TRUE(readModemSettings(files_, m));
  EXPECT_EQ(m.initialCommand, std::string(79, 'A'));
}

TEST_F(SettingsRecords, NegativeNumbersKeepTheirBytes) {
  ModemSettings m;
  m.port = -1;
  writeModemSettings(files_, m);
  auto bytes = *fileBytes("env/kesta.mdm");
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[3], 0xFF);
  ModemSettings back;
  readModemSettings(files_, back);
  EXPECT_EQ(back.port, -1);
}

// ---- window size ----

TEST_F(SettingsRecords, WindowSizeIsWidthThenHeight) {
  ASSERT_TRUE(writeWindowSize(files_, WindowSize{640, 0x1E0}));
  std::vector<std::uint8_t> expected{0x80, 0x02, 0, 0, 0xE0, 0x01, 0, 0};
  EXPECT_EQ(fileBytes("env/kesta.pos"), expected);
  WindowSize back;
  ASSERT_TRUE(readWindowSize(files_, back));
  EXPECT_EQ(back, (WindowSize{640, 480}));
}

TEST_F(SettingsRecords, ShortWindowSizeFileKeepsTheOldHeight) {
  putFile("env/kesta.pos", {0x20, 0x03, 0, 0, 0x99});  // width 800, one stray byte of height
  WindowSize size{1, 0x01020304};
  ASSERT_TRUE(readWindowSize(files_, size));
  EXPECT_EQ(size.width, 800);
  EXPECT_EQ(size.height, 0x01020399);
}

TEST_F(SettingsRecords, ZoomIsOneFactorFromOneToFourElseTheDpiDecides) {
  EXPECT_EQ(readZoom(files_), std::nullopt);  // missing: the DPI decides, nothing is written
  ASSERT_TRUE(writeZoom(files_, 3));
  EXPECT_EQ(fileBytes("env/kesta.zom"), (std::vector<std::uint8_t>{3, 0, 0, 0}));
  EXPECT_EQ(readZoom(files_), 3);
  const std::vector<std::uint8_t> unusable[] = {{0, 0, 0, 0}, {5, 0, 0, 0}, {2, 0, 0}, {2, 0, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0xFF}};
  for (const auto& bytes : unusable) {
    putFile("env/kesta.zom", bytes);
    EXPECT_EQ(readZoom(files_), std::nullopt) << bytes.size() << " bytes, first " << int(bytes[0]);
  }
  for (const auto& [dpi, zoom] : {std::pair{72, 1}, {96, 1}, {120, 1}, {144, 1}, {192, 2}, {288, 3}, {384, 4}, {768, 4}}) {
    EXPECT_EQ(zoomForDpi(dpi), zoom) << dpi;
  }
}

// ---- Hangul settings ----

TEST_F(SettingsRecords, MissingHangulFileGivesOneFiveTwoAndIsNotWritten) {
  HangulSettings h;
  EXPECT_FALSE(readHangulSettings(files_, h));
  EXPECT_EQ(h.font, 1);
  EXPECT_EQ(h.code, 5);
  EXPECT_EQ(h.keyboard, 2);
  EXPECT_EQ(h.codeNumber(), 6);
  EXPECT_FALSE(exists("env/kesta.han"));
}

TEST_F(SettingsRecords, HangulCodeIndexSixSelectsCodeNumberSeven) {
  std::vector<std::uint8_t> bytes;
  appendInt32(bytes, 0);
  appendInt32(bytes, 6);
  appendInt32(bytes, 1);
  putFile("env/kesta.han", bytes);
  HangulSettings h;
  ASSERT_TRUE(readHangulSettings(files_, h));
  EXPECT_EQ(h.font, 0);
  EXPECT_EQ(h.code, 6);
  EXPECT_EQ(h.keyboard, kKeyboardThreeSet);
  EXPECT_EQ(h.codeNumber(), 7);
  EXPECT_EQ(hangulCodeLabel(h.code, false), "7Bit Complete");
  EXPECT_EQ(hangulFontFace(h.font), "InternalMyungjo");
}

TEST_F(SettingsRecords, HangulCodeIndexSevenIsUtf8AndOutsideTheListFallsBackToTheDefaultNumber) {
  HangulSettings h;
  h.code = 7;
  EXPECT_EQ(h.codeNumber(), 9);
  EXPECT_EQ(hangulCodeLabel(7, false), "UTF-8");
  EXPECT_EQ(hangulCodeLabel(7, true), "UTF-8 (유니코드)");
  h.code = 8;
  EXPECT_EQ(h.codeNumber(), 6);
  h.code = -1;
  EXPECT_EQ(h.codeNumber(), 6);
  EXPECT_EQ(hangulCodeLabel(8, false), "");
  EXPECT_EQ(hangulCodeLabel(-1, true), "");
  EXPECT_EQ(hangulFontFace(4), "");
}

TEST_F(SettingsRecords, HangulFileBytes) {
  writeHangulSettings(files_, HangulSettings{3, 0, 1});
  std::vector<std::uint8_t> expected{3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(fileBytes("env/kesta.han"), expected);
}

TEST_F(SettingsRecords, HangulCodeLabelsInBothLanguages) {
  EXPECT_EQ(hangulCodeLabel(0, false), "Sangyong Combination");
  EXPECT_EQ(hangulCodeLabel(5, false), "KS Complete");
  EXPECT_EQ(hangulCodeLabel(5, true), "KS 완성형");
  EXPECT_EQ(hangulCodeLabel(3, true), "도깨비 II 조합형");
}

// ---- directories ----

TEST_F(SettingsRecords, DirectoryDefaultsFollowTheHomeDirectory) {
  DirectorySettings d = loadDirectorySettings(files_);
  EXPECT_EQ(d.download, home() + "\\down");
  EXPECT_EQ(d.upload, home() + "\\up");
  EXPECT_EQ(d.capture, home() + "\\cap");
  EXPECT_FALSE(exists("env/kesta.dir"));
}

TEST_F(SettingsRecords, DirectoryFileIsThreeHundredByteFieldsInOrder) {
  DirectorySettings d{"C:\\in", "C:\\out", "C:\\log"};
  ASSERT_TRUE(writeDirectorySettings(files_, d));
  std::vector<std::uint8_t> expected;
  appendText(expected, "C:\\in", 100);
  appendText(expected, "C:\\out", 100);
  appendText(expected, "C:\\log", 100);
  EXPECT_EQ(fileBytes("env/kesta.dir"), expected);
  EXPECT_EQ(loadDirectorySettings(files_), d);
}

TEST_F(SettingsRecords, ShortDirectoryFileKeepsTheDefaultsItDoesNotCover) {
  std::vector<std::uint8_t> bytes;
  appendText(bytes, "D:\\dl", 100);
  putFile("env/kesta.dir", bytes);
  DirectorySettings d = loadDirectorySettings(files_);
  EXPECT_EQ(d.download, "D:\\dl");
  EXPECT_EQ(d.upload, home() + "\\up");
}

// ---- macros ----

TEST_F(SettingsRecords, MacroFileIsNineHundredByteFields) {
  MacroTable t;
  t.macros[0] = "ATZ";
  t.macros[8] = "bye";
  ASSERT_TRUE(writeMacroTable(files_, t));
  std::vector<std::uint8_t> expected;
  appendText(expected, "ATZ", 100);
  for (int i = 1; i < 8; ++i) appendText(expected, "", 100);
  appendText(expected, "bye", 100);
  EXPECT_EQ(fileBytes("env/kesta.mac"), expected);
}

TEST_F(SettingsRecords, MacroDialogOnAFreshInstallationWritesNineEmptyMacros) {
  MacroTable t = loadMacroTableForDialog(files_);
  EXPECT_EQ(t, MacroTable{});
  EXPECT_EQ(fileBytes("env/kesta.mac"), std::vector<std::uint8_t>(900, 0));
}

TEST_F(SettingsRecords, MacroDialogLeavesAnExistingFileAlone) {
  MacroTable t;
  t.macros[4] = "hello";
  writeMacroTable(files_, t);
  auto before = fileBytes("env/kesta.mac");
  EXPECT_EQ(loadMacroTableForDialog(files_), t);
  EXPECT_EQ(fileBytes("env/kesta.mac"), before);
}

// ---- sounds and colours ----

TEST_F(SettingsRecords, MissingVoiceFileMeansOnAndIsWritten) {
  EXPECT_TRUE(loadVoiceFlagOrCreate(files_).on);
  EXPECT_EQ(fileBytes("env/kesta.voc"), (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST_F(SettingsRecords, VoiceFileOffIsKept) {
  putFile("env/kesta.voc", {0, 0, 0, 0});
  EXPECT_FALSE(loadVoiceFlagOrCreate(files_).on);
  EXPECT_EQ(fileBytes("env/kesta.voc"), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST_F(SettingsRecords, MissingMusicFileMeansOnWithBackWavAndIsWritten) {
  MusicSettings m = loadMusicSettingsOrCreate(files_);
  EXPECT_TRUE(m.on);
  EXPECT_EQ(m.path, home() + "\\wav\\back.wav");
  std::vector<std::uint8_t> expected;
  appendInt32(expected, 1);
  appendText(expected, home() + "\\wav\\back.wav", 100);
  EXPECT_EQ(fileBytes("env/kesta.mus"), expected);
}

TEST_F(SettingsRecords, MusicFileRoundTrips) {
  MusicSettings m{false, "C:\\music\\loop.wav"};
  writeMusicSettings(files_, m);
  EXPECT_EQ(fileBytes("env/kesta.mus")->size(), 104u);
  EXPECT_EQ(loadMusicSettingsOrCreate(files_), m);
}

TEST_F(SettingsRecords, MissingColourFileMeansWhiteOnDarkBlueAndIsWritten) {
  ColorSettings c = loadColorSettingsOrCreate(files_);
  EXPECT_EQ(c.text, 0xFFFFFFu);
  EXPECT_EQ(c.background, 0x7D0000u);
  EXPECT_EQ(fileBytes("env/kesta.col"), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0, 0, 0, 0x7D, 0}));
}

TEST_F(SettingsRecords, ColourFileIsRead) {
  putFile("env/kesta.col", {0x00, 0xFF, 0x00, 0x00, 0x10, 0x20, 0x30, 0x00});
  ColorSettings c = loadColorSettingsOrCreate(files_);
  EXPECT_EQ(c.text, 0x00FF00u);
  EXPECT_EQ(c.background, 0x302010u);
}

// ---- writes ----

TEST_F(SettingsRecords, AWriteReplacesALongerFileWhole) {
  putFile("env/kesta.col", std::vector<std::uint8_t>(50, 0xAA));
  writeColorSettings(files_, ColorSettings{1, 2});
  EXPECT_EQ(fileBytes("env/kesta.col"), (std::vector<std::uint8_t>{1, 0, 0, 0, 2, 0, 0, 0}));
}

TEST_F(SettingsRecords, AWriteIntoAMissingDirectoryFailsQuietly) {
  std::filesystem::remove_all(root_ / "env");
  EXPECT_FALSE(writeColorSettings(files_, ColorSettings{}));
  ColorSettings c = loadColorSettingsOrCreate(files_);  // defaults even though the file cannot be made
  EXPECT_EQ(c, ColorSettings{});
}

TEST_F(SettingsRecords, TextLongerThanItsFieldIsCutWhenWritten) {
  MusicSettings m{true, std::string(120, 'p')};
  writeMusicSettings(files_, m);
  MusicSettings back;
  readMusicSettings(files_, back);
  EXPECT_EQ(back.path, std::string(99, 'p'));
}

}  // namespace
}  // namespace kesta::settings
