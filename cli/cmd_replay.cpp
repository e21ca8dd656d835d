// kesta-cli replay: feeds a captured session (the bytes a host sent) through
// the receive pipeline and the terminal interpreter in chunks, as a
// connection would deliver them, and prints the final screen as UTF-8 text,
// or with --trace every drawing request, one a line. With --telnet the file
// is a raw capture of a telnet socket: its commands are answered into
// nothing and stripped, and CR NUL is a bare CR, before the pipeline.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/session/cell_canvas.h"
#include "app/session/receive_pipeline.h"
#include "app/session/silent_host.h"
#include "app/session/telnet.h"
#include "app/session/telnet_reader.h"
#include "app/session/terminal.h"
#include "cli/args.h"
#include "cli/command.h"
#include "xlat/xlat.h"

namespace kesta::cli {
namespace {

using namespace kesta::session;

constexpr int kKsComplete = 6;
constexpr std::size_t kReadBlock = 1 << 16;

// A grid row or drawn text as UTF-8; control bytes show as ".".
std::string toUtf8(std::string_view text, int codeType) {
  std::string clean(text);
  for (char& c : clean) {
    bool shift = c == kShiftOut || c == kShiftIn;
    if ((static_cast<unsigned char>(c) < 0x20 && !(shift && codeType == kSevenBitCode)) || c == 0x7F) c = '.';
  }
  kesta::xlat::Code code;
  if (!kesta::xlat::codeForType(codeType, &code)) code = kesta::xlat::Code::Johab;
  return kesta::xlat::convert(code, kesta::xlat::Code::Utf8, clean);
}

std::string hexColour(Colour c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buffer;
}


struct NoTable : AutoResponseSource {
  bool load(AutoResponseSlots&) override { return false; }
};

// Prints every drawing request before the cell canvas carries it out.
class TracingCanvas : public CellCanvas {
 public:
  void drawText(int column, int windowRow, PageId page, int pageRow, std::string_view text, Colour textColour,
                Colour background) override {
    std::printf("text %d,%d page %u row %d %s on %s \"%s\"\n", column, windowRow, page, pageRow,
                hexColour(textColour).c_str(), hexColour(background).c_str(), toUtf8(text, kInternalCode).c_str());
    CellCanvas::drawText(column, windowRow, page, pageRow, text, textColour, background);
  }
  void blankCells(int column, int windowRow, PageId page, int pageRow, int count, Colour background) override {
    std::printf("blank %d,%d page %u row %d count %d %s\n", column, windowRow, page, pageRow, count,
                hexColour(background).c_str());
    CellCanvas::blankCells(column, windowRow, page, pageRow, count, background);
  }
  void moveRows(int windowRow, PageId page, int pageRow, int rowCount, int delta) override {
    std::printf("move-rows %d page %u row %d count %d by %d\n", windowRow, page, pageRow, rowCount, delta);
    CellCanvas::moveRows(windowRow, page, pageRow, rowCount, delta);
  }
  void moveCells(int column, int windowRow, PageId page, int pageRow, int delta) override {
    std::printf("move-cells %d,%d page %u row %d by %d\n", column, windowRow, page, pageRow, delta);
    CellCanvas::moveCells(column, windowRow, page, pageRow, delta);
  }
  void drawLine(int column, int windowRow, PageId page, int pageRow, int cells, int rows, bool box,
                Colour colour) override {
    std::printf("%s %d,%d page %u row %d size %dx%d %s\n", box ? "box" : "line", column, windowRow, page, pageRow,
                cells, rows, hexColour(colour).c_str());
    CellCanvas::drawLine(column, windowRow, page, pageRow, cells, rows, box, colour);
  }
  PageId createPage(Colour background) override {
    PageId id = CellCanvas::createPage(background);
    std::printf("create-page %u %s\n", id, hexColour(background).c_str());
    return id;
  }
  void freePage(PageId page) override {
    std::printf("free-page %u\n", page);
    CellCanvas::freePage(page);
  }
  void copyPageRow(PageId from, int fromRow, PageId to, int toRow) override {
    std::printf("copy-row page %u row %d to page %u row %d\n", from, fromRow, to, toRow);
    CellCanvas::copyPageRow(from, fromRow, to, toRow);
  }
  void scrollPageUp(PageId page) override {
    std::printf("scroll-page %u\n", page);
    CellCanvas::scrollPageUp(page);
  }
  void blankPageRow(PageId page, int row, Colour background) override {
    std::printf("blank-page-row %u row %d %s\n", page, row, hexColour(background).c_str());
    CellCanvas::blankPageRow(page, row, background);
  }
  void showPageRows(PageId page, int pageRow, int rowCount, int windowRow) override {
    std::printf("show page %u rows %d+%d at %d\n", page, pageRow, rowCount, windowRow);
    CellCanvas::showPageRows(page, pageRow, rowCount, windowRow);
  }
};

constexpr const char* kUsage =
    "usage: kesta-cli replay [--code N] [--rows 28|24] [--chunk N] [--telnet] [--trace] FILE\n"
    "Feeds the bytes a host sent (FILE, or - for standard input) through the receive\n"
    "pipeline and the terminal interpreter and prints the final screen as UTF-8,\n"
    "then the cursor position and the colours.\n"
    "  --code N    the host's Hangul code type, 1 to 7 or 9 for UTF-8 (default 6, KS Complete)\n"
    "  --rows R    28 terminal rows, or 24 as with the chat window shown (default 28)\n"
    "  --chunk N   bytes per received chunk, 1 to 4096 (default 80, as from a serial port)\n"
    "  --telnet    FILE is a raw capture of a telnet socket: telnet commands are\n"
    "              stripped (answered into nothing) and CR NUL is a bare CR\n"
    "  --trace     print every drawing request, one a line, instead of the screen\n";

int runReplay(int argc, char** argv) {
  Args args({"--code", "--rows", "--chunk"}, {"--trace", "--telnet"});
  if (!args.parse(argc, argv)) return usageError("replay", args.error());
  if (args.wantsHelp()) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  long code = kKsComplete, rows = kRows, chunk = 80;
  if (!args.intValue("--code", 1, 9, &code) || !args.intValue("--rows", kChatRows, kRows, &rows) ||
      !args.intValue("--chunk", 1, 4096, &chunk))
    return usageError("replay", args.error());
  if (code == 8) return usageError("replay", "--code must be 1 to 7 or 9 (8 is no host's code)");
  if (rows != kRows && rows != kChatRows) return usageError("replay", "--rows must be 28 or 24");
  if (args.positional().size() != 1) return usageError("replay", "give exactly one capture FILE");

  const std::string& path = args.positional()[0];
  std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "kesta-cli replay: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
    return kExitFailure;
  }

