// Throughput of the receive pipeline and the interpreter over an 8 MB
// stream such as a Korean bulletin board sends (colour SGRs, cursor
// positioning, erases, CR LF, KS Complete Hangul and English text), drawn
// into a target that does nothing; libvterm over the same bytes for
// comparison.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

extern "C" {
#include <vterm.h>
}

#include "app/session/receive_pipeline.h"
#include "app/session/silent_host.h"
#include "app/session/terminal.h"

namespace {

using namespace kesta::session;

// A Korean BBS screen stream, the same every run.
const std::string& bbsStream() {
  static const std::string stream = [] {
    std::mt19937 rng(20261207);
    std::string out;
    out.reserve(8u << 20);
    const char* english[] = {"Welcome", "to", "the", "board", "menu", "select", "[1]", "news", "mail", "chat",
                             "files", "GO", "Q", "help", "-----", "2026/12/07", "(c)"};
    auto hangulSyllable = [&] {
      // KS Complete: lead 0xB0-0xC8, second 0xA1-0xFE.
      out.push_back(static_cast<char>(0xB0 + rng() % 25));
      out.push_back(static_cast<char>(0xA1 + rng() % 94));
    };
    while (out.size() < (8u << 20)) {
      switch (rng() % 10) {
        case 0:
          out += "\x1b[" + std::to_string(30 + rng() % 8) + ";" + std::to_string(40 + rng() % 8) + "m";
          break;
        case 1:
          out += "\x1b[" + std::to_string(1 + rng() % 28) + ";" + std::to_string(1 + rng() % 70) + "H";
          break;
        case 2:
          out += rng() % 4 == 0 ? "\x1b[2J" : "\x1b[K";
          break;
        case 3:
          out += "\x1b[0m";
          break;
        default: {
          int words = 3 + rng() % 6;
          for (int w = 0; w < words; ++w) {
            if (rng() % 3 != 0) {
              int syllables = 1 + rng() % 4;
              for (int k = 0; k < syllables; ++k) hangulSyllable();
            } else {
              out += english[rng() % (sizeof english / sizeof english[0])];
            }
            out.push_back(' ');
          }
          out += "\r\n";
        }
      }
    }
    return out;
  }();
  return stream;
}

struct NullTarget : DrawTarget {
  PageId next = 1;
  void drawText(int, int, PageId, int, std::string_view text, Colour, Colour) override {
    benchmark::DoNotOptimize(text.data());
  }
  void blankCells(int, int, PageId, int, int, Colour) override {}
  void moveRows(int, PageId, int, int, int) override {}
  void moveCells(int, int, PageId, int, int) override {}
  void drawLine(int, int, PageId, int, int, int, bool, Colour) override {}
  PageId createPage(Colour) override { return next++; }
  void freePage(PageId) override {}
  void copyPageRow(PageId, int, PageId, int) override {}
  void scrollPageUp(PageId) override {}
  void blankPageRow(PageId, int, Colour) override {}
  void showPageRows(PageId, int, int, int) override {}
};


struct EmptyTable : AutoResponseSource {
  AutoResponseSlots slots{};
  bool load(AutoResponseSlots& out) override {
    out = slots;
    return true;
  }
};

void BM_KestaPipeline(benchmark::State& state) {
  const std::string& stream = bbsStream();
  const std::size_t chunk = static_cast<std::size_t>(state.range(0));
  NullTarget target;
  SilentHost host;
  EmptyTable table;
  Terminal terminal(target, host);
  terminal.setHostCode(6);
  ReceivePipeline pipeline(terminal, host, table);
  terminal.reset(0xFFFFFF, 0x7D0000);
  for (auto _ : state) {
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      pipeline.receive(stream.data() + at, std::min(chunk, stream.size() - at));
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(stream.size()));
}
BENCHMARK(BM_KestaPipeline)->Arg(4096)->Arg(80)->Unit(benchmark::kMillisecond);

// libvterm with its screen layer (the cells it keeps are its equivalent of
// our grid and drawing); bytes above 0x7F are single-byte characters to it.
void BM_LibvtermScreen(benchmark::State& state) {
  const std::string& stream = bbsStream();
  const std::size_t chunk = static_cast<std::size_t>(state.range(0));
  VTerm* vt = vterm_new(28, 80);
  vterm_set_utf8(vt, 0);
  VTermScreen* screen = vterm_obtain_screen(vt);
  vterm_screen_reset(screen, 1);
  for (auto _ : state) {
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      vterm_input_write(vt, stream.data() + at, std::min(chunk, stream.size() - at));
    }
  }
  vterm_free(vt);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(stream.size()));
}
BENCHMARK(BM_LibvtermScreen)->Arg(4096)->Arg(80)->Unit(benchmark::kMillisecond);

// libvterm's parser and state only, without the screen cells.
void BM_LibvtermState(benchmark::State& state) {
  const std::string& stream = bbsStream();
  VTerm* vt = vterm_new(28, 80);
  vterm_set_utf8(vt, 0);
  VTermState* vstate = vterm_obtain_state(vt);
  vterm_state_reset(vstate, 1);
  for (auto _ : state) {
    for (std::size_t at = 0; at < stream.size(); at += 4096) {
      vterm_input_write(vt, stream.data() + at, std::min<std::size_t>(4096, stream.size() - at));
    }
  }
  vterm_free(vt);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(stream.size()));
}
BENCHMARK(BM_LibvtermState)->Unit(benchmark::kMillisecond);

}  // namespace
