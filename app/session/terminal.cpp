#include "app/session/terminal.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "app/session/is_hangul.h"

namespace kesta::session {

const std::array<Colour, 8> kSgrColours = {
    rgb(0, 0, 0),     rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(112, 32, 0),
    rgb(0, 0, 146),   rgb(255, 0, 129), rgb(0, 223, 191), rgb(191, 191, 191),
};

const std::array<Colour, 16> kPrivateColours = {
    rgb(0, 0, 0),      rgb(0, 0, 146),   rgb(0, 255, 0),    rgb(0, 223, 191),
    rgb(255, 0, 0),    rgb(255, 0, 129), rgb(112, 32, 0),   rgb(191, 191, 183),
    rgb(96, 96, 94),   rgb(0, 0, 255),   rgb(32, 255, 0),   rgb(0, 255, 191),
    rgb(255, 0, 34),   rgb(255, 64, 255), rgb(255, 255, 0), rgb(255, 255, 255),
};

namespace {

constexpr int kLastColumn = kColumns - 1;
// The column keeps counting text past the right edge until a CR; it stops
// here so that it can never overflow.
constexpr int kColumnLimit = 1 << 20;
constexpr int kParameterLimit = 99999;

bool isFinal(unsigned char byte) {
  switch (byte) {
    case 'A': case 'B': case 'C': case 'D': case 'H': case 'f': case 'J': case 'K': case 'L': case 'M':
    case '@': case 'P': case 'm': case 'r': case 's': case 'u': case 'F': case 'G': case 'O':
      return true;
    default:
      return false;
  }
}

// The bytes that interpretByte acts on before anything else; every other
// byte outside a sequence is text.
bool isControlByte(unsigned char byte) {
  switch (byte) {
    case 0x07: case 0x08: case 0x0A: case 0x0C: case 0x0D: case 0x1B:
      return true;
    default:
      return false;
  }
}

// Text bytes that leave the private flag of ESC [ = alone.
bool keepsPrivateFlag(unsigned char byte) {
  switch (byte) {
    case '7': case '8': case ';': case '=': case '@': case '[':
      return true;
    default:
      return isFinal(byte);
  }
}

// How many bytes of `text` fit in `limit` without cutting a two-byte
// character in half.
std::size_t wholeCharacters(const char* text, std::size_t length, std::size_t limit) {
  if (limit >= length) return length;
  std::size_t at = 0;
  while (at < limit) {
    std::size_t next = at + (isLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1);
    if (next > limit) break;
    at = next;
  }
  return at;
}

}  // namespace

Terminal::Terminal(DrawTarget& target, TerminalRoles roles, Converter convert)
    : target_(target), roles_(roles), convert_(convert ? convert : identityConverter), pages_(target) {
  for (auto& row : grid_) row.fill(' ');
  state_.parameters.fill(-1);
}

void Terminal::reset(Colour text, Colour background) {
  state_ = TerminalState{};
  state_.parameters.fill(-1);
  state_.textColour = state_.resetTextColour = state_.savedTextColour = text;
  state_.backgroundColour = state_.resetBackgroundColour = state_.savedBackgroundColour = background;
  for (auto& row : grid_) row.fill(' ');
  runLength_ = 0;
  heldLead_.reset();
  continuation_.reset();
  sevenBitShifted_ = false;
  searchMatched_ = 0;
  pages_.initialise(background);
}

void Terminal::setSearch(bool enabled, std::string_view internalText) {
  searchEnabled_ = enabled;
  searchInternal_.assign(internalText);
  searchHostCode_ = -1;
  searchMatched_ = 0;
}

void Terminal::setChatMode(bool on) {
  state_.chatMode = on;
  int last = terminalRows() - 1;
  state_.row = std::min(state_.row, last);
}

void Terminal::setColours(Colour text, Colour background) {
  state_.textColour = state_.savedTextColour = text;
  state_.backgroundColour = state_.savedBackgroundColour = background;
}

void Terminal::setUserColours(Colour text, Colour background) {
  setColours(text, background);
  state_.resetTextColour = text;
  state_.resetBackgroundColour = background;
}


std::string_view Terminal::gridRow(int row) const {
  if (row < 0 || row >= kRows) return {};
  return {grid_[row].data(), grid_[row].size()};
}

void Terminal::interpretBytes(const char* bytes, std::size_t count) {
  std::size_t i = 0;
  while (i < count) {
    // Plain text outside any sequence, with nothing watching it byte by
    // byte, joins the run in one piece.
    const TerminalState& s = state_;
    if (!s.escape && !s.sequence && !s.privateFlag && !textCapture_ && !(searchEnabled_ && !searchInternal_.empty())) {
      std::size_t end = i;
      while (end < count && !isControlByte(static_cast<unsigned char>(bytes[end]))) ++end;
      appendText(bytes + i, end - i);
      i = end;
      if (i == count) break;
    }
    interpretByte(static_cast<unsigned char>(bytes[i++]));
  }
}

void Terminal::appendText(const char* text, std::size_t length) {
  while (length > 0) {
    if (runLength_ == kRunCapacity) flush();
    std::size_t take = std::min(length, static_cast<std::size_t>(kRunCapacity - runLength_));
    std::memcpy(run_.data() + runLength_, text, take);
    runLength_ += static_cast<int>(take);
    state_.column = static_cast<int>(std::min<std::size_t>(state_.column + take, kColumnLimit));
    text += take;
    length -= take;
  }
}

void Terminal::interpret(const char* bytes, std::size_t count) {
  beginChunk();
  interpretBytes(bytes, count);
  endChunk();
}

void Terminal::startBelowPicture(int pictureRows) {
  state_.row = state_.pageRow = std::clamp(pictureRows, 0, kRows - 1);
  state_.runStartColumn = state_.column;
}

void Terminal::shiftGridUp(int lines) {
  lines = std::clamp(lines, 0, kRows);
  for (int r = 0; r + lines < kRows; ++r) grid_[r] = grid_[r + lines];
  for (int r = kRows - lines; r < kRows; ++r) clearGridRow(r);
}

void Terminal::shiftGridDown(int lines) {
  lines = std::clamp(lines, 0, kRows);
  for (int r = kRows - 1; r >= lines; --r) grid_[r] = grid_[r - lines];
  for (int r = 0; r < lines; ++r) clearGridRow(r);
}

void Terminal::openChat() {
  flush();
  TerminalState& s = state_;
  s.chatMode = true;
  if (s.row > kLastChatTerminalRow) {
    int lines = s.row - kLastChatTerminalRow;
    shiftGridUp(lines);
    s.displayOffset = (s.displayOffset + lines) % kRows;
    s.row = kLastChatTerminalRow;
  }
  s.runStartColumn = s.column;
  pages_.repaint(s.displayOffset, true);
}

void Terminal::closeChat() {
  flush();
  TerminalState& s = state_;
  s.chatMode = false;
  if (s.displayOffset + kChatRows <= kRows) {
    // The window's rows move down by the offset; the grid moves with them so
    // that it keeps describing what the window shows. The lines that come
    // back at the top were scrolled out of the grid: they read as spaces.
    shiftGridDown(s.displayOffset);
    s.row += s.displayOffset;
    s.displayOffset = 0;
  }
  s.runStartColumn = s.column;
  pages_.repaint(s.displayOffset, false);
}

void Terminal::beginChunk() {
  target_.beginChunk();
  roles_.window.hideCaret();
  runLength_ = 0;  // text left by a chunk stopped early is dropped
  state_.runStartColumn = state_.column;
  if (heldLead_) {
    // The first byte of a 7-bit pair that ended the last chunk waits for its partner.
    run_[runLength_++] = *heldLead_;
    state_.runStartColumn = std::max(0, state_.column - 1);
    heldLead_.reset();
  }
}

// Whether the pending run of a 7-bit host ends with the first byte of a
// shifted pair, walked as the converter walks it: inside a shift-out, bytes
// 0x21 to 0x7E go in pairs and anything else stands alone.
bool Terminal::runEndsInsideSevenBitPair() const {
  if (hostCode_ != kSevenBitCode) return false;
  bool shifted = sevenBitShifted_;
  bool lead = false;
  for (int i = 0; i < runLength_; ++i) {
    auto b = static_cast<unsigned char>(run_[i]);
    if (b == static_cast<unsigned char>(kShiftOut)) {
      shifted = true;
      lead = false;
    } else if (b == static_cast<unsigned char>(kShiftIn)) {
      shifted = false;
      lead = false;
    } else {
      lead = shifted && b >= 0x21 && b <= 0x7E && !lead;
    }
  }
  return lead;
}

void Terminal::abandonChunk() { target_.endChunk(); }

void Terminal::pauseChunk() {
  flush();
  target_.endChunk();
}

void Terminal::resumeChunk() {
  target_.beginChunk();
  roles_.window.hideCaret();
  runLength_ = 0;
  state_.runStartColumn = state_.column;
}

void Terminal::endChunk() {
  // A 7-bit pair cut by the chunk's end is drawn whole with the next chunk.
  std::optional<char> held;
  if (runLength_ > 0 && runEndsInsideSevenBitPair()) held = run_[--runLength_];
  if (runLength_ > 0) {
    flush();
    continuation_ = Continuation{state_.row, state_.column - (held ? 1 : 0), lastDrawEnd_};
  }
  heldLead_ = held;
  target_.endChunk();
  if (state_.chatMode) {
    roles_.window.showCaretAt(roles_.window.chatColumn(), 26);
  } else {
    roles_.window.showCaretAt(std::min(state_.column, kLastColumn), state_.row);
  }
}

void Terminal::capture(unsigned char byte) {
  if (!textCapture_) return;
  char c = static_cast<char>(byte);
  if (hostCode_ != kUtf8Code || (byte < 0x80 && !captureLead_)) {
    roles_.capture.writeCapture(std::string_view(&c, 1));
    return;
  }
  // A UTF-8 host's text is captured as the host sent it: each two-byte
  // character of the grid goes back to UTF-8 once its second byte is here.
  if (!captureLead_) {
    captureLead_ = c;
    return;
  }
  char pair[16] = {*captureLead_, c};
  captureLead_.reset();
  const std::size_t length = convert_(kInternalCode, kUtf8Code, pair, sizeof pair);
  roles_.capture.writeCapture(std::string_view(pair, std::min(length, sizeof pair - 1)));
}

void Terminal::interpretByte(unsigned char byte) {
  TerminalState& s = state_;
  switch (byte) {
    case 0x07:
      s.escape = s.sequence = false;
      roles_.sounds.beep();
      return;
    case 0x08:
      s.escape = s.sequence = false;
      capture(byte);
      flush();
      if (s.column > 0) {
        --s.column;
        if (s.column < kColumns) grid_[s.row][s.column] = ' ';
        if (s.column < kDrawColumns) {
          target_.blankCells(s.column, s.row, page(), s.pageRow, std::min(2, kDrawColumns - s.column),
                             s.backgroundColour);
        }
      }
      s.runStartColumn = s.column;
      return;
    case 0x0A:
      capture(byte);
      s.escape = s.sequence = false;
      flush();
      if (hostCode_ == kSevenBitCode) sevenBitShifted_ = false;  // a line never carries a shift-out on
      lineFeed();
      s.runStartColumn = s.column;
      return;
    case 0x0C:
      capture(byte);
      flush();
      s.escape = s.sequence = false;
      clearScreen();
      return;
    case 0x0D:
      capture(byte);
      s.escape = s.sequence = false;
      flush();
      if (hostCode_ == kSevenBitCode) sevenBitShifted_ = false;
      s.column = 0;
      s.runStartColumn = 0;
      return;
    case 0x1B:
      s.escape = true;
      s.sequence = false;
      return;
    default:
      break;
  }

  if (s.escape) {
    s.escape = false;
    if (byte == '[') {
      s.sequence = true;
      s.parameters.fill(-1);
      s.parameterIndex = 0;
      s.parametersOverflowed = false;
      return;
    }
    if (byte == '7') {
      flush();
      s.savedColumn = s.column;
      s.savedRow = s.row;
      s.savedPageRow = s.pageRow;
      return;
    }
    if (byte == '8') {
      flush();
      s.column = s.savedColumn;
      s.row = std::min(s.savedRow, terminalRows() - 1);
      s.pageRow = s.savedPageRow;
      s.runStartColumn = s.column;
      return;
    }
    textByte(byte, true);
    return;
  }

  if (s.sequence) {
    if (byte >= '0' && byte <= '9') {
      if (s.parametersOverflowed) return;
      int& p = s.parameters[s.parameterIndex];
      if (p < 0) p = 0;
      p = std::min(p * 10 + (byte - '0'), kParameterLimit);
      return;
    }
    if (byte == ';') {
      if (s.parameterIndex + 1 < kParameterSlots) {
        ++s.parameterIndex;
      } else {
        s.parametersOverflowed = true;
      }
      return;
    }
    if (byte == '=') {
      s.privateFlag = true;
      return;
    }
    if (isFinal(byte) && !(byte == 'F' && !s.privateFlag)) {
      s.sequence = false;
      controlSequenceFinal(byte);
      return;
    }
    s.sequence = false;
    s.privateFlag = false;
    textByte(byte, false);
    return;
  }

  textByte(byte, true);
}

void Terminal::textByte(unsigned char byte, bool captured) {
  TerminalState& s = state_;
  if (captured) capture(byte);
  if (runLength_ == kRunCapacity) flush();
  run_[runLength_++] = static_cast<char>(byte);
  if (s.column < kColumnLimit) ++s.column;
  if (s.privateFlag && !keepsPrivateFlag(byte)) s.privateFlag = false;

  if (searchEnabled_ && !searchInternal_.empty()) {
    if (searchHostCode_ != gridCode()) {
      std::string copy = searchInternal_;
      copy.resize(copy.size() * 2 + 16, '\0');
      std::size_t length = convert_(kInternalCode, gridCode(), copy.data(), copy.size());
      searchHost_.assign(copy.data(), std::min(length, copy.size()));
      searchHostCode_ = gridCode();
    }
    if (searchHost_.empty()) return;
    if (static_cast<char>(byte) == searchHost_[searchMatched_]) {
      if (++searchMatched_ == static_cast<int>(searchHost_.size())) {
        flush();
        drawSearchHighlight();
        searchMatched_ = 0;
      }
    } else {
      searchMatched_ = 0;
    }
  }
}

void Terminal::drawSearchHighlight() {
  const TerminalState& s = state_;
  int start = s.column - static_cast<int>(searchHost_.size());
  if (start < 0 || start >= kLastColumn) return;
  std::size_t length = wholeCharacters(searchInternal_.data(), searchInternal_.size(),
                                       static_cast<std::size_t>(kLastColumn - start));
  if (length == 0) return;
  target_.drawText(start, s.row, page(), s.pageRow, std::string_view(searchInternal_.data(), length),
                   kHighlightText, kHighlightBackground);
}

void Terminal::flush() {
  TerminalState& s = state_;
  // Only the run that comes straight after a chunk's end may continue it.
  std::optional<Continuation> continuation = std::exchange(continuation_, std::nullopt);
  if (runLength_ == 0) return;
  run_[runLength_] = '\0';
  std::size_t length = strnlen(run_.data(), static_cast<std::size_t>(runLength_));
  runLength_ = 0;

  for (std::size_t i = 0; i < length; ++i) {
    int column = s.runStartColumn + static_cast<int>(i);
    if (column > kLastColumn) break;
    grid_[s.row][column] = run_[i];
  }

  // A 7-bit host shifts into double-byte text once for a whole stretch that
  // may span several runs (a cursor move or a chunk end flushes in between):
  // a run that starts inside such a stretch is converted with its shift-out.
  std::size_t prefix = 0;
  if (hostCode_ == kSevenBitCode && sevenBitShifted_) converted_[prefix++] = kShiftOut;
  std::memcpy(converted_.data() + prefix, run_.data(), length);
  converted_[prefix + length] = '\0';
  if (hostCode_ == kSevenBitCode) {
    for (std::size_t i = 0; i < length; ++i) {
      if (run_[i] == kShiftOut) sevenBitShifted_ = true;
      else if (run_[i] == kShiftIn) sevenBitShifted_ = false;
    }
  }
  std::size_t convertedLength = convert_(gridCode(), kInternalCode, converted_.data(), converted_.size());
  convertedLength = std::min(convertedLength, strnlen(converted_.data(), converted_.size()));

  // Text never reaches past column 78: the last column is left for the
  // second half of a two-byte character.
  // A run that goes on from the end of the last chunk is drawn where that
  // chunk's text ended: a 7-bit host's shifts take columns in the grid but
  // none on the screen, and a read's end must not open a gap in the text.
  int drawColumn = s.runStartColumn;
  if (continuation && continuation->row == s.row && continuation->byteColumn == s.runStartColumn) {
    drawColumn = continuation->drawColumn;
  }
  if (drawColumn < kLastColumn) {
    std::size_t room = static_cast<std::size_t>(kLastColumn - drawColumn);
    std::size_t drawn = wholeCharacters(converted_.data(), convertedLength, room);
    if (drawn > 0) {
      target_.drawText(drawColumn, s.row, page(), s.pageRow, std::string_view(converted_.data(), drawn),
                       s.textColour, s.backgroundColour);
    }
  }
  lastDrawEnd_ = static_cast<int>(std::min<std::size_t>(drawColumn + convertedLength, kColumnLimit));
  s.runStartColumn = s.column;
}

int Terminal::pageRowFor(int windowRow) const {
  int pageRow = state_.pageRow + (windowRow - state_.row);
  return pageRow >= 0 && pageRow < kRows ? pageRow : kNoRow;
}

void Terminal::blankRow(int windowRow, int pageRow, int fromColumn, int count) {
  if (fromColumn >= kDrawColumns || count <= 0) return;
  count = std::min(count, kDrawColumns - fromColumn);
  target_.blankCells(fromColumn, windowRow, page(), pageRow, count, state_.backgroundColour);
}

void Terminal::clearScreen() {
  TerminalState& s = state_;
  for (auto& row : grid_) row.fill(' ');
  s.column = s.row = s.pageRow = s.displayOffset = 0;
  s.runStartColumn = 0;
  pages_.appendPage(pages_.tail(), s.backgroundColour, s.regionActive);
  pages_.repaint(s.displayOffset, s.chatMode);
}

void Terminal::lineFeed() {
  TerminalState& s = state_;
  int oldRow = s.row;
  int oldPageRow = s.pageRow;
  ++s.row;
  s.pageRow = s.pageRow == kRows - 1 ? 0 : s.pageRow + 1;

  if (s.regionActive && oldRow == s.regionBottom) {
    s.row = oldRow;
    s.pageRow = oldPageRow;
    int top = s.regionTop - 1;
    int bottom = s.regionBottom;
    for (int r = top; r < bottom; ++r) grid_[r] = grid_[r + 1];
    clearGridRow(bottom);
    if (s.regionScrollCount >= bottom - s.regionTop) pages_.feedRegionHistory(top, s.backgroundColour);
    if (bottom > top) target_.moveRows(top, page(), top, bottom - top + 1, -1);
    target_.blankCells(0, bottom, page(), bottom, kDrawColumns, s.backgroundColour);
    ++s.regionScrollCount;
    if (s.regionScrollCount > bottom - s.regionTop) s.regionScrollCount = kRows;
    return;
  }

  int rows = terminalRows();
  if (s.row < rows) return;
  s.row = rows - 1;
  for (int r = 0; r < rows - 1; ++r) grid_[r] = grid_[r + 1];
  clearGridRow(rows - 1);
  int oldOffset = s.displayOffset++;
  bool startsPage = s.chatMode ? s.pageRow == 0 : oldOffset == 0;
  if (startsPage) pages_.appendPage(pages_.tail(), s.backgroundColour, s.regionActive);
  if (s.displayOffset >= kRows) s.displayOffset = 0;
  pages_.repaint(s.displayOffset, s.chatMode);
}

void Terminal::controlSequenceFinal(unsigned char final) {
  TerminalState& s = state_;
  const int p1 = s.parameters[0];
  const int p2 = s.parameters[1];
  const int count = p1 < 0 ? 1 : p1;
  const int lastRow = terminalRows() - 1;
  switch (final) {
    case 'A':
      flush();
      s.row = std::max(0, s.row - count);
      s.pageRow = std::max(0, s.pageRow - count);
      break;
    case 'B':
      flush();
      s.row = std::min(lastRow, s.row + count);
      s.pageRow = std::min(lastRow, s.pageRow + count);
      break;
    case 'C':
      flush();
      s.column = std::min(kLastColumn, s.column + count);
      break;
    case 'D':
      flush();
      s.column = std::max(0, s.column - count);
      break;
    case 'H':
    case 'f':
      flush();
      if (p1 < 0) {
        s.column = s.row = 0;
      } else {
        s.row = std::clamp(p1 - 1, 0, lastRow);
        s.column = p2 < 0 ? 0 : std::clamp(p2 - 1, 0, kLastColumn);
      }
      s.pageRow = s.row;
      break;
    case 'J':
      flush();
      eraseInDisplay(p1 < 0 ? 0 : p1);
      break;
    case 'K':
      flush();
      eraseInLine(p1 < 0 ? 0 : p1);
      break;
    case 'L':
      insertLines(count);
      return;
    case 'M':
      deleteLines(count);
      return;
    case '@':
      insertCharacters(count);
      return;
    case 'P':
      deleteCharacters(count);
      return;
    case 'm':
      flush();
      selectGraphicRendition();
      break;
    case 'r':
      flush();
      // Without a bottom the region would reach the last row: hosts send
      // ESC [ r to return to the whole screen.
      if (p2 < 0 || p2 > kRows - 1) {
        cancelScrollRegion();
      } else {
        setScrollRegion(p1, p2);
      }
      break;
    case 's':
      s.savedColumn = s.column;
      s.savedRow = s.row;
      s.savedPageRow = s.pageRow;
      s.savedTextColour = s.textColour;
      s.savedBackgroundColour = s.backgroundColour;
      return;
    case 'u':
      flush();
      s.column = s.savedColumn;
      s.row = std::min(s.savedRow, lastRow);
      s.pageRow = s.savedPageRow;
      s.textColour = s.savedTextColour;
      s.backgroundColour = s.savedBackgroundColour;
      break;
    case 'F':  // only with the private flag
    case 'G':
      if (s.privateFlag) {
        flush();
        s.privateFlag = false;
        int index = p1 < 0 ? 0 : p1;
        if (index < static_cast<int>(kPrivateColours.size())) {
          (final == 'F' ? s.textColour : s.backgroundColour) = kPrivateColours[index];
        }
        break;
      }
      if (p1 == 1) {
        drawLineOrBox(0, p2, false);
      } else if (p2 == 1) {
        drawLineOrBox(p1, 0, false);
      } else {
        drawLineOrBox(p1, p2, true);
      }
      return;
    case 'O':
      if (p1 == 0) drawLineOrBox(p2, 0, false);
      if (p1 == 1) drawLineOrBox(0, p2, false);
      return;
    default:
      return;
  }
  s.runStartColumn = s.column;
}

void Terminal::eraseInLine(int mode) {
  TerminalState& s = state_;
  auto& row = grid_[s.row];
  switch (mode) {
    case 0:
      if (s.column < kColumns) std::fill(row.begin() + s.column, row.end(), ' ');
      blankRow(s.row, s.pageRow, s.column, kDrawColumns - s.column);
      break;
    case 1:
      std::fill(row.begin(), row.begin() + std::min(s.column, kLastColumn) + 1, ' ');
      blankRow(s.row, s.pageRow, 0, s.column + 1);
      break;
    case 2:
      clearGridRow(s.row);
      blankRow(s.row, s.pageRow, 0, kDrawColumns);
      break;
    default:
      break;
  }
}

void Terminal::eraseInDisplay(int mode) {
  TerminalState& s = state_;
  switch (mode) {
    case 0:
      eraseInLine(0);
      for (int r = s.row + 1; r < kRows; ++r) clearGridRow(r);
      for (int r = s.row + 1; r < terminalRows(); ++r) blankRow(r, pageRowFor(r), 0, kDrawColumns);
      break;
    case 1:
      for (int r = 0; r < s.row; ++r) {
        clearGridRow(r);
        blankRow(r, pageRowFor(r), 0, kDrawColumns);
      }
      eraseInLine(1);
      break;
    case 2:
      clearScreen();
      break;
    default:
      break;
  }
}

// Moves the band from the cursor row to the last terminal row (window) and
// the same number of rows from the page row (page, cut at its bottom).
void Terminal::moveBand(int rowCount, int delta) {
  const TerminalState& s = state_;
  int pageCount = std::min(rowCount, kRows - s.pageRow);
  if (pageCount == rowCount) {
    target_.moveRows(s.row, page(), s.pageRow, rowCount, delta);
  } else {
    target_.moveRows(s.row, page(), kNoRow, rowCount, delta);
    target_.moveRows(kNoRow, page(), s.pageRow, pageCount, delta);
  }
}

void Terminal::insertLines(int count) {
  const TerminalState& s = state_;
  int band = terminalRows() - s.row;
  count = std::min(count, band);
  for (int i = 0; i < count; ++i) {
    moveBand(band, +1);
    int r = s.row + i;
    blankRow(r, pageRowFor(r), 0, kDrawColumns);
  }
}

void Terminal::deleteLines(int count) {
  const TerminalState& s = state_;
  int band = terminalRows() - s.row;
  count = std::min(count, band);
  for (int i = 0; i < count; ++i) {
    moveBand(band, -1);
    int r = terminalRows() - 1 - i;
    blankRow(r, pageRowFor(r), 0, kDrawColumns);
  }
}

void Terminal::insertCharacters(int count) {
  const TerminalState& s = state_;
  if (s.column >= kColumns) return;
  count = std::min(count, kColumns - s.column);
  for (int i = 0; i < count; ++i) {
    target_.moveCells(s.column, s.row, page(), s.pageRow, +1);
    blankRow(s.row, s.pageRow, s.column + i, 1);
  }
}

void Terminal::deleteCharacters(int count) {
  const TerminalState& s = state_;
  if (s.column >= kColumns) return;
  count = std::min(count, kColumns - s.column);
  for (int i = 0; i < count; ++i) {
    target_.moveCells(s.column, s.row, page(), s.pageRow, -1);
    blankRow(s.row, s.pageRow, kLastColumn, 1);
  }
}

void Terminal::selectGraphicRendition() {
  TerminalState& s = state_;
  if (s.parameters[0] < 0 && s.sgrSeen) {
    s.textColour = s.resetTextColour;
    s.backgroundColour = s.resetBackgroundColour;
    s.sgrSeen = false;
    return;
  }
  s.sgrSeen = true;
  for (int i = 0; i <= s.parameterIndex; ++i) {
    int p = s.parameters[i];
    if (p == 0) {
      if (s.attributeChanged) {
        s.attributeChanged = false;
        s.textColour = s.resetTextColour;
        s.backgroundColour = s.resetBackgroundColour;
      }
    } else if (p == 7) {
      s.resetTextColour = s.textColour;
      s.resetBackgroundColour = s.backgroundColour;
      std::swap(s.textColour, s.backgroundColour);
      s.attributeChanged = true;
    } else if (p == 27) {
      s.textColour = s.resetTextColour;
      s.backgroundColour = s.resetBackgroundColour;
      s.sgrSeen = false;
    } else if (p >= 30 && p <= 37) {
      s.textColour = kSgrColours[p - 30];
      s.attributeChanged = true;
    } else if (p >= 40 && p <= 47) {
      s.backgroundColour = kSgrColours[p - 40];
      s.attributeChanged = true;
    }
  }
}

void Terminal::setScrollRegion(int top, int bottom) {
  TerminalState& s = state_;
  // A top below the bottom leaves the region as it was.
  if (top < 1) top = 1;
  if (top - 1 > bottom - 1) return;
  s.regionTop = top;
  s.regionBottom = bottom - 1;
  s.regionActive = true;
}

void Terminal::cancelScrollRegion() {
  TerminalState& s = state_;
  s.regionActive = false;
  s.regionScrollCount = -1;
  pages_.forgetRegionHistory();
}

void Terminal::drawLineOrBox(int cells, int rows, bool box) {
  const TerminalState& s = state_;
  if (s.column >= kDrawColumns) return;
  int maxCells = kDrawColumns - s.column;
  int maxRows = kRows - std::max(s.row, s.pageRow);
  cells = std::min(cells, maxCells);
  rows = std::min(rows, maxRows);
  if (box ? (cells <= 0 || rows <= 0) : (cells < 0 || rows < 0 || cells + rows <= 0)) return;
  target_.drawLine(s.column, s.row, page(), s.pageRow, cells, rows, box, s.textColour);
}

}  // namespace kesta::session
