#include "app/shell/views/chat_ring.h"

#include <algorithm>
#include <cstring>

#include "app/session/is_hangul.h"

namespace kesta::shell {

std::string_view ChatRing::line(int index) const {
  const Line& l = lines_[offset(index, 0)];
  return std::string_view(l.data(), strnlen(l.data(), kTextLimit));
}

std::array<std::string_view, 3> ChatRing::shownLines() const {
  return {line(offset(current_, -1)), current(), line(offset(current_, 1))};
}

bool ChatRing::twoByteAt(int column) const {
  const std::string_view text = current();
  if (column < 0 || column + 1 >= static_cast<int>(text.size())) return false;
  return session::IsHangul(text.data(), text.size(), static_cast<std::size_t>(column)) == 1;
}

int ChatRing::boundaryAtOrBefore(int column) const {
  const std::string_view text = current();
  column = std::clamp(column, 0, static_cast<int>(text.size()));
  if (column < static_cast<int>(text.size()) &&
      session::IsHangul(text.data(), text.size(), static_cast<std::size_t>(column)) == 2) {
    return column - 1;
  }
  return column;
}

int ChatRing::characterBefore(int column) const {
  column = boundaryAtOrBefore(column);
  if (column <= 0) return 0;
  return boundaryAtOrBefore(column - 1);
}

bool ChatRing::insertAt(int column, int count) {
  const int length = end();
  column = std::clamp(column, 0, length);
  if (count <= 0 || column + count > kTextLimit) return false;
  Line& l = currentLine();
  const int kept = std::min(length, kTextLimit - count) - column;  // bytes after `column` that still fit
  std::memmove(l.data() + column + count, l.data() + column, static_cast<std::size_t>(std::max(kept, 0)));
  std::memset(l.data() + column, ' ', static_cast<std::size_t>(count));
  int newLength = column + count + std::max(kept, 0);
  std::fill(l.begin() + newLength, l.end(), '\0');
  // The cut may have taken the second byte of the last character.
  if (newLength > 0 && session::IsHangul(l.data(), static_cast<std::size_t>(newLength),
                                         static_cast<std::size_t>(newLength - 1)) == 1) {
    l[newLength - 1] = '\0';
  }
  return true;
}

void ChatRing::deleteAt(int column, int count) {
  const int length = end();
  if (column < 0 || column >= length || count <= 0) return;
  count = std::min(count, length - column);
  Line& l = currentLine();
  std::memmove(l.data() + column, l.data() + column + count, static_cast<std::size_t>(length - column - count));
  std::fill(l.begin() + (length - count), l.end(), '\0');
}

bool ChatRing::writeAt(int column, std::string_view bytes) {
  if (column < 0 || column > end() || column + static_cast<int>(bytes.size()) > kTextLimit) return false;
  std::memcpy(currentLine().data() + column, bytes.data(), bytes.size());
  return true;
}

void ChatRing::cutAt(int column) {
  if (column < 0 || column >= end()) return;
  std::fill(currentLine().begin() + column, currentLine().end(), '\0');
}

void ChatRing::rotateAfterSending() {
  // Relative to the current index the lines move from k to k - 1 (k = 2..19),
  // the current line (k = 0) goes to k = 19 and the line at k = 1 is dropped.
  const Line sent = lines_[current_];
  for (int k = 1; k < kLines - 1; ++k) lines_[offset(current_, k)] = lines_[offset(current_, k + 1)];
  lines_[offset(current_, -1)] = sent;
  lines_[current_].fill('\0');
}

}  // namespace kesta::shell
