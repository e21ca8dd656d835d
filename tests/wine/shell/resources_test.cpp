// Both menus and the accelerator table of kesta10.exe agree with the
// command table: every item in its popup, in order, with its text and key.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/input/command_ids.h"
#include "app/shell/input/command_table.h"

namespace kesta::shell {
namespace {

std::string programPath;

std::string utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  return out;
}

std::string itemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return utf8(text);
}

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryExA(programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << programPath;
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  void checkMenu(HMENU bar, Language language) {
    ASSERT_NE(bar, nullptr);
    const auto popups = menuPopups();
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(popups.size()) + 1);
    for (UINT p = 0; p < popups.size(); ++p) {
      EXPECT_EQ(itemText(bar, p), language == Language::Korean ? popups[p].korean : popups[p].english);
      HMENU popup = GetSubMenu(bar, p);
      ASSERT_NE(popup, nullptr);
      std::vector<const CommandEntry*> expected;
      for (const CommandEntry& e : commandTable()) {
        if (e.popup == static_cast<int>(p)) expected.push_back(&e);
      }
      ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(expected.size())) << "popup " << p;
      for (UINT i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, i)), expected[i]->id);
        EXPECT_EQ(itemText(popup, i), menuItemText(*expected[i], language)) << expected[i]->id;
      }
    }
    const CommandEntry* about = findCommand(IDM_ABOUT);
    EXPECT_EQ(static_cast<int>(GetMenuItemID(bar, popups.size())), IDM_ABOUT);
    EXPECT_EQ(itemText(bar, popups.size()), menuItemText(*about, language));
  }
  HMODULE module = nullptr;
};

TEST_F(ProgramResources, EnglishMenuAgreesWithTheTable) {
  HMENU bar = LoadMenuW(module, MAKEINTRESOURCEW(IDR_ENGLISH_MENU));
  checkMenu(bar, Language::English);
  DestroyMenu(bar);
}

TEST_F(ProgramResources, KoreanMenuAgreesWithTheTable) {
  HMENU bar = LoadMenuW(module, L"HangulMenu");
  checkMenu(bar, Language::Korean);
  DestroyMenu(bar);
}

// The program draws its terminal enlarged itself: its manifest tells Windows
// not to stretch it a second time.
TEST_F(ProgramResources, TheManifestDeclaresTheProgramDpiAware) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  HGLOBAL loaded = LoadResource(module, found);
  ASSERT_NE(loaded, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos) << manifest;
}

TEST_F(ProgramResources, EveryKeyOfTable200ReachesItsCommand) {
  HACCEL table = LoadAcceleratorsA(module, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  const int count = CopyAcceleratorTableA(table, nullptr, 0);
  std::vector<ACCEL> keys(count);
  CopyAcceleratorTableA(table, keys.data(), count);
  int withKeys = 0;
  for (const CommandEntry& e : commandTable()) {
    if (e.key.virtualKey == 0) continue;
    ++withKeys;
    BYTE flags = FVIRTKEY;
    if (e.key.modifiers & kAlt) flags |= FALT;
    if (e.key.modifiers & kControl) flags |= FCONTROL;
    if (e.key.modifiers & kShift) flags |= FSHIFT;
    bool found = false;
    for (const ACCEL& a : keys) {
      if (a.key == e.key.virtualKey && (a.fVirt & ~FNOINVERT) == flags) {
        EXPECT_EQ(a.cmd, e.id) << "key " << e.key.virtualKey;
        found = true;
      }
    }
    EXPECT_TRUE(found) << "no key for command " << e.id;
  }
  EXPECT_EQ(count, withKeys);
  DestroyAcceleratorTable(table);
}

}  // namespace
}  // namespace kesta::shell

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) kesta::shell::programPath = argv[1];
  return RUN_ALL_TESTS();
}
