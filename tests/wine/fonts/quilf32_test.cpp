// QUILF32.DLL under Wine: exports by ordinal, the store with real font
// modules and their reference counts, QUILF32.CFG, effects and the message.
#include "fonts/quilf32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fonts/font_list_file.h"

namespace {

bool moduleLoaded(const char* name) { return GetModuleHandleA(name) != nullptr; }

std::string fontListPath() {
  char dir[MAX_PATH];
  UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
  return std::string(dir, n) + "\\QUILF32.CFG";
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> data;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return data;
  uint8_t buf[4096];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) data.insert(data.end(), buf, buf + got);
  CloseHandle(f);
  return data;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& data) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(f);
}

int WINAPI countEntry(void* context, QuilFontHeader*, LPARAM, void*) {
  ++*static_cast<int*>(context);
  return 1;
}

int WINAPI keepLastEntry(void* context, QuilFontHeader* header, LPARAM, void*) {
  *static_cast<QuilFontHeader**>(context) = header;
  return 1;
}

int lastIndex() {
  int count = 0;
  HEnumFonts(&count, countEntry, 0, nullptr);
  return count - 1;
}

// Every test leaves the store with only the built-in fonts and no list file.
class Quilf32Test : public ::testing::Test {
 protected:
  void TearDown() override {
    while (lastIndex() > 10) {
      QuilFontHeader* h = nullptr;
      HEnumFonts(&h, keepLastEntry, 0, nullptr);
      HRemoveFontResource(h->fileName);
    }
    DeleteFileA(fontListPath().c_str());
  }
};

TEST_F(Quilf32Test, ExportsCarryTheirOrdinals) {
  HMODULE dll = GetModuleHandleA("QUILF32.DLL");
  ASSERT_NE(dll, nullptr);
  struct { int ordinal; const char* name; } exports[] = {
      {2, "GetQuilFontVersion"}, {3, "SelectQuilFont"}, {4, "HAddFontResource"}, {5, "HRemoveFontResource"},
      {6, "HEnumFonts"}, {7, "CreateQuilFont"}, {8, "DeleteQuilFont"}, {9, "GetHwmFontChange"},
      {10, "UnloadFonts"}, {12, "WriteFontNameProc"}, {13, "ReadFontLists"}, {14, "WriteFontLists"}};
  for (auto& e : exports) {
    FARPROC byOrdinal = GetProcAddress(dll, MAKEINTRESOURCEA(e.ordinal));
    EXPECT_NE(byOrdinal, nullptr) << e.name;
    EXPECT_EQ(byOrdinal, GetProcAddress(dll, e.name)) << e.name;
  }
  EXPECT_EQ(GetProcAddress(dll, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(GetProcAddress(dll, MAKEINTRESOURCEA(11)), nullptr);
  using VersionFn = WORD(WINAPI*)();
  EXPECT_EQ(reinterpret_cast<VersionFn>(reinterpret_cast<void*>(GetProcAddress(dll, MAKEINTRESOURCEA(2))))(), 0x0100);
}

TEST_F(Quilf32Test, FontChangeMessageIsRegistered) {
  UINT message = GetHwmFontChange();
  EXPECT_GE(message, 0xC000u);
  EXPECT_EQ(message, RegisterWindowMessageA("HWM_FONTCHANGE"));
}

TEST_F(Quilf32Test, BuiltInFontsAreSelectedByFaceAndKind) {
  char gothic[] = "internalgothic";
  QuilFontHeader* h = SelectQuilFont(gothic, nullptr, 1);
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(gothic, "INTERNALGOTHIC");
  EXPECT_STREQ(h->faceName, "InternalGothic");
  EXPECT_STREQ(h->description, "Windows Internal Gothic Font");
  EXPECT_EQ(h->referenceCount, 1);
  char again[] = "InternalGothic";
  EXPECT_EQ(SelectQuilFont(again, h, 2), nullptr);
  char kssm[] = "KSSMSpecial";
  QuilFontHeader* k = SelectQuilFont(kssm, nullptr, 4);
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->kind, 4);
  EXPECT_EQ(k->glyphBytes, 32);
  // The glyph blocks are read-only data of the library.
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(k->glyphs, &info, sizeof info), 0u);
  EXPECT_EQ(info.Protect & (PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE), 0u);
}

