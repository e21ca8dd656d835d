// The page store: a list of page bitmaps that together form one tape of
// screen lines. The window shows the last 28 (or 24) lines of the tape; the
// passed-screen view walks back through it. Pages are trimmed to 9 unless a
// scroll region keeps every page; lines that leave a scroll region at its
// top are gathered in a chain of history pages before the current page.
#pragma once

#include "app/session/draw_target.h"

namespace kesta::session {

class PageStore {
 public:
  static constexpr int kKeptPages = 9;
  // Even while a scroll region keeps every page, the store never holds more
  // than this many: a host scrolling a region for ever must not exhaust memory.
  static constexpr int kMaxPages = 64;

  struct Node {
    Node* previous = nullptr;
    Node* next = nullptr;
    PageId page = 0;
    bool hasPage = false;  // head and tail carry none
  };

  explicit PageStore(DrawTarget& target);
  ~PageStore();
  PageStore(const PageStore&) = delete;
  PageStore& operator=(const PageStore&) = delete;

  // Frees every page and starts again with one page of `background`.
  void initialise(Colour background);
  // Creates a page filled with `background`, links it before `before`, makes
  // it current and counts it; without keepAll the oldest pages are freed
  // until 9 remain.
  Node* appendPage(Node* before, Colour background, bool keepAll);
  void freeOldestPage();
  void freeAllPages();

  // Move the current page one page back or forward (never onto the head or
  // the tail) and return it. The passed-screen view uses a PageCursor
  // instead, which leaves the current page alone.
  Node* previousPage();
  Node* nextPage();

  Node* current() const { return current_; }
  Node* head() { return &head_; }
  Node* tail() { return &tail_; }
  int count() const { return count_; }
  DrawTarget& target() const { return target_; }
  PageId currentPage() const { return current_ ? current_->page : 0; }

  // Copies the pages to the window for the display offset (0 to 27).
  void repaint(int displayOffset, bool chatMode);

  // Feeds the region's top row of the current page (0-based `regionTopRow`)
  // into the history chain; `background` blanks the rows that scroll.
  void feedRegionHistory(int regionTopRow, Colour background);
  // The region was cancelled: the chain is forgotten.
  void forgetRegionHistory();
  Node* regionHistory() const { return history_; }
  int regionHistoryLines() const { return historyLines_; }

 private:
  void unlink(Node* node);
  void makeRoom(Node* keep);
  void scrollChainFrom(Node* first, int regionTopRow, Colour background);

  DrawTarget& target_;
  Node head_;
  Node tail_;
  Node* current_ = nullptr;
  int count_ = 0;
  Node* history_ = nullptr;
  int historyLines_ = 0;
};

}  // namespace kesta::session
