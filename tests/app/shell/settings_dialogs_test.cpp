// The settings dialogs' models: what each shows from its file (or without
// one), what OK writes, byte for byte, and the cuts at character boundaries.
#include <gtest/gtest.h>

#include <string>

#include "app/shell/dialogs/dialog_choices.h"
#include "app/shell/dialogs/dialog_ids.h"
#include "app/shell/dialogs/hangul_dialogs.h"
#include "app/shell/dialogs/modem_dialog.h"
#include "app/shell/dialogs/text_cut.h"
#include "app/shell/dialogs/text_dialogs.h"
#include "memory_files.h"

namespace kesta::shell {
namespace {

using testing::appendText;
using testing::appendInt32;
using testing::Bytes;
using testing::MemoryHome;

const std::string kGa = "\x88\x61";  // 가 in the internal code
const std::string kNa = "\x8c\x61";  // 나

TEST(TextCut, EndsBeforeATwoByteCharacterScanningFromTheStart) {
  struct Case {
    std::string text;
    std::size_t limit;
    std::string expected;
  };
  const Case cases[] = {
      {"ATZ", 79, "ATZ"},
      {std::string(80, 'x'), 79, std::string(79, 'x')},
      {std::string(78, 'x') + kGa, 79, std::string(78, 'x')},        // would end inside it
      {std::string(77, 'x') + kGa + "y", 79, std::string(77, 'x') + kGa},
      {std::string(97, 'x') + kGa + kNa, 99, std::string(97, 'x') + kGa},
      // A second byte of 0x80 or above is still the second byte, not a lead.
      {"\xb0\xa1\xb0\xa1", 3, "\xb0\xa1"},
      {"ab\0cd", 79, "ab"},
      {"a\x88", 79, "a"},  // a lead byte with nothing after it
      {"", 99, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(cutAtCharacter(c.text, c.limit), c.expected) << c.text.size();
}

TEST(DialogChoices, RatesMapBothWaysAndUnknownRatesGiveTheFirstItem) {
  auto rates = rateChoices();
  ASSERT_EQ(rates.size(), 13u);
  EXPECT_EQ(rates.front(), "110");
  EXPECT_EQ(rates.back(), "256000");
  for (int i = 0; i < 13; ++i) EXPECT_EQ(rateIndex(rateForIndex(i)), i);
  for (int rate : {0, 115200, -1, 57600}) EXPECT_EQ(rateIndex(rate), 0) << rate;
  for (int index : {-1, 13, 1000}) EXPECT_EQ(rateForIndex(index), 0) << index;
  EXPECT_EQ(portChoices().at(8), "COM9");
  EXPECT_EQ(keyboardChoices(Language::Korean).at(1), "3 벌식");
  EXPECT_EQ(hangulFontChoices(Language::English).at(3), "Sammool");
  EXPECT_EQ(hangulCodeChoices(Language::English).at(5), "KS Complete");
  EXPECT_EQ(saveQuestionTexts(Language::English).text, "Do you want to save ?");
  EXPECT_EQ(saveQuestionTexts(Language::Korean).title, "저장");
}

Bytes modemFile(std::int32_t port, std::int32_t rate, std::int32_t data, std::int32_t parity, std::int32_t stop,
                const std::string& command) {
  Bytes b;
  for (std::int32_t v : {port, rate, data, parity, stop}) appendInt32(b, static_cast<std::uint32_t>(v));
  appendText(b, command, 80);
  return b;
}

TEST(ModemDialog, FreshInstallationShowsCom4And38400AndSelectWritesThem) {
  MemoryHome home;
  ModemDialog dialog(home.files);
  dialog.open();
  EXPECT_EQ(portChoices().at(static_cast<std::size_t>(dialog.portItem())), "COM4");
  EXPECT_EQ(rateChoices().at(static_cast<std::size_t>(dialog.rateItem())), "38400");
  EXPECT_EQ(radioButtonsFor(dialog.record()),
            (ModemRadioButtons{dialog::kModemParityNone, dialog::kModemData8, dialog::kModemStop1}));
  dialog.select(dialog.portItem(), dialog.rateItem(), "ATZ");
  EXPECT_TRUE(dialog.changed());
  EXPECT_EQ(home.get("\\env\\kesta.mdm"), modemFile(4, 38400, 8, 0, 0, "ATZ"));
}

TEST(ModemDialog, ShowsTheFileAndWritesWhatWasChosen) {
  MemoryHome home;
  home.put("\\env\\kesta.mdm", modemFile(2, 110, 7, 2, 2, "ATZ&F"));
  ModemDialog dialog(home.files);
  dialog.open();
  EXPECT_EQ(dialog.portItem(), 1);
  EXPECT_EQ(dialog.rateItem(), 0);
  EXPECT_EQ(radioButtonsFor(dialog.record()),
            (ModemRadioButtons{dialog::kModemParityEven, dialog::kModemData7, dialog::kModemStop2}));
  for (int id : {dialog::kModemParityOdd, dialog::kModemData8, dialog::kModemStop1}) dialog.clickRadioButton(id);
  std::string longCommand = std::string(78, 'A') + kGa;  // 80 bytes: the syllable does not fit
  dialog.select(-1, 12, longCommand);                    // no port item selected: port stays 2
  EXPECT_EQ(home.get("\\env\\kesta.mdm"), modemFile(2, 256000, 8, 1, 0, std::string(78, 'A')));

  int writes = home.store.writes;
  ModemDialog cancelled(home.files);
  cancelled.open();
  cancelled.clickRadioButton(dialog::kModemData7);
  cancelled.cancel();
  EXPECT_FALSE(cancelled.changed());
  EXPECT_EQ(home.store.writes, writes);
}

TEST(ModemState, DefaultsWithoutAFileAndEmptyTextsForValuesOutOfRange) {
  struct Case {
    const char* what;
    std::optional<Bytes> file;
    ModemStateTexts shown;
  };
  Bytes damaged = modemFile(77, 12345, -3, 9, 1, "");
  Bytes noNul(100, 'Q');  // a command field with no NUL
  for (int i = 0; i < 20; ++i) noNul[static_cast<std::size_t>(i)] = 0;
  const Case cases[] = {
      {"missing", std::nullopt, {"COM4", "38400", "None", "8 Bit", "1 Bit", "ATZ"}},
      {"zeroed", Bytes(100, 0), {"", "", "None", "", "1 Bit", ""}},
      {"damaged", damaged, {"", "", "", "", "", ""}},
      {"short", Bytes{9, 0, 0, 0}, {"COM9", "38400", "None", "8 Bit", "1 Bit", "ATZ"}},
      {"command without NUL", noNul, {"", "", "None", "", "1 Bit", std::string(79, 'Q')}},
      {"odd, 7, 2", modemFile(1, 2400, 7, 1, 2, "AT"), {"COM1", "2400", "Odd", "7 Bit", "2 Bit", "AT"}},
  };
  for (const Case& c : cases) {
    MemoryHome home;
    if (c.file) home.put("\\env\\kesta.mdm", *c.file);
    EXPECT_EQ(readModemStateTexts(home.files), c.shown) << c.what;
  }
}

Bytes hangulFile(std::int32_t font, std::int32_t code, std::int32_t keyboard) {
  Bytes b;
  for (std::int32_t v : {font, code, keyboard}) appendInt32(b, static_cast<std::uint32_t>(v));
  return b;
}

TEST(HangulDialogs, SelectStoredValuesAndWriteOnlyTheirOwn) {
  struct Case {
    const char* what;
    HangulChoice choice;
    std::optional<Bytes> file;
    int shownItem;
    int chosenItem;  // -1: OK with nothing selected
    std::optional<Bytes> written;
  };
  const Case cases[] = {
      {"font, no file", HangulChoice::Font, std::nullopt, 1, 3, hangulFile(3, 5, 2)},
      {"font, nothing selected", HangulChoice::Font, hangulFile(9, 2, 1), -1, -1, hangulFile(9, 2, 1)},
      {"code", HangulChoice::Code, hangulFile(0, 6, 1), 6, 4, hangulFile(0, 4, 1)},
      {"code, nothing selected", HangulChoice::Code, std::nullopt, 5, -1, std::nullopt},
      {"code out of range", HangulChoice::Code, hangulFile(0, 40, 2), -1, 0, hangulFile(0, 0, 2)},
      {"3 BulSik", HangulChoice::Keyboard, std::nullopt, 0, 1, hangulFile(1, 5, 1)},
      {"2 BulSik", HangulChoice::Keyboard, hangulFile(2, 3, 1), 1, 0, hangulFile(2, 3, 2)},
      {"keyboard, nothing selected", HangulChoice::Keyboard, std::nullopt, 0, -1, std::nullopt},
  };
  for (const Case& c : cases) {
    MemoryHome home;
    if (c.file) home.put("\\env\\kesta.han", *c.file);
    HangulChoiceDialog dialog(home.files, c.choice);
    EXPECT_EQ(dialog.open(), c.shownItem) << c.what;
    dialog.ok(c.chosenItem);
    EXPECT_TRUE(dialog.changed()) << c.what;
    EXPECT_EQ(home.get("\\env\\kesta.han"), c.written ? c.written : c.file) << c.what;
  }
}

TEST(HangulDialogs, ThreeBulSikIsSelectedAgainAndCancelWritesNothing) {
  MemoryHome home;
  HangulChoiceDialog keys(home.files, HangulChoice::Keyboard);
  EXPECT_EQ(keys.items(Language::English), (std::vector<std::string>{"2 BulSik", "3 BulSik"}));
  keys.open();
  keys.ok(1);
  HangulChoiceDialog again(home.files, HangulChoice::Keyboard);
  EXPECT_EQ(again.open(), 1);
  again.cancel();
  EXPECT_FALSE(again.changed());
  EXPECT_EQ(home.store.writes, 1);
}

TEST(TextDialogs, DirectoriesDefaultUnderHomeAndOkWritesTheThreePaths) {
  MemoryHome home;
  DirectoryDialog dialog(home.files);
  settings::DirectorySettings shown = dialog.open();
  EXPECT_EQ(shown.download, "C:\\KESTA\\down");
  EXPECT_EQ(shown.upload, "C:\\KESTA\\up");
  EXPECT_EQ(shown.capture, "C:\\KESTA\\cap");
  EXPECT_FALSE(home.get("\\env\\kesta.dir"));
  std::string deep = "D:\\" + std::string(95, 'p') + kGa;  // 100 bytes: the syllable is left out
  dialog.ok("D:\\in", "D:\\out", deep);
  EXPECT_TRUE(dialog.changed());
  Bytes expected;
  appendText(expected, "D:\\in", 100);
  appendText(expected, "D:\\out", 100);
  appendText(expected, "D:\\" + std::string(95, 'p'), 100);
  EXPECT_EQ(home.get("\\env\\kesta.dir"), expected);
  EXPECT_EQ(DirectoryDialog(home.files).open().upload, "D:\\out");
}

TEST(TextDialogs, MacroDialogWritesEmptyMacrosAtOpeningAndTheTypedOnesOnOk) {
  MemoryHome home;
  MacroDialog dialog(home.files);
  MacroDialog::Texts shown = dialog.open();
  for (const auto& m : shown) EXPECT_TRUE(m.empty());
  EXPECT_EQ(home.get("\\env\\kesta.mac"), Bytes(900, 0));  // even if it is now cancelled

  MacroDialog::Texts typed{};
  typed[0] = kGa + kNa;
  typed[2] = "ATZ";
  typed[8] = std::string(98, 'm') + kGa;  // 100 bytes
  dialog.ok(typed);
  Bytes expected;
  appendText(expected, kGa + kNa, 100);
  appendText(expected, "", 100);
  appendText(expected, "ATZ", 100);
  for (int i = 3; i < 8; ++i) appendText(expected, "", 100);
  appendText(expected, std::string(98, 'm'), 100);
  EXPECT_EQ(home.get("\\env\\kesta.mac"), expected);
  const Bytes file = home.get("\\env\\kesta.mac").value_or(Bytes{});
  EXPECT_EQ((Bytes{file[0], file[1], file[2], file[3]}), (Bytes{0x88, 0x61, 0x8C, 0x61}));
  EXPECT_EQ(MacroDialog(home.files).open()[2], "ATZ");
}

TEST(TextDialogs, AutoDialogReadsWithoutWritingAndOkWritesEveryRow) {
  MemoryHome home;
  AutoDialog dialog(home.files);
  settings::AutoResponseTable table = dialog.open();
  EXPECT_EQ(table, settings::AutoResponseTable{});
  EXPECT_FALSE(home.get("\\env\\kesta.aut"));  // cancelling leaves no file

  table.rows[0] = {true, "login:", "guest\r"};
  table.rows[7] = {false, kGa, std::string(97, 't') + kNa + "z"};
  dialog.ok(table);
  Bytes expected;
  for (int r = 0; r < 8; ++r) appendInt32(expected, r == 0 ? 1 : 0);
  appendText(expected, "login:", 100);
  appendText(expected, "guest\r", 100);
  for (int r = 1; r < 7; ++r) {
    appendText(expected, "", 100);
    appendText(expected, "", 100);
  }
  appendText(expected, kGa, 100);
  appendText(expected, std::string(97, 't') + kNa, 100);
  EXPECT_EQ(home.get("\\env\\kesta.aut"), expected);

  auto edits = AutoDialog::editTexts(AutoDialog(home.files).open());
  EXPECT_EQ(edits[0], "login:");
  EXPECT_EQ(edits[1], "guest\r");
  EXPECT_EQ(edits[14], kGa);
  EXPECT_EQ(dialog::autoReferenceEdit(8), 198);
  EXPECT_EQ(dialog::autoTransferEdit(1), 185);
  EXPECT_EQ(dialog::macroEdit(9), 192);
}

}  // namespace
}  // namespace kesta::shell
