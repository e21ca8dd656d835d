// The terminal interpreter: turns received bytes into text on an 80 by 28
// screen. Printable bytes gather into a pending run that is converted from
// the host code and drawn in one piece whenever the cursor must move and at
// the end of every chunk, so that both bytes of a Hangul syllable always
// reach the converter together. It keeps the character grid (the bytes as
// received), the window and the current page of the page store in step.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/session/draw_target.h"
#include "app/session/page_store.h"
#include "app/session/session_host.h"
#include "app/session/terminal_types.h"

namespace kesta::session {

inline constexpr int kParameterSlots = 10;
// A run holds a whole telnet chunk (4096 bytes and a carried lead byte);
// a longer run is flushed when the buffer is full.
inline constexpr int kRunCapacity = 4224;
inline constexpr int kSevenBitCode = 7;   // KS X 1001 in 7 bits between shift-out and shift-in
inline constexpr char kShiftOut = 0x0E;
inline constexpr char kShiftIn = 0x0F;
// The welcome picture fills the first 20 rows of the first page.
inline constexpr int kWelcomePictureRows = 20;
// The last terminal row while the chat window is open.
inline constexpr int kLastChatTerminalRow = kChatRows - 1;

// The eight colours of SGR 30-37 and 40-47 and the sixteen of ESC [ = n F/G.
extern const std::array<Colour, 8> kSgrColours;
extern const std::array<Colour, 16> kPrivateColours;
inline constexpr Colour kHighlightBackground = rgb(100, 100, 100);
inline constexpr Colour kHighlightText = rgb(0, 0, 0);

struct TerminalState {
  int column = 0;
  int row = 0;
  int pageRow = 0;
  int runStartColumn = 0;
  bool escape = false;
  bool sequence = false;
  std::array<int, kParameterSlots> parameters{};
  int parameterIndex = 0;
  bool parametersOverflowed = false;  // more than ten parameters: the rest are ignored
  bool privateFlag = false;
  Colour textColour = 0;
  Colour backgroundColour = 0;
  Colour resetTextColour = 0;
  Colour resetBackgroundColour = 0;
  bool attributeChanged = false;
  bool sgrSeen = false;
  int savedColumn = 0;
  int savedRow = 0;
  int savedPageRow = 0;
  Colour savedTextColour = 0;
  Colour savedBackgroundColour = 0;
  bool regionActive = false;
  int regionTop = 0;     // 1-based, as received
  int regionBottom = 0;  // 0-based
  int regionScrollCount = -1;
  int displayOffset = 0;
  bool chatMode = false;
};

class Terminal {
 public:
  Terminal(DrawTarget& target, TerminalRoles roles, Converter convert = identityConverter);

  // The main window's creation: colours from the colour settings (current,
  // reset and saved), an empty grid and the first page of the page store.
  void reset(Colour text, Colour background);

  // Settings that other parts of the program change.
  void setHostCode(int codeType) {
    hostCode_ = codeType;
    sevenBitShifted_ = false;
    heldLead_.reset();
    continuation_.reset();
  }
  int hostCode() const { return hostCode_; }
  // The code of the bytes the interpreter takes and the grid keeps: the host
  // code, or the internal code for a UTF-8 host.
  int gridCode() const { return hostCode_ == kUtf8Code ? kInternalCode : hostCode_; }
  void setConverter(Converter convert) { convert_ = convert ? convert : identityConverter; }
  Converter converter() const { return convert_; }
  void setSearch(bool enabled, std::string_view internalText);
  void setTextCapture(bool on) {
    textCapture_ = on;
    captureLead_.reset();
  }
  void setChatMode(bool on);
  // The colour commands: current colours and the colours saved by ESC [ s.
  void setColours(Colour text, Colour background);
  // The user chose new colours: they become the current, saved and reset
  // colours, so SGR 0 comes back to them.
  void setUserColours(Colour text, Colour background);