TEST_F(Quilf32Test, ModuleReferenceCountsFollowRegistrationsAndSelections) {
  ASSERT_FALSE(moduleLoaded("testfont.dll"));
  ASSERT_EQ(HAddFontResource("testfont.dll"), 1);
  EXPECT_TRUE(moduleLoaded("testfont.dll"));
  EXPECT_EQ(lastIndex(), 11);
  EXPECT_EQ(HAddFontResource("TESTFONT.DLL"), 1);  // already registered
  EXPECT_EQ(lastIndex(), 11);

  char face[] = "TestFace";
  QuilFontHeader* h = SelectQuilFont(face, nullptr, 1);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->referenceCount, 2);
  EXPECT_EQ(h->module, GetModuleHandleA("testfont.dll"));

  // Removing the registration keeps the module while it is selected.
  EXPECT_EQ(HRemoveFontResource("testfont.dll"), 1);
  EXPECT_TRUE(moduleLoaded("testfont.dll"));
  EXPECT_EQ(h->referenceCount, 1);
  EXPECT_EQ(lastIndex(), 11);

  // The next selection releases the last reference: entry and module go.
  char gothic[] = "InternalGothic";
  EXPECT_NE(SelectQuilFont(gothic, h, 1), nullptr);
  EXPECT_EQ(lastIndex(), 10);
  EXPECT_FALSE(moduleLoaded("testfont.dll"));
}

TEST_F(Quilf32Test, BrokenOrMissingModulesAreNotRegistered) {
  EXPECT_EQ(HAddFontResource("badfont.dll"), 0);
  EXPECT_FALSE(moduleLoaded("badfont.dll"));
  EXPECT_EQ(HAddFontResource("nosuchfont.dll"), 0);
  EXPECT_EQ(HAddFontResource(nullptr), 0);
  EXPECT_EQ(lastIndex(), 10);
  EXPECT_EQ(HRemoveFontResource(nullptr), 0);
}

TEST_F(Quilf32Test, UnloadFontsReleasesModulesAndKeepsTheBuiltIns) {
  ASSERT_EQ(HAddFontResource("testfont.dll"), 1);
  char face[] = "TestFace";
  ASSERT_NE(SelectQuilFont(face, nullptr, 1), nullptr);
  UnloadFonts();
  EXPECT_FALSE(moduleLoaded("testfont.dll"));
  EXPECT_EQ(lastIndex(), 10);
  char gothic[] = "InternalGothic";
  EXPECT_NE(SelectQuilFont(gothic, nullptr, 1), nullptr);
}

TEST_F(Quilf32Test, FontListRoundTripsThroughTheWindowsDirectory) {
  WriteFontLists();
  EXPECT_EQ(readFile(fontListPath()).size(), 51u);  // no modules: header and 0x1A only

  ASSERT_EQ(HAddFontResource("testfont.dll"), 1);
  WriteFontLists();
  std::vector<uint8_t> file = readFile(fontListPath());
  ASSERT_EQ(file.size(), 51u + 260u);
  EXPECT_EQ(kesta::fonts::parseFontList(file), std::vector<std::string>{"testfont.dll"});

  ASSERT_EQ(HRemoveFontResource("testfont.dll"), 1);
  ASSERT_EQ(lastIndex(), 10);
  ReadFontLists();
  EXPECT_EQ(lastIndex(), 11);
  EXPECT_TRUE(moduleLoaded("testfont.dll"));
}

// A second copy of the library attaches afresh: it starts with the built-in
// fonts and registers the modules QUILF32.CFG lists.
TEST_F(Quilf32Test, ProcessAttachReadsTheFontList) {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(GetModuleHandleA("QUILF32.DLL"), self, MAX_PATH);
  ASSERT_GT(n, 0u);
  std::string copy = std::string(self, n);
  copy = copy.substr(0, copy.find_last_of('\\') + 1) + "quilf32_attach.dll";
  ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
  writeFile(fontListPath(), kesta::fonts::buildFontList({"testfont.dll", "nosuchfont.dll"}));

  HMODULE second = LoadLibraryA(copy.c_str());
  ASSERT_NE(second, nullptr);
  using EnumFn = int(WINAPI*)(void*, QuilFontEnumProc, LPARAM, void*);
  auto enumFonts = reinterpret_cast<EnumFn>(reinterpret_cast<void*>(GetProcAddress(second, MAKEINTRESOURCEA(6))));
  ASSERT_NE(enumFonts, nullptr);
  int count = 0;
  enumFonts(&count, countEntry, 0, nullptr);
  EXPECT_EQ(count, 12);  // eleven built-in fonts and testfont.dll
  EXPECT_TRUE(moduleLoaded("testfont.dll"));
  EXPECT_EQ(lastIndex(), 10);  // each copy of the library has its own store
  FreeLibrary(second);  // detach releases the module again
  EXPECT_FALSE(moduleLoaded("testfont.dll"));
  DeleteFileA(copy.c_str());
}

