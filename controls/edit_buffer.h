// The edit controls' text: bytes in the internal code (a byte below 0x80 is
// one character, a byte of 0x80 or above begins a two-byte character), the
// caret and the selection anchor, insert or overwrite, the syllable being
// composed (two bytes at the caret), the limit, and in the multi-line form
// lines split at CR LF. Character boundaries are found by scanning forward
// from the start of a line: a johab trail byte may be below 0x80.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesta::controls {

// Pixel widths of a one-byte and a two-byte character.
struct CellWidths {
  int english = 8;
  int hangul = 16;
};

// What an edit did, for the caller's notifications.
struct EditOutcome {
  bool changed = false;          // the text changed (EN_CHANGE)
  bool atLimit = false;          // something was refused or cut at the limit (EN_MAXTEXT)
  bool dropComposition = false;  // the syllable could not be kept: clear the automaton
};

inline constexpr size_t kNoLimit = 0x7FFFFFFE;

class EditBuffer {
 public:
  explicit EditBuffer(bool multiline = false, CellWidths widths = {}) : multiline_(multiline), widths_(widths) {}

  const std::string& text() const { return text_; }
  size_t length() const { return text_.size(); }
  size_t caret() const { return caret_; }
  size_t anchor() const { return anchor_; }
  size_t selectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  size_t selectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  bool hasSelection() const { return caret_ != anchor_; }
  bool composing() const { return composing_; }
  bool insertMode() const { return insert_; }
  void setInsertMode(bool insert) { insert_ = insert; }
  bool multiline() const { return multiline_; }
  size_t limit() const { return limit_; }
  // 0 means no limit. A text already longer is kept; it only stops growing.
  void setLimit(size_t limit) { limit_ = (limit == 0 || limit > kNoLimit) ? kNoLimit : limit; }
  const CellWidths& widths() const { return widths_; }
  void setWidths(CellWidths widths) { widths_ = widths; }

  // The text up to a NUL; caret and anchor are clamped to it and snapped to a
  // character boundary, and any composition ends.
  void setText(std::string_view bytes);

  // One result of the automaton's GetKey: `key` as GetKey left it,
  // `completed` the completed code (GetCompletedCode). A selection is deleted
  // first by anything that writes.
  EditOutcome applyKey(int16_t result, uint16_t key, uint16_t completed);
  // Ends the composition: `code` (MakeCompleteCode's result) is written in its
  // place and the caret steps past it; 0 removes it.
  void completeComposition(uint16_t code);
  // Removes the composition without moving the caret (ClearCodes).
  void dropComposition();

  // One ordinary character (insert, or overwrite of exactly the character at
  // the caret); control bytes are refused. CR in the multi-line form inserts CR LF.
  EditOutcome typeChar(uint8_t byte);
  EditOutcome insertLineBreak();
  // Replaces the selection (or inserts at the caret) with `bytes` cut at a
  // NUL, without a lone lead byte at the end, at the first line break in the
  // one-line form, and at a character boundary within the limit.
  EditOutcome paste(std::string_view bytes);
  EditOutcome deleteSelection();
  // Both remove a syllable being composed, else the selection, else one character.
  EditOutcome backspace();
  EditOutcome deleteForward();

  // Caret and selection. `extend` keeps the anchor. Moves complete a composition
  // first (with the bytes already written). False when nothing could move.
  bool moveLeft(bool extend);
  bool moveRight(bool extend);  // multi-line: not past the line end
  void home(bool extend);       // start of the line (one-line: of the text)
  void end(bool extend);
  void textStart(bool extend);
  void textEnd(bool extend);
  bool moveUp(bool extend);    // keeps the x position of the first of a run of vertical moves
  bool moveDown(bool extend);
  size_t pageUp(size_t lines, bool extend);  // lines actually moved
  size_t pageDown(size_t lines, bool extend);
  // Both clamped to the text and snapped to a boundary; the caret goes to `end`.
  void setSelection(size_t anchor, size_t end);
  void collapse() { anchor_ = caret_; }
  // The boundary nearest to pixel x on the line holding `index` (left on a tie).
  size_t hit(size_t lineStart, int x) const;

  // Boundaries.
  size_t snap(size_t index) const;
  size_t previous(size_t index) const;
  size_t next(size_t index) const;
  size_t charLength(size_t index) const;  // 1 or 2 (a CR LF pair is one step)

  // Lines (the one-line form has a single line).
  size_t lineCount() const;
  size_t lineStartOf(size_t index) const;
  size_t lineEndOf(size_t index) const;  // before its CR LF
  size_t lineIndex(size_t line) const;   // length() + 1 when there is no such line
  size_t lineFromChar(size_t index) const;
  size_t lineLength(size_t index) const { return lineEndOf(index) - lineStartOf(index); }
  int xOf(size_t index) const;  // pixels from the start of its line
  int lineWidth(size_t index) const { return xOf(lineEndOf(index)); }

 private:
  bool isLead(size_t index) const { return static_cast<uint8_t>(text_[index]) >= 0x80; }
  EditOutcome putBytes(std::string_view bytes, bool overwriteOne);
  EditOutcome writeCode(uint16_t code, bool startComposition);
  void place(size_t caret, bool extend);

  std::string text_;
  size_t caret_ = 0;
  size_t anchor_ = 0;
  size_t limit_ = kNoLimit;
  bool composing_ = false;
  bool insert_ = true;
  bool multiline_;
  int wantedX_ = -1;  // x kept over a run of Up, Down, PgUp, PgDn
  CellWidths widths_;
};

// The horizontal scroll that keeps caret x (from the line start) inside a
// view `width` wide: 30-pixel steps past width - 30, back to show the caret.
int followCaret(int caretX, int scroll, int width);
// The first visible line that keeps `caretLine` inside `visible` lines.
size_t followLine(size_t caretLine, size_t firstLine, size_t visible);

}  // namespace kesta::controls
