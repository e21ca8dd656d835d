// The command table and the dispatcher's decisions.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "app/shell/input/command_dispatch.h"
#include "app/shell/input/command_ids.h"
#include "app/shell/input/command_table.h"

namespace kesta::shell {
namespace {

TEST(CommandTable, IdsAndKeysAreUniqueAndEveryMenuItemHasBothLanguages) {
  std::set<int> ids;
  std::set<std::pair<int, unsigned>> keys;
  int perPopup[kTopLevel + 1] = {};
  for (const CommandEntry& e : commandTable()) {
    EXPECT_TRUE(ids.insert(e.id).second) << e.id;
    EXPECT_TRUE(e.id >= 101 && e.id <= 263) << e.id;
    if (e.key.virtualKey != 0) EXPECT_TRUE(keys.insert({e.key.virtualKey, e.key.modifiers}).second) << e.id;
    if (e.popup != kNoMenu) {
      EXPECT_FALSE(e.english.empty()) << e.id;
      EXPECT_FALSE(e.korean.empty()) << e.id;
      ++perPopup[e.popup];
    }
  }
  const int expected[] = {7, 3, 3, 3, 3, 10, 6, 8, 1};  // File .. State, then About
  for (int p = 0; p <= kTopLevel; ++p) EXPECT_EQ(perPopup[p], expected[p]) << "popup " << p;
  EXPECT_EQ(menuPopups().size(), 8u);
  // Ctrl+M is the key of the domain-name command, Alt+M the macro definitions.
  EXPECT_EQ(findCommand(IDM_DOMAIN_NAME)->key.modifiers, kControl);
  EXPECT_EQ(findCommand(IDM_DEFINE_MACRO)->key.modifiers, kAlt);
  EXPECT_EQ(menuItemText(*findCommand(IDM_DOMAIN_NAME), Language::English), "Input &Domain Name\tAlt+M");
  EXPECT_EQ(menuItemText(*findCommand(IDM_CLOSE), Language::Korean), "연결종료\tCtrl+F9");
  EXPECT_EQ(findCommand(999), nullptr);
}

TEST(CommandDispatch, DecisionsFollowTheModes) {
  struct Case {
    int command;
    ShellModes modes;
    CommandAction action;
    std::string_view dialog;
  };
  const ShellModes idle{};
  ShellModes view;
  view.passedScreenView = true;
  ShellModes chat;
  chat.chatMode = true;
  const Case cases[] = {
      {IDM_SEND_FILE, idle, CommandAction::SendFile, ""},
      {IDM_SEND_FILE, view, CommandAction::ViewPageUp, ""},
      {IDM_RECEIVE_FILE, idle, CommandAction::ReceiveFiles, ""},
      {IDM_RECEIVE_FILE, view, CommandAction::ViewPageDown, ""},
      {IDM_PREFIX, idle, CommandAction::Nothing, ""},
      {IDM_PREFIX, chat, CommandAction::RunDialog, "HeadDlg"},
      {IDM_SUFFIX, chat, CommandAction::RunDialog, "TailDlg"},
      {IDM_HANG_UP_BY_KEY, idle, CommandAction::HangUp, ""},
      {IDM_CLOSE, idle, CommandAction::HangUp, ""},
      {IDM_DOMAIN_NAME, idle, CommandAction::TelnetConnect, ""},
      {IDM_DEFINE_MACRO, idle, CommandAction::RunDialog, "MacroDlg"},
      {IDM_PHONE_NUMBER, idle, CommandAction::RunDialog, "DialDlg"},
      {IDM_NOTHING_ALT0, idle, CommandAction::Nothing, ""},
      {IDM_NOTHING_CTRLD, idle, CommandAction::Nothing, ""},
      {IDM_NOTHING_ALTF9, idle, CommandAction::Nothing, ""},
      {100, idle, CommandAction::Nothing, ""},
      {IDM_ZOOM_IN, view, CommandAction::ZoomIn, ""},
      {IDM_ZOOM_OUT, chat, CommandAction::ZoomOut, ""},
      {264, idle, CommandAction::Nothing, ""},
      {IDM_EXIT, idle, CommandAction::Exit, ""},
  };
  for (const Case& c : cases) {
    const CommandDecision d = decideCommand(c.command, c.modes);
    EXPECT_EQ(d.action, c.action) << c.command;
    EXPECT_EQ(d.dialog, c.dialog) << c.command;
  }
  for (int n = 1; n <= 9; ++n) {
    const CommandDecision d = decideCommand(IDM_MACRO1 + n - 1, idle);
    EXPECT_EQ(d.action, CommandAction::SendMacro);
    EXPECT_EQ(d.macro, n);
  }
  EXPECT_EQ(decideCommand(IDM_HANGUL_KEYTYPE, idle).reload, Reload::HangulKeyboard);
  EXPECT_EQ(decideCommand(IDM_SETTING_MODEM, idle).reload, Reload::ModemSettings);
  // Every command on a menu or a key leads somewhere, except the three that only take their keys.
  for (const CommandEntry& e : commandTable()) {
    const bool keyOnly = e.id == IDM_NOTHING_ALT0 || e.id == IDM_NOTHING_CTRLD || e.id == IDM_NOTHING_ALTF9;
    EXPECT_EQ(decideCommand(e.id, chat).action == CommandAction::Nothing, keyOnly) << e.id;
  }
}

TEST(CommandDispatch, TransfersGoOverTheConnectionInUse) {
  ShellModes none, serial, telnet;
  serial.serialPresent = true;
  telnet.serialPresent = telnet.telnetOpen = true;
  EXPECT_EQ(transferExport(true, none), "");
  EXPECT_EQ(transferExport(false, none), "");
  EXPECT_EQ(transferExport(true, serial), "wsz32");
  EXPECT_EQ(transferExport(false, serial), "wrz32");
  EXPECT_EQ(transferExport(true, telnet), "wsz32s");
  EXPECT_EQ(transferExport(false, telnet), "wrz32s");

  EXPECT_EQ(downloadDirectory(false, "", "C:\\kesta"), "C:\\kesta\\down\\");
  EXPECT_EQ(downloadDirectory(true, "D:\\files", "C:\\kesta"), "D:\\files\\");
  EXPECT_EQ(downloadDirectory(true, "D:\\files\\", "C:\\kesta"), "D:\\files\\");
  EXPECT_EQ(downloadDirectory(true, "", "C:\\kesta"), "C:\\kesta\\down\\");
}

}  // namespace
}  // namespace kesta::shell
