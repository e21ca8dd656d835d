// Every command of the main window in one table: its identifier, the menu
// texts in both languages with the key shown after a tab, the accelerator,
// and the popup it sits in. The resource script's menus and accelerator
// table are written to agree with it, and a test under Windows checks that
// they do.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/shell/window/shell_texts.h"

namespace kesta::shell {

// Accelerator modifiers.
inline constexpr unsigned kAlt = 1;
inline constexpr unsigned kControl = 2;
inline constexpr unsigned kShift = 4;

// Virtual keys the accelerators use besides letters and digits.
inline constexpr int kKeySpace = 0x20, kKeyPageUp = 0x21, kKeyPageDown = 0x22;
inline constexpr int kKeyF1 = 0x70, kKeyF2 = 0x71, kKeyF4 = 0x73, kKeyF5 = 0x74, kKeyF7 = 0x76, kKeyF8 = 0x77,
                     kKeyF9 = 0x78, kKeyF11 = 0x7A, kKeyF12 = 0x7B;

struct Accelerator {
  int virtualKey = 0;  // 0: the command has no key
  unsigned modifiers = 0;
};

inline constexpr int kNoMenu = -1;
inline constexpr int kTopLevel = 8;  // "&About" stands on the menu bar itself

struct CommandEntry {
  int id;
  std::string_view english;  // menu text without the key; empty: not on a menu
  std::string_view korean;
  std::string_view keyLabel;  // shown after the tab
  Accelerator key;
  int popup;  // index into menuPopups(), kTopLevel, or kNoMenu
};

struct MenuPopup {
  std::string_view english;
  std::string_view korean;
};

std::span<const CommandEntry> commandTable();
std::span<const MenuPopup> menuPopups();  // in menu-bar order
const CommandEntry* findCommand(int id);
// The item's text as the menu shows it: the label, a tab, the key.
std::string menuItemText(const CommandEntry& entry, Language language);

}  // namespace kesta::shell
