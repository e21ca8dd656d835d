#include "controls/edit_buffer.h"

#include <algorithm>

namespace kesta::controls {

namespace {

bool isLeadByte(char c) { return static_cast<uint8_t>(c) >= 0x80; }

}  // namespace

// ---- boundaries and lines ----

size_t EditBuffer::charLength(size_t index) const {
  if (index >= text_.size()) return 0;
  if (index + 1 >= text_.size()) return 1;
  if (isLead(index)) return 2;
  if (multiline_ && text_[index] == '\r' && text_[index + 1] == '\n') return 2;
  return 1;
}

size_t EditBuffer::lineStartOf(size_t index) const {
  index = std::min(index, text_.size());
  if (!multiline_) return 0;
  // CR and LF are never trail bytes, so looking back for CR LF is safe; an
  // index between CR and LF belongs to the line the CR ends.
  size_t i = index;
  while (i >= 2 && !(text_[i - 1] == '\n' && text_[i - 2] == '\r')) --i;
  return i < 2 ? 0 : i;
}

size_t EditBuffer::snap(size_t index) const {
  index = std::min(index, text_.size());
  size_t p = lineStartOf(index);
  while (p < index) {
    const size_t step = charLength(p);
    if (p + step > index) break;
    p += step;
  }
  return p;
}

size_t EditBuffer::previous(size_t index) const {
  index = snap(index);
  if (index == 0) return 0;
  size_t p = lineStartOf(index - 1);
  for (;;) {
    const size_t step = charLength(p);
    if (p + step >= index) return p;
    p += step;
  }
}

size_t EditBuffer::next(size_t index) const {
  index = snap(index);
  return index + charLength(index);
}

size_t EditBuffer::lineEndOf(size_t index) const {
  size_t p = lineStartOf(index);
  if (!multiline_) return text_.size();
  while (p < text_.size() && !(text_[p] == '\r' && p + 1 < text_.size() && text_[p + 1] == '\n'))
    p += charLength(p);
  return std::min(p, text_.size());
}

size_t EditBuffer::lineCount() const {
  if (!multiline_) return 1;
  size_t count = 1;
  for (size_t p = 0; p + 1 < text_.size(); ++p)
    if (text_[p] == '\r' && text_[p + 1] == '\n') ++count;
  return count;
}

size_t EditBuffer::lineIndex(size_t line) const {
  size_t start = 0;
  for (size_t n = 0; n < line; ++n) {
    const size_t end = lineEndOf(start);
    if (end >= text_.size()) return text_.size() + 1;
    start = end + 2;
  }
  return start;
}

size_t EditBuffer::lineFromChar(size_t index) const {
  index = std::min(index, text_.size());
  if (!multiline_) return 0;
  size_t line = 0;
  for (size_t p = 0; p + 1 < text_.size() && p + 2 <= index; ++p)
    if (text_[p] == '\r' && text_[p + 1] == '\n') ++line;
  return line;
}

int EditBuffer::xOf(size_t index) const {
  index = snap(index);
  int x = 0;
  for (size_t p = lineStartOf(index); p < index;) {
    const size_t step = charLength(p);
    x += (step == 2 && isLead(p)) ? widths_.hangul : widths_.english;
    p += step;
  }
  return x;
}

size_t EditBuffer::hit(size_t lineStart, int x) const {
  size_t p = lineStartOf(lineStart);
  const size_t end = lineEndOf(p);
  int left = 0;
  while (p < end) {
    const size_t step = charLength(p);
    const int w = isLead(p) ? widths_.hangul : widths_.english;
    if (left + w > x) return (x - left) > (left + w - x) ? p + step : p;  // the left one on a tie
    left += w;
    p += step;
  }
  return end;
}

// ---- writing ----

void EditBuffer::setText(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  text_.assign(bytes.substr(0, nul));
  composing_ = false;
  caret_ = snap(caret_);
  anchor_ = snap(anchor_);
  wantedX_ = -1;
}

EditOutcome EditBuffer::deleteSelection() {
  EditOutcome out;
  if (!hasSelection()) return out;
  const size_t from = selectionStart();
  text_.erase(from, selectionEnd() - from);
  caret_ = anchor_ = from;
  composing_ = false;
  out.changed = true;
  return out;
}

// Writes `bytes` at the caret: inserted, or (overwriteOne) in place of exactly
// the character at the caret, a line break excepted. The caret steps past them.
EditOutcome EditBuffer::putBytes(std::string_view bytes, bool overwriteOne) {
  EditOutcome out;
  size_t replaced = 0;
  if (overwriteOne && caret_ < text_.size() && !(multiline_ && caret_ == lineEndOf(caret_)))
    replaced = charLength(caret_);
  const size_t newLength = text_.size() - replaced + bytes.size();
  if (newLength > text_.size() && newLength > limit_) {
    out.atLimit = true;
    return out;
  }
  text_.replace(caret_, replaced, bytes);
  caret_ += bytes.size();
  anchor_ = caret_;
  out.changed = true;
  return out;
}

EditOutcome EditBuffer::writeCode(uint16_t code, bool startComposition) {
  const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  EditOutcome out;
  if (composing_) {  // in place of the composition: the length stays
    text_[caret_] = bytes[0];
    text_[caret_ + 1] = bytes[1];
    out.changed = true;
  } else {
    out = putBytes(std::string_view(bytes, 2), !insert_);
    if (!out.changed) {
      out.dropComposition = true;
      return out;
    }
    caret_ -= 2;
    anchor_ = caret_;
  }
  composing_ = true;
  if (!startComposition) {
    composing_ = false;
    caret_ += 2;
    anchor_ = caret_;
  }
  return out;
}

EditOutcome EditBuffer::typeChar(uint8_t byte) {
  if (composing_) completeComposition(static_cast<uint16_t>(static_cast<uint8_t>(text_[caret_]) << 8 |
                                                            static_cast<uint8_t>(text_[caret_ + 1])));
  if (byte < 0x20 || byte >= 0x80 || byte == 0x7F) {
    if (multiline_ && byte == '\r') return insertLineBreak();
    return {};
  }
  EditOutcome out = deleteSelection();
  const char c = static_cast<char>(byte);
  EditOutcome put = putBytes(std::string_view(&c, 1), !insert_);
  put.changed = put.changed || out.changed;
  wantedX_ = -1;
  return put;
}

EditOutcome EditBuffer::insertLineBreak() {
  if (!multiline_) return {};
  EditOutcome out = deleteSelection();
  EditOutcome put = putBytes("\r\n", false);
  put.changed = put.changed || out.changed;
  wantedX_ = -1;
  return put;
}

EditOutcome EditBuffer::applyKey(int16_t result, uint16_t key, uint16_t completed) {
  EditOutcome out;
  const bool writes = result == 1 || result == -3 || result == -2 || result == -1 || (result == 0 && !composing_) ||
                      (result == -5 && key != 0);
  if (writes && hasSelection()) out = deleteSelection();
  EditOutcome step;
  switch (result) {
    case 1:
    case -3:
      step = typeChar(static_cast<uint8_t>(key));
      break;
    case 0:
      step = writeCode(key, true);
      break;
    case -1:
      step = writeCode(completed, false);
      if (!step.atLimit) {
        EditOutcome next = writeCode(key, true);
        step.atLimit = next.atLimit;
        step.dropComposition = next.dropComposition;
      }
      break;
    case -2:
      step = writeCode(completed, false);
      if (!step.atLimit) {
        const EditOutcome next = typeChar(static_cast<uint8_t>(key));
        step.atLimit = next.atLimit;
        step.changed = step.changed || next.changed;
      }
      break;
    case -4:
      if (composing_) {
        text_.erase(caret_, 2);
        composing_ = false;
        step.changed = true;
      }
      break;
    case -5:
      if (key != 0) step = writeCode(key, false);
      break;
    default:
      break;
  }
  wantedX_ = -1;
  out.changed = out.changed || step.changed;
  out.atLimit = step.atLimit;
  out.dropComposition = step.dropComposition;
  return out;
}

void EditBuffer::completeComposition(uint16_t code) {
  if (!composing_) return;
  if (code == 0) {
    dropComposition();
    return;
  }
  text_[caret_] = static_cast<char>(code >> 8);
  text_[caret_ + 1] = static_cast<char>(code & 0xFF);
  composing_ = false;
  caret_ += 2;
  anchor_ = caret_;
}

void EditBuffer::dropComposition() {
  if (!composing_) return;
  text_.erase(caret_, 2);
  composing_ = false;
  anchor_ = caret_;
}

EditOutcome EditBuffer::paste(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  if (!multiline_) bytes = bytes.substr(0, bytes.find_first_of("\r\n"));
  // Whole characters only: a lone lead byte at the end is dropped.
  size_t whole = 0;
  while (whole < bytes.size()) {
    const size_t step = isLeadByte(bytes[whole]) ? 2 : 1;
    if (whole + step > bytes.size()) break;
    whole += step;
  }
  bytes = bytes.substr(0, whole);
  if (composing_) completeComposition(static_cast<uint16_t>(static_cast<uint8_t>(text_[caret_]) << 8 |
                                                            static_cast<uint8_t>(text_[caret_ + 1])));
  EditOutcome out = deleteSelection();
  const size_t room = text_.size() >= limit_ ? 0 : limit_ - text_.size();
  if (bytes.size() > room) {
    size_t cut = 0;
    while (cut < bytes.size()) {
      const size_t step = isLeadByte(bytes[cut]) ? 2 : 1;
      if (cut + step > room) break;
      cut += step;
    }
    // Never leave CR without its LF.
    if (cut > 0 && bytes[cut - 1] == '\r' && cut < bytes.size() && bytes[cut] == '\n') --cut;
    bytes = bytes.substr(0, cut);
    out.atLimit = true;
  }
  if (!bytes.empty()) {
    text_.insert(caret_, bytes);
    caret_ += bytes.size();
    anchor_ = caret_;
    out.changed = true;
  }
  wantedX_ = -1;
  return out;
}

EditOutcome EditBuffer::backspace() {
  EditOutcome out;
  if (composing_) {  // the syllable being composed is what goes
    dropComposition();
    out.changed = true;
    return out;
  }
  if (hasSelection()) return deleteSelection();
  if (caret_ == 0) return out;
  const size_t from = previous(caret_);
  text_.erase(from, caret_ - from);
  caret_ = anchor_ = from;
  out.changed = true;
  wantedX_ = -1;
  return out;
}

EditOutcome EditBuffer::deleteForward() {
  EditOutcome out;
  if (composing_) {  // the syllable at the caret is the character deleted
    dropComposition();
    out.changed = true;
    return out;
  }
  if (hasSelection()) return deleteSelection();
  if (caret_ >= text_.size()) return out;
  text_.erase(caret_, charLength(caret_));
  anchor_ = caret_;
  out.changed = true;
  wantedX_ = -1;
  return out;
}

// ---- caret ----

void EditBuffer::place(size_t caret, bool extend) {
  composing_ = false;  // a move completes the syllable as written; the caret stands before it
  caret_ = snap(caret);
  if (!extend) anchor_ = caret_;
}

bool EditBuffer::moveLeft(bool extend) {
  composing_ = false;
  wantedX_ = -1;
  if (caret_ == 0) {
    if (!extend) anchor_ = caret_;
    return false;
  }
  place(previous(caret_), extend);
  return true;
}

bool EditBuffer::moveRight(bool extend) {
  wantedX_ = -1;
  composing_ = false;
  if (caret_ >= text_.size() || (multiline_ && caret_ == lineEndOf(caret_))) {
    if (!extend) anchor_ = caret_;
    return false;
  }
  place(next(caret_), extend);
  return true;
}

void EditBuffer::home(bool extend) {
  composing_ = false;
  wantedX_ = -1;
  place(lineStartOf(caret_), extend);
}

void EditBuffer::end(bool extend) {
  composing_ = false;
  wantedX_ = -1;
  place(lineEndOf(caret_), extend);
}

void EditBuffer::textStart(bool extend) {
  composing_ = false;
  wantedX_ = -1;
  place(0, extend);
}

void EditBuffer::textEnd(bool extend) {
  composing_ = false;
  wantedX_ = -1;
  place(text_.size(), extend);
}

size_t EditBuffer::pageUp(size_t lines, bool extend) {
  composing_ = false;
  if (wantedX_ < 0) wantedX_ = xOf(caret_);
  const size_t line = lineFromChar(caret_);
  const size_t moved = std::min(lines, line);
  if (moved == 0) return 0;
  const int x = wantedX_;
  place(hit(lineIndex(line - moved), x), extend);
  wantedX_ = x;
  return moved;
}

size_t EditBuffer::pageDown(size_t lines, bool extend) {
  composing_ = false;
  if (wantedX_ < 0) wantedX_ = xOf(caret_);
  const size_t line = lineFromChar(caret_);
  const size_t last = lineCount() - 1;
  const size_t moved = std::min(lines, last - line);
  if (moved == 0) return 0;
  const int x = wantedX_;
  place(hit(lineIndex(line + moved), x), extend);
  wantedX_ = x;
  return moved;
}

bool EditBuffer::moveUp(bool extend) { return pageUp(1, extend) == 1; }
bool EditBuffer::moveDown(bool extend) { return pageDown(1, extend) == 1; }

void EditBuffer::setSelection(size_t anchor, size_t end) {
  composing_ = false;
  wantedX_ = -1;
  anchor_ = snap(anchor);
  caret_ = snap(end);
}

int followCaret(int caretX, int scroll, int width) {
  const int margin = width > 60 ? 30 : width / 2;
  scroll = std::max(scroll, 0);
  while (caretX - scroll > width - margin && width > 0) scroll += 30;
  while (caretX - scroll < 0) scroll = std::max(0, scroll - 30);
  return scroll;
}

size_t followLine(size_t caretLine, size_t firstLine, size_t visible) {
  if (visible == 0) visible = 1;
  if (caretLine < firstLine) return caretLine;
  if (caretLine >= firstLine + visible) return caretLine - visible + 1;
  return firstLine;
}

}  // namespace kesta::controls
