// The chat window's lines: a ring of 20 lines of 80 bytes in the internal
// code, each holding at most 79 bytes of text and its NUL, with the index of
// the current line. Sending a line rotates the ring so that Up walks back
// through what was sent, newest first. Two-byte characters are found by
// walking a line from its start, never by looking at one byte.
#pragma once

#include <array>
#include <string_view>

namespace kesta::shell {

class ChatRing {
 public:
  static constexpr int kLines = 20;
  static constexpr int kLineBytes = 80;
  static constexpr int kTextLimit = kLineBytes - 1;  // the NUL always fits

  int currentIndex() const { return current_; }
  std::string_view line(int index) const;
  std::string_view current() const { return line(current_); }
  // The chat rows: the line before the current one, the current line and
  // the line after it.
  std::array<std::string_view, 3> shownLines() const;

  // The length of the current line (its first NUL, at most 79).
  int end() const { return static_cast<int>(current().size()); }
  // Whether a two-byte character of the current line starts at `column`.
  bool twoByteAt(int column) const;
  // Where the character just before `column` starts (0 at the start).
  int characterBefore(int column) const;

  // Opens `count` spaces at `column` (at most the line's end), moving the
  // rest right. The line never grows past 79 bytes: what is pushed beyond
  // is dropped, a two-byte character that would be split with it. Returns
  // false, changing nothing, when the spaces themselves do not fit.
  bool insertAt(int column, int count);
  // Removes `count` bytes at `column` (no more than the line holds).
  void deleteAt(int column, int count);
  // Overwrites bytes from `column` (at most the end), lengthening the line
  // when they pass its end; false, changing nothing, when they do not fit.
  bool writeAt(int column, std::string_view bytes);
  // Ends the current line at `column`.
  void cutAt(int column);

  void previousLine() { current_ = (current_ + kLines - 1) % kLines; }
  void nextLine() { current_ = (current_ + 1) % kLines; }
  // After the current line was sent: it moves to the index before the
  // current one, every other line one index on toward the current one, the
  // line after the current index is dropped and the current line is empty.
  void rotateAfterSending();

 private:
  using Line = std::array<char, kLineBytes>;
  // The last character boundary at or before `column`.
  int boundaryAtOrBefore(int column) const;
  Line& currentLine() { return lines_[current_]; }
  static int offset(int index, int by) { return ((index + by) % kLines + kLines) % kLines; }

  std::array<Line, kLines> lines_{};
  int current_ = 0;
};

}  // namespace kesta::shell
