// Throughput of the receive pipeline and the interpreter over an 8 MB
// stream such as a Korean bulletin board sends (colour SGRs, cursor
// positioning, erases, CR LF, KS Complete Hangul and English text), drawn
// into a target that does nothing; libvterm over the same bytes for
// comparison.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

extern "C" {
#include <vterm.h>
}

#include "app/session/receive_pipeline.h"
#include "app/session/settings_auto_response.h"
#include "app/settings/auto_response.h"
#include "app/settings/profile.h"
#include "app/session/silent_host.h"
#include "app/session/terminal.h"
#include "tests/app/session/bbs_stream.h"

namespace {

using namespace kesta::session;
using kesta::session::bench::bbsStream;
namespace fs = std::filesystem;

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


// A full auto-response table such as a user keeps (log-in name, password,
// menu answers), none of whose triggers the stream happens to contain, in
// a real "\env\kesta.aut" that the pipeline asks after on every chunk.
struct UserTableFile {
  UserTableFile() : root(fs::temp_directory_path() / ("kbench" + std::to_string(getpid()))), profile(root.string()) {
    fs::create_directories(root / "env");
    const char* references[] = {"login:", "Password:", "(Y/N)?", "[more]", "Select:", "ID :", "PW :", "Q)uit"};
    const char* transfers[] = {"guest", "secret", "Y", " ", "1", "kesta", "kesta20", "Q"};
    kesta::settings::AutoResponseTable table;
    for (int i = 0; i < kAutoResponseSlots; ++i) table.rows[i] = {true, references[i], transfers[i]};
    kesta::settings::writeAutoResponseTable(files, table);
    // Written an hour ago, as a table usually was.
    fs::last_write_time(root / "env" / "kesta.aut", fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  ~UserTableFile() { fs::remove_all(root); }
  fs::path root;
  kesta::settings::FixedHomeProfile profile;
  kesta::settings::SettingsFiles files{profile, kesta::settings::hostFileStore()};
  SettingsAutoResponseSource source{files};
};

// A key state that costs what a call into the window system costs (some
// hundred nanoseconds), as GetAsyncKeyState does.
struct CostlyKeysHost : SilentHost {
  bool keyDown(int key) override {
    volatile int spin = 0;
    for (int i = 0; i < 200; ++i) spin = spin + i;
    return key == 0 && spin < 0;
  }
};

void BM_KestaPipeline(benchmark::State& state) {
  const std::string& stream = bbsStream();
  const std::size_t chunk = static_cast<std::size_t>(state.range(0));
  NullTarget target;
  CostlyKeysHost host;
  UserTableFile tableFile;
  AutoResponseSource& table = tableFile.source;
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
