// Turns what a user types (in the user's host code, telnet commands already
// removed) into lines of UTF-8 and the echo the host owes: CR LF, CR NUL,
// a bare CR and a bare LF all end a line; Backspace and DEL take back one
// character; the sequences of cursor and function keys (ESC [ ... final,
// ESC O x) and other control bytes are dropped. A line never grows beyond
// kLongestLine bytes: what is typed past it is dropped with a bell.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "xlat/xlat.h"

namespace kesta::host {

class LineEditor {
 public:
  static constexpr std::size_t kLongestLine = 512;  // bytes of UTF-8
  static constexpr std::size_t kMostPendingLines = 64;

  explicit LineEditor(xlat::Code code);

  // The user's code changed (the line typed so far is kept).
  void setCode(xlat::Code code);

  // Takes typed bytes; appends the echo (in the user's code) to `echo`.
  // Finished lines wait in lines(); beyond kMostPendingLines the oldest go.
  void feed(const char* bytes, std::size_t count, std::string& echo);

  bool hasLine() const { return !lines_.empty(); }
  std::string takeLine();
  // Forgets everything typed and not yet taken (before a transfer, say).
  void clear();

 private:
  void endLine(std::string& echo);
  void eraseOne(std::string& echo);
  void flushPending(std::string& echo);

  xlat::Code code_;
  std::unique_ptr<xlat::StreamConverter> decoder_;
  std::string line_;
  std::deque<std::string> lines_;
  enum class Escape { kNone, kEsc, kCsi, kSs3 };
  Escape escape_ = Escape::kNone;
  bool afterCr_ = false;
  bool bellRung_ = false;  // one bell for each overlong line
};

// Cells a UTF-8 text takes on a double-byte terminal: every character
// outside ASCII is a two-byte, two-cell character in the Korean codes;
// ANSI sequences take none.
std::size_t displayWidth(const std::string& utf8);

// Bytes of the UTF-8 character starting at `lead` (1 for a stray byte).
std::size_t utf8Length(unsigned char lead);

// The text cut to at most `cells` cells, at a character boundary.
std::string cutToWidth(const std::string& utf8, std::size_t cells);

}  // namespace kesta::host
