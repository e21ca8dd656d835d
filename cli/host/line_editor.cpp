#include "cli/host/line_editor.h"

#include <algorithm>

namespace kesta::host {

std::size_t utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

namespace {
// An ANSI sequence ("ESC [ ... final") starting at i takes no cell: its length.
std::size_t escapeLength(const std::string& text, std::size_t i) {
  if (text[i] != '\x1b') return 0;
  std::size_t j = i + 1;
  if (j < text.size() && text[j] == '[') {
    ++j;
    while (j < text.size() && !(text[j] >= 0x40 && text[j] <= 0x7E)) ++j;
  }
  return std::min(j + 1, text.size()) - i;
}
}  // namespace

std::size_t displayWidth(const std::string& utf8) {
  std::size_t cells = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    if (std::size_t skip = escapeLength(utf8, i)) {
      i += skip;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    cells += c < 0x80 ? 1 : 2;
    i += utf8Length(c);
  }
  return cells;
}

std::string cutToWidth(const std::string& utf8, std::size_t cells) {
  std::size_t used = 0, i = 0;
  while (i < utf8.size()) {
    if (std::size_t skip = escapeLength(utf8, i)) {
      i += skip;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    std::size_t w = c < 0x80 ? 1 : 2;
    if (used + w > cells) break;
    used += w;
    i += utf8Length(c);
  }
  return utf8.substr(0, std::min(i, utf8.size()));
}

LineEditor::LineEditor(xlat::Code code) { setCode(code); }

void LineEditor::setCode(xlat::Code code) {
  code_ = code;
  decoder_ = std::make_unique<xlat::StreamConverter>(code, xlat::Code::Utf8);
}

void LineEditor::clear() {
  escape_ = Escape::kNone;
  line_.clear();
  lines_.clear();
  afterCr_ = false;
  bellRung_ = false;
  setCode(code_);
}

std::string LineEditor::takeLine() {
  if (lines_.empty()) return {};
  std::string line = std::move(lines_.front());
  lines_.pop_front();
  return line;
}

// A character split by a control byte cannot be completed: it becomes a
// substitute, and the decoder starts afresh.
void LineEditor::flushPending(std::string& echo) {
  std::string tail;
  decoder_->finish(tail);
  decoder_ = std::make_unique<xlat::StreamConverter>(code_, xlat::Code::Utf8);
  if (tail.empty()) return;
  if (line_.size() + tail.size() > kLongestLine) return;
  line_ += tail;
  echo += xlat::convert(xlat::Code::Utf8, code_, tail);
}

void LineEditor::endLine(std::string& echo) {
  flushPending(echo);
  echo += "\r\n";
  if (lines_.size() >= kMostPendingLines) lines_.pop_front();
  lines_.push_back(std::move(line_));
  line_.clear();
  bellRung_ = false;
}

// The decoder is left alone: code 7's shift state outlives a Backspace.
void LineEditor::eraseOne(std::string& echo) {
  if (line_.empty()) return;
  std::size_t start = line_.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(line_[start]) & 0xC0) == 0x80) --start;
  bool wide = static_cast<unsigned char>(line_[start]) >= 0x80;
  line_.erase(start);
  echo += wide ? "\b\b  \b\b" : "\b \b";
}

void LineEditor::feed(const char* bytes, std::size_t count, std::string& echo) {
  // Printable bytes are gathered into runs so that a double-byte character
  // split between two reads still comes out whole.
  std::size_t runStart = 0;
  auto takeRun = [&](std::size_t end) {
    if (end <= runStart) return;
    std::string utf8;
    decoder_->feed(bytes + runStart, end - runStart, utf8);
    if (line_.size() + utf8.size() > kLongestLine) {
      std::size_t room = kLongestLine - line_.size(), keep = 0;
      while (keep < utf8.size() && keep + utf8Length(static_cast<unsigned char>(utf8[keep])) <= room)
        keep += utf8Length(static_cast<unsigned char>(utf8[keep]));
      utf8.resize(keep);
      if (!bellRung_) echo += '\a';
      bellRung_ = true;
    }
    line_ += utf8;
    echo += xlat::convert(xlat::Code::Utf8, code_, utf8);
  };
  for (std::size_t i = 0; i < count; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (escape_ != Escape::kNone && c < 0x20) {
      escape_ = Escape::kNone;  // a control byte cuts the sequence and counts as itself
    } else if (escape_ != Escape::kNone) {
      // The rest of a cursor or function key's sequence: dropped with its ESC.
      if (escape_ == Escape::kEsc) {
        escape_ = c == '[' ? Escape::kCsi : c == 'O' ? Escape::kSs3 : Escape::kNone;
      } else if (escape_ == Escape::kSs3 || (c >= 0x40 && c <= 0x7E)) {
        escape_ = Escape::kNone;
      }
      runStart = i + 1;
      continue;
    }
    // Code 7 shifts with SO and SI: they belong to the text, not to editing.
    bool shift = code_ == xlat::Code::SevenBit && (c == 0x0E || c == 0x0F);
    if (c >= 0x20 && c != 0x7F) {
      afterCr_ = false;
      continue;
    }
    if (shift) continue;
    takeRun(i);
    runStart = i + 1;
    if (c == '\r') {
      endLine(echo);
      afterCr_ = true;
    } else if (c == '\n' || c == '\0') {
      if (!afterCr_ && c == '\n') endLine(echo);  // LF after CR, or NUL after CR: the same end
      afterCr_ = false;
    } else if (c == '\b' || c == 0x7F) {
      afterCr_ = false;
      eraseOne(echo);
    } else {
      afterCr_ = false;  // other controls are dropped
      if (c == 0x1B) escape_ = Escape::kEsc;
    }
  }
  takeRun(count);
}

}  // namespace kesta::host
