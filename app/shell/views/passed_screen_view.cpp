#include "app/shell/views/passed_screen_view.h"

#include "app/shell/input/virtual_keys.h"

namespace kesta::shell {

std::optional<ViewKey> viewKeyFor(int virtualKey) {
  switch (virtualKey) {
    case kVirtualKeyPageUp:
      return ViewKey::PageUp;
    case kVirtualKeyPageDown:
      return ViewKey::PageDown;
    case kVirtualKeyUp:
      return ViewKey::LineUp;
    case kVirtualKeyDown:
      return ViewKey::LineDown;
    default:
      return std::nullopt;
  }
}

void PassedScreenView::open(int displayOffset, bool chatMode) {
  if (open_) return;
  displayOffset_ = displayOffset;
  chatMode_ = chatMode;
  cursor_.open(displayOffset, chatMode);
  holds_.hold(ReceptionHolder::PassedScreenView);
  open_ = true;
}

bool PassedScreenView::key(ViewKey key) {
  if (!open_) return false;
  switch (key) {
    case ViewKey::PageUp:
      cursor_.pageUp();
      break;
    case ViewKey::PageDown:
      cursor_.pageDown();
      break;
    case ViewKey::LineUp:
      cursor_.lineUp();
      break;
    case ViewKey::LineDown:
      cursor_.lineDown();
      break;
  }
  cursor_.show();
  return true;
}

void PassedScreenView::close() {
  if (!open_) return;
  open_ = false;
  store_.repaint(displayOffset_, chatMode_);
  holds_.release(ReceptionHolder::PassedScreenView);
}

}  // namespace kesta::shell
