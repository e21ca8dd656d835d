#include "app/session/page_cursor.h"

#include <algorithm>

namespace kesta::session {

void PageCursor::open(int displayOffset, bool chatMode) {
  pages_.clear();
  int currentIndex = -1;
  for (PageStore::Node* node = store_.head()->next; node != nullptr && node != store_.tail(); node = node->next) {
    if (!node->hasPage) continue;
    if (node == store_.current()) currentIndex = static_cast<int>(pages_.size());
    pages_.push_back(node->page);
  }
  rows_ = chatMode ? kChatRows : kRows;
  if (currentIndex < 0) {  // no page at all
    top_ = newest_ = oldest_ = 0;
    return;
  }
  // The top line the repaint shows for this offset: with an offset the
  // window starts inside the previous page, except in chat mode for the
  // offsets 1 to 4, whose 24 rows still fit in the current page.
  int c = std::clamp(displayOffset, 0, kRows - 1);
  int pageStart = currentIndex * kRows;
  bool withinCurrent = c == 0 || (chatMode && kRows - c >= kChatRows);
  newest_ = withinCurrent ? pageStart + c : pageStart - kRows + c;
  oldest_ = std::min(0, newest_);
  top_ = newest_;
}

bool PageCursor::move(int lines) {
  int target = std::clamp(top_ + lines, oldest_, newest_);
  if (target == top_) return false;
  top_ = target;
  return true;
}

void PageCursor::show() const {
  int windowRow = 0;
  while (windowRow < rows_) {
    int line = top_ + windowRow;
    if (line < 0) {  // before the oldest page: left as it is
      windowRow = std::min(rows_, windowRow - line);
      continue;
    }
    std::size_t index = static_cast<std::size_t>(line / kRows);
    if (index >= pages_.size()) break;
    int pageRow = line % kRows;
    int count = std::min(kRows - pageRow, rows_ - windowRow);
    store_.target().showPageRows(pages_[index], pageRow, count, windowRow);
    windowRow += count;
  }
}

}  // namespace kesta::session
