// The passed-screen view: the window shows older lines of the page store
// while reception is held. It walks its own cursor over the pages, so the
// store's current page and the display offset never move and closing it
// (the view command again, or Escape) is a repaint of the live picture.
#pragma once

#include <optional>

#include "app/session/page_cursor.h"
#include "app/session/page_store.h"
#include "app/shell/views/reception_holds.h"

namespace kesta::shell {

enum class ViewKey { PageUp, PageDown, LineUp, LineDown };

// The view's key for a virtual key (PgUp, PgDn, Up, Down), if any.
std::optional<ViewKey> viewKeyFor(int virtualKey);

class PassedScreenView {
 public:
  PassedScreenView(session::PageStore& store, ReceptionHolds& holds) : store_(store), cursor_(store), holds_(holds) {}

  // Opens at what the window shows now: holds reception and draws nothing
  // new, the picture being the live one.
  void open(int displayOffset, bool chatMode);
  // Moves (28 lines a page, 24 with the chat window) and redraws the rows.
  // Returns false when the view is closed.
  bool key(ViewKey key);
  // Redraws the live picture at the offset kept on opening and lets
  // reception go on.
  void close();

  // The view's page drawn again where it stands (the window was repainted).
  void repaint() {
    if (open_) cursor_.show();
  }

  bool isOpen() const { return open_; }
  const session::PageCursor& cursor() const { return cursor_; }

 private:
  session::PageStore& store_;
  session::PageCursor cursor_;
  ReceptionHolds& holds_;
  bool open_ = false;
  int displayOffset_ = 0;
  bool chatMode_ = false;
};

}  // namespace kesta::shell