TEST_F(Quilf32Test, FontListWithWrongHeaderOrNoRecordsRegistersNothing) {
  writeFile(fontListPath(), kesta::fonts::buildFontList({}));
  ReadFontLists();
  EXPECT_EQ(lastIndex(), 10);
  std::vector<uint8_t> file = kesta::fonts::buildFontList({"testfont.dll"});
  file[0] = 'q';
  writeFile(fontListPath(), file);
  ReadFontLists();
  EXPECT_EQ(lastIndex(), 10);
  DeleteFileA(fontListPath().c_str());
  ReadFontLists();  // a missing file is no error
  EXPECT_EQ(lastIndex(), 10);
}

TEST_F(Quilf32Test, CreateQuilFontAppliesEffectsToAPrivateCopy) {
  char face[] = "InternalGothic";
  QuilFontHeader* copy = CreateQuilFont(face, 0x02);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->faceName[0], 0);
  EXPECT_EQ(copy->module, nullptr);
  EXPECT_EQ(copy->glyphs[28], 0);
  EXPECT_EQ(copy->glyphs[29], 0);
  char gothic[] = "InternalGothic";
  QuilFontHeader* original = SelectQuilFont(gothic, nullptr, 1);
  EXPECT_NE(original->glyphs[28] | original->glyphs[29], 0);
  EXPECT_EQ(DeleteQuilFont(copy), 1);
  EXPECT_EQ(DeleteQuilFont(nullptr), 0);
  char missing[] = "Nothing";
  EXPECT_EQ(CreateQuilFont(missing, 0), nullptr);
}

}  // namespace

namespace {

constexpr char kHolderVariable[] = "KESTA_QUILF32_MUTEX_HOLDER";

// Run in a child process by the test below: holds "QUILF32MUTEX" until told
// to let go. In an ordinary run it has nothing to do.
TEST(Quilf32MutexHolder, HoldsTheMutexWhenAsked) {
  if (GetEnvironmentVariableA(kHolderVariable, nullptr, 0) == 0) GTEST_SKIP() << "only as the other process";
  HANDLE held = OpenEventA(EVENT_MODIFY_STATE, FALSE, "KestaQuilf32MutexHeld");
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, "KestaQuilf32MutexRelease");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "QUILF32MUTEX");
  ASSERT_NE(held, nullptr);
  ASSERT_NE(release, nullptr);
  ASSERT_EQ(WaitForSingleObject(mutex, 30000), WAIT_OBJECT_0);
  SetEvent(held);
  WaitForSingleObject(release, 30000);
  ReleaseMutex(mutex);
  for (HANDLE h : {held, release, mutex}) CloseHandle(h);
}

DWORD WINAPI writeLists(LPVOID) {
  WriteFontLists();
  return 0;
}

// While another process holds "QUILF32MUTEX", writing QUILF32.CFG waits;
// when it lets go, the write goes through.
TEST_F(Quilf32Test, FontListWritesWaitForAnotherProcessHoldingTheMutex) {
  HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "KestaQuilf32MutexHeld");
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "KestaQuilf32MutexRelease");
  char self[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = "\"" + std::string(self, n) + "\" --gtest_filter=Quilf32MutexHolder.*";
  SetEnvironmentVariableA(kHolderVariable, "1");
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableA(kHolderVariable, nullptr);
  ASSERT_TRUE(started);
  ASSERT_EQ(WaitForSingleObject(held, 60000), WAIT_OBJECT_0) << "the other process holds the mutex";

  writeFile(fontListPath(), {1, 2, 3});
  HANDLE writer = CreateThread(nullptr, 0, writeLists, nullptr, 0, nullptr);
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(WaitForSingleObject(writer, 1000), static_cast<DWORD>(WAIT_TIMEOUT)) << "the write waits";
  EXPECT_EQ(readFile(fontListPath()).size(), 3u);
  SetEvent(release);
  EXPECT_EQ(WaitForSingleObject(writer, 60000), WAIT_OBJECT_0);
  EXPECT_EQ(readFile(fontListPath()).size(), 51u) << "written once the mutex was free";
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u) << "the holder's own checks";
  for (HANDLE h : {writer, pi.hThread, pi.hProcess, held, release}) CloseHandle(h);
}

}  // namespace
