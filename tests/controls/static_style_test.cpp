#include <gtest/gtest.h>

#include "controls/static_style.h"

namespace kesta::controls {
namespace {

TEST(StaticStyle, Kinds) {
  struct Row {
    uint32_t style;
    StaticKind kind;
  };
  const Row rows[] = {{0x1, StaticKind::Icon},         {0x40000004, StaticKind::Bitmap},
                      {0x7, StaticKind::PlainText},     {0x4007, StaticKind::PlainText},
                      {0x40000018, StaticKind::EtchedFrame}, {0x9, StaticKind::EtchedFrame},
                      {0x4002D013, StaticKind::FilledRect},  {0xA002, StaticKind::FilledRect},
                      {0x0, StaticKind::Text},          {0x40000000, StaticKind::Text},
                      {0x5, StaticKind::Text},          {0x6, StaticKind::Text},
                      {0xD002, StaticKind::Text},       {0xE003, StaticKind::Text},
                      {0x2, StaticKind::Text},          {0xA00F, StaticKind::Text}};
  for (const Row& r : rows) EXPECT_EQ(decodeStaticStyle(r.style).kind, r.kind) << std::hex << r.style;
}

TEST(StaticStyle, FilledRectangles) {
  struct Row {
    uint32_t style;
    FillColour fill;
    bool sunken;
  };
  const Row rows[] = {{0xA002, FillColour::WindowFrame, true}, {0xA003, FillColour::WindowFrame, false},
                      {0xB002, FillColour::Desktop, true},     {0xB003, FillColour::Desktop, false},
                      {0xC002, FillColour::Window, true},      {0xC003, FillColour::Window, false},
                      {0xD003, FillColour::LightGrey, false},  {0x4002D013, FillColour::LightGrey, false},
                      {0x5001C0F2, FillColour::Window, true}};
  for (const Row& r : rows) {
    const StaticLook look = decodeStaticStyle(r.style);
    EXPECT_EQ(look.kind, StaticKind::FilledRect) << std::hex << r.style;
    EXPECT_EQ(look.fill, r.fill) << std::hex << r.style;
    EXPECT_EQ(look.sunkenFrame, r.sunken) << std::hex << r.style;
  }
}

TEST(StaticStyle, TextFormats) {
  struct Row {
    uint32_t style;
    uint32_t format;
    TextRelief relief;
  };
  const Row rows[] = {
      {0x0000, kDtVCenter | kDtWordBreak, TextRelief::Flat},
      {0x0100, kDtVCenter | kDtWordBreak | kDtCenter, TextRelief::Flat},
      {0x0200, kDtVCenter | kDtWordBreak | kDtRight, TextRelief::Flat},
      {0x1000, kDtVCenter | kDtSingleLine, TextRelief::Flat},
      {0x1100, kDtVCenter | kDtSingleLine | kDtCenter, TextRelief::Flat},
      {0x2000, kDtVCenter, TextRelief::Flat},
      {0x4000, kDtVCenter | kDtWordBreak | kDtNoPrefix, TextRelief::Flat},
      {0x6205, kDtVCenter | kDtRight | kDtNoPrefix, TextRelief::Raised},
      {0x0006, kDtVCenter | kDtWordBreak, TextRelief::Sunken},
  };
  for (const Row& r : rows) {
    const StaticLook look = decodeStaticStyle(r.style);
    ASSERT_EQ(look.kind, StaticKind::Text) << std::hex << r.style;
    EXPECT_EQ(look.format, r.format) << std::hex << r.style;
    EXPECT_EQ(look.relief, r.relief) << std::hex << r.style;
  }
  EXPECT_TRUE(decodeStaticStyle(0x4007).clipped);
  EXPECT_FALSE(decodeStaticStyle(0x0007).clipped);
}

}  // namespace
}  // namespace kesta::controls
