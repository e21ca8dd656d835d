#include "app/shell/input/virtual_keys.h"

namespace kesta::shell {

KeyRoute routeKeyDown(int virtualKey, bool viewOpen, bool chatOpen) {
  switch (virtualKey) {
    case kVirtualKeyPageUp:
    case kVirtualKeyPageDown:
      return viewOpen ? KeyRoute::PassedScreenView : KeyRoute::None;
    case kVirtualKeyUp:
    case kVirtualKeyDown:
      if (viewOpen) return KeyRoute::PassedScreenView;
      return chatOpen ? KeyRoute::ChatLine : KeyRoute::None;
    case kVirtualKeyHome:
    case kVirtualKeyEnd:
    case kVirtualKeyLeft:
    case kVirtualKeyRight:
    case kVirtualKeyDelete:
      return chatOpen ? KeyRoute::ChatLine : KeyRoute::None;
    default:
      return KeyRoute::None;
  }
}

}  // namespace kesta::shell
