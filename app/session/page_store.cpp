#include "app/session/page_store.h"

namespace kesta::session {

PageStore::PageStore(DrawTarget& target) : target_(target) {
  head_.next = &tail_;
  tail_.previous = &head_;
  tail_.next = &tail_;  // the tail's next is itself
}

PageStore::~PageStore() { freeAllPages(); }

void PageStore::initialise(Colour background) {
  freeAllPages();
  appendPage(&tail_, background, false);
}

PageStore::Node* PageStore::appendPage(Node* before, Colour background, bool keepAll) {
  if (before == nullptr || before == &head_) before = &tail_;
  if (keepAll) makeRoom(before);
  Node* node = new Node;
  node->page = target_.createPage(background);
  node->hasPage = true;
  node->previous = before->previous;
  node->next = before;
  before->previous->next = node;
  before->previous = node;
  current_ = node;
  ++count_;
  while (!keepAll && count_ > kKeptPages && head_.next != node) freeOldestPage();
  return node;
}

// Frees the oldest pages (never the current page nor `keep`) until one more
// page fits under kMaxPages. A freed history page passes the chain's start
// to the page after it, which is full.
void PageStore::makeRoom(Node* keep) {
  while (count_ >= kMaxPages) {
    Node* oldest = head_.next;
    if (oldest == &tail_ || oldest == current_ || oldest == keep) return;
    if (oldest == history_) {
      Node* next = oldest->next;
      history_ = (next != current_ && next != &tail_) ? next : nullptr;
      historyLines_ = history_ ? kRows : 0;
    }
    freeOldestPage();
  }
}

void PageStore::unlink(Node* node) {
  node->previous->next = node->next;
  node->next->previous = node->previous;
  if (node->hasPage) target_.freePage(node->page);
  if (current_ == node) current_ = node->next != &tail_ ? node->next : (node->previous != &head_ ? node->previous : nullptr);
  if (history_ == node) {
    history_ = nullptr;
    historyLines_ = 0;
  }
  delete node;
  --count_;
}

void PageStore::freeOldestPage() {
  if (head_.next != &tail_) unlink(head_.next);
}

void PageStore::freeAllPages() {
  while (head_.next != &tail_) unlink(head_.next);
  current_ = nullptr;
}

PageStore::Node* PageStore::previousPage() {
  if (current_ && current_->previous != &head_) current_ = current_->previous;
  return current_;
}

PageStore::Node* PageStore::nextPage() {
  if (current_ && current_->next != &tail_) current_ = current_->next;
  return current_;
}

void PageStore::repaint(int displayOffset, bool chatMode) {
  if (current_ == nullptr) return;
  int c = displayOffset < 0 ? 0 : (displayOffset > kRows - 1 ? kRows - 1 : displayOffset);
  Node* previous = current_->previous;
  bool havePrevious = previous != &head_ && previous->hasPage;
  PageId now = current_->page;
  if (!chatMode) {
    if (c == 0) {
      target_.showPageRows(now, 0, kRows, 0);
      return;
    }
    if (havePrevious) target_.showPageRows(previous->page, c, kRows - c, 0);
    target_.showPageRows(now, 0, c, kRows - c);
    return;
  }
  if (c == 0) {
    target_.showPageRows(now, 0, kChatRows, 0);
  } else if (kRows - c < kChatRows) {
    if (havePrevious) target_.showPageRows(previous->page, c, kRows - c, 0);
    target_.showPageRows(now, 0, c - (kRows - kChatRows), kRows - c);
  } else {
    target_.showPageRows(now, c, kChatRows, 0);
  }
}

// Every page from `first` up to the current one scrolls up by one row and
// takes into its bottom row the top row of the page after it, or for the
// page just before the current one, the region's top row.
void PageStore::scrollChainFrom(Node* first, int regionTopRow, Colour background) {
  for (Node* node = first; node != current_ && node != &tail_; node = node->next) {
    target_.scrollPageUp(node->page);
    target_.blankPageRow(node->page, kRows - 1, background);
    if (node->next == current_) {
      target_.copyPageRow(current_->page, regionTopRow, node->page, kRows - 1);
    } else {
      target_.copyPageRow(node->next->page, 0, node->page, kRows - 1);
    }
  }
}

void PageStore::feedRegionHistory(int regionTopRow, Colour background) {
  if (current_ == nullptr || regionTopRow < 0 || regionTopRow >= kRows) return;
  Node* now = current_;
  if (history_ == nullptr) {
    Node* page = appendPage(now, background, true);
    current_ = now;
    history_ = page;
    historyLines_ = 1;
    target_.copyPageRow(now->page, regionTopRow, page->page, kRows - 1);
    return;
  }
  if (historyLines_ < kRows) {
    ++historyLines_;
    scrollChainFrom(history_, regionTopRow, background);
    return;
  }
  makeRoom(now);  // may hand the chain's start to the next page
  if (history_ == nullptr) {
    Node* page = appendPage(now, background, true);
    current_ = now;
    history_ = page;
    historyLines_ = 1;
    target_.copyPageRow(now->page, regionTopRow, page->page, kRows - 1);
    return;
  }
  Node* page = appendPage(history_, background, true);
  current_ = now;
  history_ = page;
  target_.copyPageRow(page->next->page, 0, page->page, kRows - 1);
  scrollChainFrom(page->next, regionTopRow, background);
  historyLines_ = 1;
}

void PageStore::forgetRegionHistory() {
  history_ = nullptr;
  historyLines_ = 0;
}

}  // namespace kesta::session
