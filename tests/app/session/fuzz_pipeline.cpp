// Fuzz target: arbitrary received bytes through the receive pipeline and
// the interpreter, in chunks of a size taken from the input, onto a cell
// canvas. The cursor must stay on the screen and the page store within its
// bounds whatever arrives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/session/cell_canvas.h"
#include "app/session/receive_pipeline.h"
#include "tests/app/session/session_fixture.h"

using namespace kesta::session;
using namespace kesta::session::testing;

namespace {
void check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  Session s;
  std::size_t chunk = 1 + data[0] % 97;
  std::uint8_t flags = data[1];
  s.terminal.setChatMode(flags & 1);
  if (flags & 2) s.terminal.setConverter(doublingConverter);
  s.terminal.setHostCode(flags & 4 ? 5 : 1);
  s.terminal.setSearch(flags & 8, "\x1b[m");
  s.terminal.setTextCapture(flags & 16);
  s.pipeline.setRawCapture(flags & 32);
  s.table.slots[0] = AutoResponseSlot{true, "ab", "answer"};
  s.table.slots[1] = AutoResponseSlot{true, "", "never"};
  data += 2;
  size -= 2;
  for (std::size_t at = 0; at < size; at += chunk) {
    std::size_t length = size - at < chunk ? size - at : chunk;
    s.pipeline.receive(reinterpret_cast<const char*>(data + at), length);
    const TerminalState& st = s.terminal.state();
    check(st.row >= 0 && st.row < s.terminal.terminalRows());
    check(st.pageRow >= 0 && st.pageRow < kRows);
    check(st.column >= 0);
    check(st.displayOffset >= 0 && st.displayOffset < kRows);
    check(s.terminal.pages().count() >= 1 && s.terminal.pages().count() <= PageStore::kMaxPages);
    check(s.canvas.pageCount() == static_cast<std::size_t>(s.terminal.pages().count()));
  }
  return 0;
}
