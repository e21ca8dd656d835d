#include "fonts/font_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "fonts/builtin_fonts.h"
#include "fonts/effects.h"
#include "fonts/name_key.h"

namespace kesta::fonts {
namespace {

// Font modules in memory: each has a header and counts its loads.
class FakeHost : public ModuleHost {
 public:
  struct Module {
    FontHeader header{};
    std::vector<uint8_t> glyphs;
    int loads = 0;
    bool exportsHeader = true;
  };

  Module& add(const std::string& file, const std::string& face, int kind = kKindHangul) {
    auto m = std::make_unique<Module>();
    FontHeader& h = m->header;
    h.format = 1;
    h.cellWidth = 16;
    h.cellHeight = 16;
    h.glyphBytes = 32;
    h.kind = kind;
    if (kind == kKindHangul) {
      h.composedFlag = 1;
      h.initialSets = 8;
      h.medialSets = 4;
      h.finalSets = 4;
    }
    h.underlineRise = 2;
    m->glyphs.assign(344 * 32, 0xFF);
    h.glyphs = m->glyphs.data();
    std::strcpy(h.fileName, file.c_str());
    std::strcpy(h.faceName, face.c_str());
    h.fileNameKey = nameKey(h.fileName, kNameBytes);
    h.faceNameKey = nameKey(h.faceName, kNameBytes);
    Module& ref = *m;
    modules_[upper(file)] = std::move(m);
    return ref;
  }

  void* load(const char* file) override {
    auto it = modules_.find(upper(file));
    if (it == modules_.end()) return nullptr;
    ++it->second->loads;
    return it->second.get();
  }
  void unload(void* module) override {
    auto* m = static_cast<Module*>(module);
    ASSERT_GT(m->loads, 0) << "unloaded more often than loaded";
    --m->loads;
  }
  FontHeader* headerOf(void* module) override {
    auto* m = static_cast<Module*>(module);
    return m->exportsHeader ? &m->header : nullptr;
  }