  // The start-up position: cursor row and page row just below the welcome
  // picture that fills the first rows of the first page.
  void startBelowPicture(int pictureRows = kWelcomePictureRows);

  // The chat window (command 105). Opening moves the text up so that the
  // cursor row is at most 23 (the grid shifts, the display offset grows by
  // the same lines) and repaints 24 rows; closing gives the rows back when
  // the offset allows and repaints 28 rows. Caret, hint bar and chat lines
  // are the window's.
  void openChat();
  void closeChat();

  // One chunk: beginChunk, every byte in order, then endChunk; abandonChunk
  // instead of endChunk when the receive pipeline stops the chunk early.
  void beginChunk();
  void interpretByte(unsigned char byte);
  void interpretBytes(const char* bytes, std::size_t count);  // interpretByte for each, in order
  void endChunk();
  void abandonChunk();
  // Around a command that runs inside a chunk (the download): the text so
  // far is drawn and the drawing pass closed, so that chunks received while
  // the command runs are drawn after it and in order; resumeChunk goes on
  // from wherever they left the cursor.
  void pauseChunk();
  void resumeChunk();
  // The three steps for a whole chunk.
  void interpret(const char* bytes, std::size_t count);

  const TerminalState& state() const { return state_; }
  int terminalRows() const { return state_.chatMode ? kChatRows : kRows; }
  // A row of the character grid: 80 bytes in the grid code.
  std::string_view gridRow(int row) const;
  PageStore& pages() { return pages_; }
  std::string_view pendingRun() const { return {run_.data(), static_cast<std::size_t>(runLength_)}; }

 private:
  void textByte(unsigned char byte, bool capture);
  void appendText(const char* text, std::size_t length);
  void controlSequenceFinal(unsigned char final);
  void flush();
  bool runEndsInsideSevenBitPair() const;
  void lineFeed();
  void clearScreen();
  void eraseInDisplay(int mode);
  void eraseInLine(int mode);
  void insertLines(int count);
  void deleteLines(int count);
  void insertCharacters(int count);
  void deleteCharacters(int count);
  void selectGraphicRendition();
  void setScrollRegion(int top, int bottom);
  void cancelScrollRegion();
  void drawLineOrBox(int cells, int rows, bool box);
  void drawSearchHighlight();
  void capture(unsigned char byte);
  void shiftGridUp(int lines);
  void shiftGridDown(int lines);

  // Drawing helpers: one call to the target, both surfaces.
  void blankRow(int windowRow, int pageRow, int fromColumn, int count);
  void clearGridRow(int row) { grid_[row].fill(' '); }
  void moveBand(int rowCount, int delta);
  int pageRowFor(int windowRow) const;
  PageId page() const { return pages_.currentPage(); }

  DrawTarget& target_;
  TerminalRoles roles_;
  Converter convert_;
  PageStore pages_;
  TerminalState state_;
  std::array<std::array<char, kColumns>, kRows> grid_{};
  std::array<char, kRunCapacity + 1> run_{};
  int runLength_ = 0;
  std::array<char, 2 * kRunCapacity + 16> converted_{};
  int hostCode_ = kInternalCode;
  bool sevenBitShifted_ = false;  // a 7-bit host's text is inside a shift-out
  std::optional<char> heldLead_;  // the first byte of a 7-bit pair cut by the chunk's end
  // Where the text of the last chunk ended: its row, the grid column the
  // next run starts at, and the screen column its drawing ended at.
  struct Continuation {
    int row;
    int byteColumn;
    int drawColumn;
  };
  std::optional<Continuation> continuation_;
  int lastDrawEnd_ = 0;
  bool textCapture_ = false;
  std::optional<char> captureLead_;  // a UTF-8 host's captured character waiting for its second byte
  bool searchEnabled_ = false;
  std::string searchInternal_;  // the user's search string, internal code
  std::string searchHost_;      // the same converted to the host code
  int searchHostCode_ = -1;     // host code `searchHost_` was made for
  int searchMatched_ = 0;
};

}  // namespace kesta::session
