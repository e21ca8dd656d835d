// 64 MB over a loopback socket pair: our receiver fed by lrzsz's sz against
// rz fed by sz, and our sender into rz against sz into rz.
//
//   build/native/tests/zlink/zlink_bench
#include <benchmark/benchmark.h>

#include <csignal>

#include "tests/zlink/lrzsz_harness.h"
#include "tests/zlink/test_channels.h"
#include "zlink/fd_channel.h"
#include "zlink/session.h"

namespace kesta::zlink {
namespace {

using namespace test;

constexpr size_t kSize = 64 * 1024 * 1024;

// One source file for every run.
const TempDir& source() {
  static TempDir dir;
  static bool made = false;
  if (!made) {
    writeFile(dir.path() / "big.bin", randomBytes(kSize, 64));
    made = true;
  }
  return dir;
}

SessionConfig configFor(ByteChannel& channel) {
  static SilentReporter silent;
  SessionConfig c;
  c.channel = &channel;
  c.reporter = &silent;
  c.timing = {100, 100};
  return c;
}

void finish(benchmark::State& state, bool ok, const TempDir& to) {
  auto size = std::filesystem::file_size(to.path() / "big.bin");
  if (!ok || size != kSize) state.SkipWithError("transfer failed");
  state.SetBytesProcessed(static_cast<int64_t>(kSize));
}

void BM_SzIntoOurReceiver(benchmark::State& state) {
  std::signal(SIGPIPE, SIG_IGN);
  const TempDir& from = source();
  for (auto _ : state) {
    TempDir to;
    SocketPair pair;
    Child sz({"sz", "-q", "big.bin"}, from.str(), pair.fd[1]);
    pair.closeEnd(1);
    FdChannel channel(pair.fd[0], pair.fd[0]);
    int result = receiveFiles(configFor(channel), to.str());
    bool ok = sz.wait(600) == 0 && result == kResultSuccess;
    finish(state, ok, to);
  }
}

void BM_SzIntoRz(benchmark::State& state) {
  const TempDir& from = source();
  for (auto _ : state) {
    TempDir to;
    SocketPair pair;
    Child sz({"sz", "-q", "big.bin"}, from.str(), pair.fd[1]);
    Child rz({"rz", "-q", "-y"}, to.str(), pair.fd[0]);
    pair.closeEnd(0);
    pair.closeEnd(1);
    bool ok = sz.wait(600) == 0;
    ok = rz.wait(600) == 0 && ok;
    finish(state, ok, to);
  }
}

void BM_OurSenderIntoRz(benchmark::State& state) {
  std::signal(SIGPIPE, SIG_IGN);
  const TempDir& from = source();
  for (auto _ : state) {
    TempDir to;
    SocketPair pair;
    Child rz({"rz", "-q", "-y"}, to.str(), pair.fd[1]);
    pair.closeEnd(1);
    FdChannel channel(pair.fd[0], pair.fd[0]);
    int result = sendFile(configFor(channel), (from.path() / "big.bin").string());
    pair.closeEnd(0);
    bool ok = rz.wait(600) == 0 && result == kResultSuccess;
    finish(state, ok, to);
  }
}

BENCHMARK(BM_SzIntoOurReceiver)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SzIntoRz)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OurSenderIntoRz)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kesta::zlink