  const bool trace = args.has("--trace");
  TracingCanvas tracing;
  CellCanvas quiet;
  CellCanvas& canvas = trace ? tracing : quiet;
  SilentHost host;
  NoTable table;
  Terminal terminal(canvas, host, kesta::xlat::convertInPlace);
  ReceivePipeline pipeline(terminal, host, table);
  terminal.setHostCode(static_cast<int>(code));
  terminal.reset(rgb(255, 255, 255), rgb(0, 0, 0x7D));
  terminal.setChatMode(rows == kChatRows);

  TelnetProtocol protocol(host);
  TelnetReader reader(protocol, pipeline);
  const bool telnet = args.has("--telnet");
  if (telnet) protocol.connectionOpened();
  // The input is read in blocks of whole chunks, so every chunk but the
  // last has the size asked for.
  const std::size_t chunkSize = static_cast<std::size_t>(chunk);
  std::vector<char> block(chunkSize * std::max<std::size_t>(1, kReadBlock / chunkSize));
  std::size_t got;
  while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
    for (std::size_t at = 0; at < got; at += chunkSize) {
      std::size_t length = std::min(got - at, chunkSize);
      if (telnet) {
        reader.received(reinterpret_cast<const std::uint8_t*>(block.data() + at), length);
      } else {
        pipeline.receive(block.data() + at, length);
      }
    }
  }
  bool failed = std::ferror(file) != 0;
  if (file != stdin) std::fclose(file);
  if (failed) {
    std::fprintf(stderr, "kesta-cli replay: cannot read %s\n", path.c_str());
    return kExitFailure;
  }
  if (trace) return kExitOk;

  for (int r = 0; r < terminal.terminalRows(); ++r) {
    std::string line = toUtf8(terminal.gridRow(r), terminal.gridCode());
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::printf("%s\n", line.c_str());
  }
  const TerminalState& state = terminal.state();
  std::printf("cursor: row %d column %d\n", state.row, state.column);
  std::printf("colours: text %s background %s\n", hexColour(state.textColour).c_str(),
              hexColour(state.backgroundColour).c_str());
  return kExitOk;
}

}  // namespace

KESTA_CLI_COMMAND("replay", "replay a captured session through the terminal and print the screen", runReplay);

}  // namespace kesta::cli
