// The passed-screen view's own position on the tape of pages. It walks back
// and forth by lines over the pages the store holds without moving the
// store's current page or the interpreter's display offset, so closing the
// view needs nothing restored. The store must not change while a cursor is
// open (reception is paused while the view is shown).
#pragma once

#include <vector>

#include "app/session/page_store.h"
#include "app/session/terminal_types.h"

namespace kesta::session {

class PageCursor {
 public:
  explicit PageCursor(PageStore& store) : store_(store) {}

  // Starts at what the window shows now: the store's current page seen at
  // `displayOffset`, 28 rows or 24 with the chat window.
  void open(int displayOffset, bool chatMode);

  // Moves by `lines` (negative toward older text), never before the oldest
  // line the store holds nor beyond what the window showed when opened.
  // Returns whether it moved.
  bool move(int lines);
  bool lineUp() { return move(-1); }
  bool lineDown() { return move(1); }
  bool pageUp() { return move(-rows_); }
  bool pageDown() { return move(rows_); }

  // Copies the lines at the cursor to the window (window rows 0 to rows - 1).
  void show() const;

  // Line numbers on the tape: line 0 is row 0 of the oldest page.
  int topLine() const { return top_; }
  int newestTopLine() const { return newest_; }
  int oldestTopLine() const { return oldest_; }
  int rows() const { return rows_; }

 private:
  PageStore& store_;
  std::vector<PageId> pages_;  // oldest first
  int top_ = 0;
  int newest_ = 0;
  int oldest_ = 0;
  int rows_ = kRows;
};

}  // namespace kesta::session