 private:
  static std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
  }
  std::map<std::string, std::unique_ptr<Module>> modules_;
};

class FontStoreTest : public ::testing::Test {
 protected:
  FontStoreTest() : store(builtins, host) { makeBuiltinHeaders(builtins); }
  FontHeader builtins[kBuiltinFontCount];
  FakeHost host;
  FontStore store;
};

TEST_F(FontStoreTest, StartsWithTheElevenBuiltInFonts) {
  EXPECT_EQ(store.lastIndex(), 10);
  EXPECT_STREQ(store.at(0)->faceName, "InternalMyungjo");
  EXPECT_STREQ(store.at(10)->faceName, "KSSMSpecial");
  EXPECT_EQ(store.at(11), nullptr);
  EXPECT_EQ(store.at(-1), nullptr);
}

TEST_F(FontStoreTest, SelectMatchesFaceAndKind) {
  char wrongKind[] = "InternalGothic";
  EXPECT_EQ(store.select(wrongKind, nullptr, kKindEnglish), nullptr);
  char lower[] = "internalgothic";
  EXPECT_EQ(store.select(lower, nullptr, kKindHangul), store.at(1));
  EXPECT_STREQ(lower, "INTERNALGOTHIC");  // the caller's string is upper-cased
  char english[] = "InternalET4000";
  EXPECT_EQ(store.select(english, nullptr, kKindEnglish), store.at(9));
  char none[] = "NoSuchFace";
  EXPECT_EQ(store.select(none, nullptr, kKindHangul), nullptr);
  EXPECT_EQ(store.select(nullptr, nullptr, kKindHangul), nullptr);
  EXPECT_EQ(store.at(1)->referenceCount, 1);  // built-in fonts are never counted
}

TEST_F(FontStoreTest, RegisteringTheSameModuleTwiceLeavesOneEntry) {
  auto& m = host.add("MYFONT.DLL", "MyFace");
  EXPECT_EQ(store.addModule("MYFONT.DLL"), 1);
  EXPECT_EQ(store.addModule("myfont.dll"), 1);
  EXPECT_EQ(store.lastIndex(), 11);
  EXPECT_EQ(m.header.referenceCount, 1);
  EXPECT_EQ(m.loads, 1);
  EXPECT_EQ(m.header.module, &m);
}

TEST_F(FontStoreTest, ModulesThatCannotBeUsedAreNotRegistered) {
  EXPECT_EQ(store.addModule("MISSING.DLL"), 0);
  EXPECT_EQ(store.addModule(nullptr), 0);
  auto& noExport = host.add("NOEXPORT.DLL", "A");
  noExport.exportsHeader = false;
  EXPECT_EQ(store.addModule("NOEXPORT.DLL"), 0);
  EXPECT_EQ(noExport.loads, 0);  // not left loaded
  auto& wrongName = host.add("RENAMED.DLL", "B");
  std::strcpy(wrongName.header.fileName, "OTHER.DLL");
  EXPECT_EQ(store.addModule("RENAMED.DLL"), 0);
  auto& unterminated = host.add("LONGFACE.DLL", "C");
  std::memset(unterminated.header.faceName, 'x', kNameBytes);
  EXPECT_EQ(store.addModule("LONGFACE.DLL"), 0);
  auto& badCell = host.add("BADCELL.DLL", "D");
  badCell.header.glyphBytes = 31;
  EXPECT_EQ(store.addModule("BADCELL.DLL"), 0);
  auto& badKind = host.add("BADKIND.DLL", "E");
  badKind.header.kind = 5;
  EXPECT_EQ(store.addModule("BADKIND.DLL"), 0);
  auto& tooFewSets = host.add("FEWSETS.DLL", "F");
  tooFewSets.header.initialSets = 7;  // table 1 needs 8
  EXPECT_EQ(store.addModule("FEWSETS.DLL"), 0);
  auto& noTable = host.add("NOTABLE.DLL", "G");
  noTable.header.composedFlag = 3;
  EXPECT_EQ(store.addModule("NOTABLE.DLL"), 0);
  auto& badDescription = host.add("BADDESC.DLL", "H");
  std::memset(badDescription.header.description, 'd', kDescriptionBytes);
  EXPECT_EQ(store.addModule("BADDESC.DLL"), 0);
  EXPECT_EQ(store.lastIndex(), 10);
  for (const char* f : {"RENAMED.DLL", "LONGFACE.DLL", "BADCELL.DLL", "BADKIND.DLL", "FEWSETS.DLL"}) {
    EXPECT_EQ(host.load(f) != nullptr, true);
  }
}

TEST_F(FontStoreTest, WrongStoredKeysAreRecomputed) {
  auto& m = host.add("KEYS.DLL", "Keys");
  m.header.faceNameKey = 12345;
  ASSERT_EQ(store.addModule("KEYS.DLL"), 1);
  char face[] = "keys";
  EXPECT_EQ(store.select(face, nullptr, kKindHangul), &m.header);
}

TEST_F(FontStoreTest, RemovingTheLastReferenceMovesLaterEntriesDown) {
  auto& a = host.add("A.DLL", "FaceA");
  auto& b = host.add("B.DLL", "FaceB");
  auto& c = host.add("C.DLL", "FaceC");
  ASSERT_EQ(store.addModule("A.DLL"), 1);
  ASSERT_EQ(store.addModule("B.DLL"), 1);
  ASSERT_EQ(store.addModule("C.DLL"), 1);
  EXPECT_EQ(store.dropReference("b.dll"), 1);
  EXPECT_EQ(store.lastIndex(), 12);
  EXPECT_EQ(store.at(11), &a.header);
  EXPECT_EQ(store.at(12), &c.header);
  EXPECT_EQ(b.loads, 0);
  EXPECT_EQ(store.findFile("C.DLL", 11), 12);
  EXPECT_EQ(store.findFile("B.DLL", 11), 13);  // last index + 1 when absent
}

TEST_F(FontStoreTest, DropReferenceChecksTheName) {
  EXPECT_EQ(store.dropReference(nullptr), 0);
  std::string tooLong(261, 'a');
  EXPECT_EQ(store.dropReference(tooLong.c_str()), 0);
  EXPECT_EQ(store.dropReference("NOTREGISTERED.DLL"), 1);
  EXPECT_EQ(store.dropReference("InternalGothic"), 1);  // built-in: nothing happens
  EXPECT_EQ(store.lastIndex(), 10);
}

TEST_F(FontStoreTest, SelectionsHoldTheModuleAndTheNextSelectReleasesIt) {
  auto& m = host.add("SEL.DLL", "SelFace");
  ASSERT_EQ(store.addModule("SEL.DLL"), 1);
  char face[] = "SelFace";
  FontHeader* first = store.select(face, nullptr, kKindHangul);
  ASSERT_EQ(first, &m.header);
  EXPECT_EQ(m.header.referenceCount, 2);
  EXPECT_EQ(m.loads, 2);
  // Removing the registration leaves the entry while the selection holds it.
  EXPECT_EQ(store.dropReference("SEL.DLL"), 1);
  EXPECT_EQ(store.lastIndex(), 11);
  EXPECT_EQ(m.loads, 1);
  // Selecting a built-in font releases the module's last reference.
  char gothic[] = "InternalGothic";
  EXPECT_EQ(store.select(gothic, first, kKindHangul), store.at(1));
  EXPECT_EQ(store.lastIndex(), 10);
  EXPECT_EQ(m.loads, 0);
}

TEST_F(FontStoreTest, SelectFailsWhenTheModuleCannotBeLoadedAgain) {
  host.add("GONE.DLL", "GoneFace");
  ASSERT_EQ(store.addModule("GONE.DLL"), 1);
  FontHeader* h = store.at(11);
  std::strcpy(h->fileName, "ELSEWHERE.DLL");  // the file can no longer be found
  h->fileNameKey = nameKey(h->fileName, kNameBytes);
  char face[] = "GoneFace";
  EXPECT_EQ(store.select(face, nullptr, kKindHangul), nullptr);
}

TEST_F(FontStoreTest, EnumerateVisitsInOrderAndStopsOnZero) {
  host.add("E.DLL", "EFace");
  ASSERT_EQ(store.addModule("E.DLL"), 1);
  struct Seen {
    std::vector<std::string> faces;
    int stopAfter;
  } seen{{}, 100};
  auto callback = [](void* context, FontHeader* h, intptr_t value, void* data) -> int {
    auto* s = static_cast<Seen*>(context);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(data, nullptr);
    s->faces.push_back(h->faceName);
    return static_cast<int>(s->faces.size()) < s->stopAfter ? 5 : 0;
  };
  EXPECT_EQ(store.enumerate(&seen, callback, 7, nullptr), 5);
  ASSERT_EQ(seen.faces.size(), 12u);
  EXPECT_EQ(seen.faces[0], "InternalMyungjo");
  EXPECT_EQ(seen.faces[11], "EFace");
  seen = {{}, 3};
  EXPECT_EQ(store.enumerate(&seen, callback, 7, nullptr), 0);
  EXPECT_EQ(seen.faces.size(), 3u);
}

TEST_F(FontStoreTest, CopiesCarryTheGlyphsAndNoNames) {
  char face[] = "internalgothic";
  FontHeader* copy = store.createCopy(face, 0);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(std::memcmp(copy->glyphs, store.at(1)->glyphs, 344 * 32), 0);
  EXPECT_NE(copy->glyphs, store.at(1)->glyphs);
  EXPECT_EQ(copy->faceName[0], 0);
  EXPECT_EQ(copy->fileName[0], 0);
  EXPECT_EQ(copy->faceNameKey, 0);
  EXPECT_EQ(copy->module, nullptr);
  EXPECT_EQ(store.findFace("", 0), 11);  // a copy is never found
  EXPECT_EQ(FontStore::deleteCopy(copy), 1);
}

TEST_F(FontStoreTest, CopyAppliesEffectsOnlyToTheCopy) {
  char face[] = "InternalMyungjo";
  FontHeader* copy = store.createCopy(face, kEffectUnderline);
  ASSERT_NE(copy, nullptr);
  for (int g = 0; g < 344; ++g) {
    EXPECT_EQ(copy->glyphs[g * 32 + 28], 0) << g;
    EXPECT_EQ(copy->glyphs[g * 32 + 29], 0) << g;
  }
  EXPECT_NE(store.at(0)->glyphs[28], 0);
  FontStore::deleteCopy(copy);
}

TEST_F(FontStoreTest, CopyOfAnEnglishOrSymbolFontHasAnEmptyBlock) {
  char english[] = "InternalRoman";
  FontHeader* copy = store.createCopy(english, 0);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(setGlyphCount(*copy), 0);
  EXPECT_NE(copy->glyphs, nullptr);
  EXPECT_EQ(FontStore::deleteCopy(copy), 1);
  char none[] = "NoSuchFace";
  EXPECT_EQ(store.createCopy(none, 0), nullptr);
  EXPECT_EQ(store.createCopy(nullptr, 0), nullptr);
}

TEST_F(FontStoreTest, DeleteCopyRefusesNulls) {
  EXPECT_EQ(FontStore::deleteCopy(nullptr), 0);
  FontHeader h{};
  EXPECT_EQ(FontStore::deleteCopy(&h), 0);
}

TEST_F(FontStoreTest, UnloadAllReleasesEveryReferenceAndKeepsTheBuiltIns) {
  auto& m = host.add("U.DLL", "UFace");
  ASSERT_EQ(store.addModule("U.DLL"), 1);
  char face[] = "UFace";
  ASSERT_NE(store.select(face, nullptr, kKindHangul), nullptr);
  ASSERT_NE(store.select(face, nullptr, kKindHangul), nullptr);
  EXPECT_EQ(m.loads, 3);
  store.unloadAll();
  EXPECT_EQ(m.loads, 0);
  EXPECT_EQ(store.lastIndex(), 10);
  char gothic[] = "InternalGothic";
  EXPECT_EQ(store.select(gothic, nullptr, kKindHangul), store.at(1));
}

TEST_F(FontStoreTest, ModuleFilesListsOnlyModules) {
  host.add("ONE.DLL", "One");
  host.add("TWO.DLL", "Two", kKindEnglish);
  ASSERT_EQ(store.addModule("ONE.DLL"), 1);
  ASSERT_EQ(store.addModule("TWO.DLL"), 1);
  EXPECT_EQ(store.moduleFiles(), (std::vector<std::string>{"ONE.DLL", "TWO.DLL"}));
}

}  // namespace
}  // namespace kesta::fonts
