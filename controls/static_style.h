// What a "HCTLStatic" draws, decoded from its window style.
#pragma once

#include <cstdint>

namespace kesta::controls {

enum class StaticKind { Icon, Bitmap, PlainText, EtchedFrame, FilledRect, Text };
enum class FillColour { WindowFrame, Desktop, Window, LightGrey };
enum class TextRelief { Flat, Raised, Sunken };

// DrawText format bits (the Windows values).
inline constexpr uint32_t kDtCenter = 0x1, kDtRight = 0x2, kDtVCenter = 0x4, kDtWordBreak = 0x10,
                          kDtSingleLine = 0x20, kDtNoPrefix = 0x800;
inline constexpr uint32_t kStaticClipped = 0x4000;  // plain text drawn clipped to the client area

struct StaticLook {
  StaticKind kind = StaticKind::Text;
  // FilledRect
  FillColour fill = FillColour::LightGrey;
  bool sunkenFrame = false;  // the ...2 forms; the ...3 forms are a panel with a frame
  // PlainText
  bool clipped = false;
  // Text
  uint32_t format = 0;
  TextRelief relief = TextRelief::Flat;
};

StaticLook decodeStaticStyle(uint32_t style);

}  // namespace kesta::controls
