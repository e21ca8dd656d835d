#include <gtest/gtest.h>

#include "controls/dialog_template.h"

namespace kesta::controls {
namespace {

uint16_t word(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t dword(const std::vector<uint8_t>& b, size_t at) { return word(b, at) | uint32_t{word(b, at + 2)} << 16; }

TEST(DialogTemplate, PixelsToDialogUnitsTruncate) {
  struct Row {
    unsigned baseX, baseY;
    int px, py;
    uint16_t ux, uy;
  };
  const Row rows[] = {{8, 16, 0, 0, 0, 0},     {8, 16, 8, 16, 4, 8},      {8, 16, 7, 15, 3, 7},
                      {6, 13, 100, 100, 66, 61}, {9, 18, 221, 49, 98, 21}, {8, 16, 65535, 0, 32767, 0}};
  for (const Row& r : rows) {
    BaseUnits u{r.baseX, r.baseY};
    EXPECT_EQ(u.toUnitsX(r.px), r.ux) << r.px;
    EXPECT_EQ(u.toUnitsY(r.py), r.uy) << r.py;
  }
}

TEST(DialogTemplate, HeaderLayoutAndPadding) {
  struct Row {
    std::u16string menu, cls, caption;
    size_t size;
  };
  // 18 fixed bytes + 2 per character and terminator, padded to 4.
  const Row rows[] = {{u"", u"", u"", 24},          {u"", u"HCTLDLG", u"", 40},
                      {u"", u"HCTLDLG", u"Error", 48}, {u"M", u"C", u"T", 32},
                      {u"", u"", u"A", 28},          {u"", u"", u"AB", 28}};
  for (const Row& r : rows) {
    const auto b = dialogHeader(0x80C80080, 0x8, {10, 20, 80, 160}, BaseUnits{8, 16}, r.menu, r.cls, r.caption);
    EXPECT_EQ(b.size(), r.size);
    EXPECT_EQ(b.size() % 4, 0u);
    EXPECT_EQ(dword(b, 0), 0x80C80080u);
    EXPECT_EQ(dword(b, 4), 8u);
    EXPECT_EQ(word(b, 8), 0);
    EXPECT_EQ(word(b, 10), 5);
    EXPECT_EQ(word(b, 12), 10);
    EXPECT_EQ(word(b, 14), 40);
    EXPECT_EQ(word(b, 16), 80);
    size_t at = 18;
    for (const std::u16string* s : {&r.menu, &r.cls, &r.caption}) {
      for (char16_t c : *s) {
        EXPECT_EQ(word(b, at), c);
        at += 2;
      }
      EXPECT_EQ(word(b, at), 0);
      at += 2;
    }
  }
}

TEST(DialogTemplate, ItemsStayOnFourByteBoundariesAndCount) {
  auto t = dialogHeader(0, 0, {}, BaseUnits{}, u"", u"", u"Cap");
  const std::u16string texts[] = {u"", u"A", u"AB", u"ABC", u"\xD558"};
  for (int i = 0; i < 5; ++i) {
    const size_t at = t.size();
    EXPECT_EQ(at % 4, 0u);
    const auto item = dialogItem(static_cast<uint16_t>(0xE031 + i), 0x40010000, 0, {8, 16, 16, 32}, BaseUnits{},
                                 u"HCTLButton", texts[i]);
    EXPECT_EQ(item.size() % 4, 0u);
    EXPECT_EQ(dword(item, 0), 0x50010000u) << "WS_VISIBLE added";
    EXPECT_EQ(word(item, 8), 4);
    EXPECT_EQ(word(item, 10), 8);
    EXPECT_EQ(word(item, 16), 0xE031 + i);
    EXPECT_EQ(word(item, 18), u'H');
    const size_t textAt = 18 + 2 * 11;
    for (size_t k = 0; k < texts[i].size(); ++k) EXPECT_EQ(word(item, textAt + 2 * k), texts[i][k]);
    EXPECT_EQ(word(item, textAt + 2 * texts[i].size()), 0);
    EXPECT_EQ(word(item, textAt + 2 * texts[i].size() + 2), 0) << "no creation data";
    t.insert(t.end(), item.begin(), item.end());
    uint16_t count = 0;
    ASSERT_TRUE(templateItemCount(t, &count));
    ASSERT_TRUE(setTemplateItemCount(t, static_cast<uint16_t>(count + 1)));
  }
  uint16_t count = 0;
  ASSERT_TRUE(templateItemCount(t, &count));
  EXPECT_EQ(count, 5);
  ASSERT_TRUE(setTemplateSize(t, 300, 200));
  EXPECT_EQ(word(t, 14), 300);
  EXPECT_EQ(word(t, 16), 200);
}

TEST(DialogTemplate, NamesEndAtTheirFirstNulAndShortTemplatesAreRefused) {
  const auto b = dialogHeader(0, 0, {}, BaseUnits{}, u"", std::u16string_view(u"AB\0CD", 5), u"");
  EXPECT_EQ(b.size(), 28u);  // 18 + 2 + 6 + 2
  std::vector<uint8_t> shortOne(17);
  uint16_t count = 0;
  EXPECT_FALSE(templateItemCount(shortOne, &count));
  EXPECT_FALSE(setTemplateItemCount(shortOne, 1));
  EXPECT_FALSE(setTemplateSize(shortOne, 1, 1));
}

}  // namespace
}  // namespace kesta::controls
