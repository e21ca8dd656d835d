#include "controls/static_style.h"

namespace kesta::controls {

StaticLook decodeStaticStyle(uint32_t style) {
  StaticLook look;
  const uint32_t kind = style & 0xF;
  switch (kind) {
    case 1: look.kind = StaticKind::Icon; return look;
    case 4: look.kind = StaticKind::Bitmap; return look;
    case 7:
      look.kind = StaticKind::PlainText;
      look.clipped = (style & kStaticClipped) != 0;
      return look;
    case 8:
    case 9: look.kind = StaticKind::EtchedFrame; return look;
    default: break;
  }
  switch (style & 0xF00F) {
    case 0xA002: case 0xA003: look.fill = FillColour::WindowFrame; break;
    case 0xB002: case 0xB003: look.fill = FillColour::Desktop; break;
    case 0xC002: case 0xC003: look.fill = FillColour::Window; break;
    case 0xD003: look.fill = FillColour::LightGrey; break;
    default: {
      look.kind = StaticKind::Text;
      const uint32_t bits = (style >> 8) & 0xFF;
      uint32_t format = kDtVCenter;
      if ((bits & 0xF) == 1) format |= kDtCenter;
      else if ((bits & 0xF) == 2) format |= kDtRight;
      if (bits & 0x10) format |= kDtSingleLine;
      if (bits & 0x40) format |= kDtNoPrefix;
      if (!(bits & 0x20) && !(bits & 0x10)) format |= kDtWordBreak;
      look.format = format;
      look.relief = kind == 5 ? TextRelief::Raised : kind == 6 ? TextRelief::Sunken : TextRelief::Flat;
      return look;
    }
  }
  look.kind = StaticKind::FilledRect;
  look.sunkenFrame = (style & 0xF) == 2;
  return look;
}

}  // namespace kesta::controls
