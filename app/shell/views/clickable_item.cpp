#include "app/shell/views/clickable_item.h"

#include "app/shell/views/grid_characters.h"

namespace kesta::shell {

namespace {

struct RowBytes {
  std::string_view row;
  int hostCode;
  int size() const { return static_cast<int>(row.size()); }
  // The byte at `column` when it is a one-byte character, else 0.
  char single(int column) const {
    if (column < 0 || column >= size()) return '\0';
    return byteKindAt(row, column, hostCode) == ByteKind::Single ? row[column] : '\0';
  }
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isCapital(char c) { return c >= 'A' && c <= 'Z'; }

std::string digitRun(const RowBytes& bytes, int column) {
  int first = column;
  int last = column;
  while (isDigit(bytes.single(first - 1))) --first;
  while (isDigit(bytes.single(last + 1))) ++last;
  return std::string(bytes.row.substr(first, last - first + 1));
}

// The item between the nearest ',' or '(' on the left and ',' or ')' on the
// right of `column`, bounded by the row.
std::optional<std::string> letterItem(const RowBytes& bytes, int column) {
  int first = column;
  while (first > 0 && bytes.single(first - 1) != ',' && bytes.single(first - 1) != '(') --first;
  int end = column + 1;
  while (end < bytes.size() && bytes.single(end) != ',' && bytes.single(end) != ')') ++end;
  const std::string_view item = bytes.row.substr(first, end - first);
  if (item.size() == 1) return std::string(item);
  // A longer item is a word only when delimited on both sides...
  const char left = bytes.single(first - 1);
  const char right = bytes.single(end);
  if ((left != '(' && left != ',') || (right != ')' && right != ',')) return std::nullopt;
  // ...and made of capitals only, each a character of its own.
  for (int c = first; c < end; ++c) {
    if (!isCapital(bytes.single(c))) return std::nullopt;
  }
  return std::string(item);
}

}  // namespace

std::optional<std::string> clickableItem(std::string_view row, int column, int hostCode) {
  const RowBytes bytes{row, hostCode};
  const char clicked = bytes.single(column);
  if (isDigit(clicked)) return digitRun(bytes, column);
  if (isCapital(clicked)) return letterItem(bytes, column);
  return std::nullopt;
}

}  // namespace kesta::shell
