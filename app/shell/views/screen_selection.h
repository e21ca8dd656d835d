// Selecting screen text with the mouse: the anchor is the cell where the
// left button went down, the other end follows the pointer, and the
// selection runs between them in reading order whichever comes first. Both
// end cells are selected, and an end on half of a two-byte character takes
// the whole character. Reception is held from the first drag move until
// the selection ends, so the picture under the selection stays still.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/session/terminal.h"
#include "app/shell/views/reception_holds.h"
#include "app/shell/views/screen_pointer.h"

namespace kesta::shell {

// The character grid as selections and clicks read it.
class GridRows {
 public:
  virtual ~GridRows() = default;
  virtual std::string_view row(int row) const = 0;  // 80 bytes in the grid code
  virtual int gridCode() const = 0;
};

class TerminalGrid : public GridRows {
 public:
  explicit TerminalGrid(const session::Terminal& terminal) : terminal_(terminal) {}
  std::string_view row(int row) const override { return terminal_.gridRow(row); }
  int gridCode() const override { return terminal_.gridCode(); }

 private:
  const session::Terminal& terminal_;
};

class ScreenSelection {
 public:
  explicit ScreenSelection(ReceptionHolds& holds) : holds_(holds) {}

  // Left button down: a selection that exists ends first; a cell inside the
  // text area (none outside it) anchors a new drag. Returns whether a
  // selection was ended (the caret goes back to the input position).
  bool buttonDown(std::optional<GridCell> cell);
  // Pointer move with the button held. Returns true for the move that
  // starts the selection (the caret is hidden then).
  bool dragTo(GridCell cell, const GridRows& grid);
  void buttonUp() { dragging_ = false; }
  // Copy and Send: the selection ends and the reception it held goes on;
  // the selected text stays for a later Copy or Send.
  void end();

  bool dragging() const { return dragging_; }
  bool selecting() const { return selecting_; }
  // The selected bytes; rows are joined by CR LF. Empty until a selection is made.
  const std::string& text() const { return text_; }
  // The selected columns of `row` as [first, end), empty when the row has none.
  std::pair<int, int> columnsOn(int row) const;

 private:
  ReceptionHolds& holds_;
  bool dragging_ = false;
  bool selecting_ = false;
  GridCell anchor_;
  GridCell first_;
  GridCell last_;  // selected too
  std::string text_;
};

}  // namespace kesta::shell
