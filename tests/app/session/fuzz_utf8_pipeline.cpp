// Fuzz target: arbitrary bytes from a UTF-8 host through the receive
// pipeline with the real code converter. Received in chunks of a size taken
// from the input, they must give the grid and the window that the same
// bytes give in one chunk, whatever sequences the chunks cut. (NUL bytes
// become blanks: a NUL ends the text of a run, wherever the read cut it,
// for every host code alike. The finals L, M, @ and P become l, m, ` and p:
// they move the picture without drawing the text still waiting in the run,
// which a read's end draws, so for them where a read ends shows, for every
// host code alike; see TerminalEdit.PendingTextIsDrawnAfterANonFlushingFinal.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tests/app/session/session_fixture.h"
#include "xlat/xlat.h"

using namespace kesta::session;
using namespace kesta::session::testing;

namespace {
void check(bool ok) {
  if (!ok) std::abort();
}

void receiveAll(Session& s, const std::uint8_t* data, std::size_t size, std::size_t chunk) {
  s.terminal.setConverter(kesta::xlat::convertInPlace);
  s.terminal.setHostCode(kUtf8Code);
  for (std::size_t at = 0; at < size; at += chunk) {
    std::size_t length = size - at < chunk ? size - at : chunk;
    s.pipeline.receive(reinterpret_cast<const char*>(data + at), length);
    check(s.terminal.state().row >= 0 && s.terminal.state().row < kRows);
  }
  // What a last chunk left incomplete is finished by a line end.
  s.pipeline.receive("\r\n", 2);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::size_t chunk = 1 + data[0] % 7;
  std::vector<std::uint8_t> bytes(data + 1, data + size);
  for (auto& b : bytes) {
    if (b == 0) b = ' ';
    if (b == 'L' || b == 'M' || b == '@' || b == 'P') b = static_cast<std::uint8_t>(b + 0x20);
  }
  Session whole, cut;
  receiveAll(whole, bytes.data(), bytes.size(), bytes.size() + 1);
  receiveAll(cut, bytes.data(), bytes.size(), chunk);
  for (int r = 0; r < kRows; ++r) check(whole.grid(r) == cut.grid(r));
  check(whole.canvas.window() == cut.canvas.window());
  return 0;
}
