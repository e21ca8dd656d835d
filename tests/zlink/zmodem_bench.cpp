// ZMODEM throughput against lrzsz, each figure beside its reference in one run:
//   - kesta-cli sz into rz, beside sz into rz: 16 MB over a socket pair, and
//     2 MB through a relay that holds each direction 5 ms (a line with latency);
//   - sz into kesta-cli rz, beside sz into rz: 32 MB over a socket pair;
//   - the in-process engine (no process start) both ways, 64 MB;
//   - the three program pairs again in turns (BM_*Beside*), with our speed
//     as a share of lrzsz's, which holds up better on a loaded machine.
//
//   build/native/tests/zlink/zlink_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <map>

#include "tests/zlink/lrzsz_harness.h"
#include "tests/zlink/test_channels.h"
#include "zlink/fd_channel.h"
#include "zlink/session.h"

namespace kesta::zlink {
namespace {

using namespace test;

const std::string kCli = KESTA_CLI_PATH;
constexpr size_t kMb = 1024 * 1024;

// One source file of each size for every run.
const TempDir& source() {
  static TempDir dir;
  return dir;
}
std::string sourceFile(size_t size) {
  static std::map<size_t, std::string> made;
  auto& name = made[size];
  if (name.empty()) {
    name = "f" + std::to_string(size) + ".bin";
    writeFile(source().path() / name, randomBytes(size, 64));
  }
  return name;
}

SessionConfig configFor(ByteChannel& channel) {
  static SilentReporter silent;
  SessionConfig c;
  c.channel = &channel;
  c.reporter = &silent;
  c.timing = {100, 100};
  c.stream = true;
  return c;
}

void finish(benchmark::State& state, bool ok, const TempDir& to, const std::string& name, size_t size) {
  std::error_code e;
  if (!ok || std::filesystem::file_size(to.path() / name, e) != size) state.SkipWithError("transfer failed");
  state.SetBytesProcessed(static_cast<int64_t>(size));
}

// One transfer between a sender and a receiver program, each on its own end,
// directly or through a relay; its wall time in seconds, or -1 when it failed.
double transfer(bool cliSends, bool cliReceives, size_t size, int delayMs) {
  std::signal(SIGPIPE, SIG_IGN);
  const std::string name = sourceFile(size);
  const std::string file = (source().path() / name).string();
  TempDir to;
  const auto start = std::chrono::steady_clock::now();
  {
    SocketPair a, b;
    const int senderFd = a.fd[0];
    const int receiverFd = delayMs > 0 ? b.fd[0] : a.fd[1];
    std::unique_ptr<Relay> relay;
    if (delayMs > 0) relay = std::make_unique<Relay>(a.fd[1], b.fd[1], 0, 1, false, delayMs);
    Child sender(cliSends ? std::vector<std::string>{kCli, "sz", file} : std::vector<std::string>{"sz", "-q", name},
                 source().str(), senderFd);
    Child receiver(cliReceives ? std::vector<std::string>{kCli, "rz", to.str()}
                               : std::vector<std::string>{"rz", "-q", "-y"},
                   to.str(), receiverFd);
    a.closeEnd(0);
    b.closeEnd(0);
    if (delayMs == 0) a.closeEnd(1);
    bool ok = sender.wait(600) == 0;
    ok = receiver.wait(600) == 0 && ok;
    if (relay) relay->stop();
    std::error_code e;
    if (!ok || std::filesystem::file_size(to.path() / name, e) != size) return -1;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Our program and lrzsz's in turns, one transfer each per iteration, so
// that a change in the machine's load falls on both alike: the mean wall
// times and our speed as a share of lrzsz's (above 1: faster).
void sideBySide(benchmark::State& state, bool cliSends, bool cliReceives, size_t size, int delayMs) {
  double ours = 0, theirs = 0;
  for (auto _ : state) {
    const double a = transfer(cliSends, cliReceives, size, delayMs);
    const double b = transfer(false, false, size, delayMs);
    if (a < 0 || b < 0) {
      state.SkipWithError("transfer failed");
      return;
    }
    ours += a;
    theirs += b;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ours_ms"] = ours / n * 1000;
  state.counters["lrzsz_ms"] = theirs / n * 1000;
  state.counters["speed_vs_lrzsz"] = theirs / ours;
}

void BM_CliSzBesideSz16(benchmark::State& s) { sideBySide(s, true, false, 16 * kMb, 0); }
void BM_CliSzBesideSzDelayed5ms(benchmark::State& s) { sideBySide(s, true, false, 2 * kMb, 5); }
void BM_CliRzBesideRz32(benchmark::State& s) { sideBySide(s, false, true, 32 * kMb, 0); }

// A sender and a receiver program, each on its own end, directly or through a relay.
void programs(benchmark::State& state, bool cliSends, bool cliReceives, size_t size, int delayMs) {
  std::signal(SIGPIPE, SIG_IGN);
  const std::string name = sourceFile(size);
  const std::string file = (source().path() / name).string();
  for (auto _ : state) {
    TempDir to;
    SocketPair a, b;
    const int senderFd = a.fd[0];
    const int receiverFd = delayMs > 0 ? b.fd[0] : a.fd[1];
    std::unique_ptr<Relay> relay;
    if (delayMs > 0) relay = std::make_unique<Relay>(a.fd[1], b.fd[1], 0, 1, false, delayMs);
    Child sender(cliSends ? std::vector<std::string>{kCli, "sz", file} : std::vector<std::string>{"sz", "-q", name},
                 source().str(), senderFd);
    Child receiver(cliReceives ? std::vector<std::string>{kCli, "rz", to.str()}
                               : std::vector<std::string>{"rz", "-q", "-y"},
                   to.str(), receiverFd);
    a.closeEnd(0);
    b.closeEnd(0);
    if (delayMs == 0) a.closeEnd(1);
    bool ok = sender.wait(600) == 0;
    ok = receiver.wait(600) == 0 && ok;
    if (relay) relay->stop();
    finish(state, ok, to, name, size);
  }
}

void BM_CliSzIntoRz(benchmark::State& s) { programs(s, true, false, 16 * kMb, 0); }
void BM_SzIntoRz(benchmark::State& s) { programs(s, false, false, 16 * kMb, 0); }
void BM_CliSzIntoRzDelayed5ms(benchmark::State& s) { programs(s, true, false, 2 * kMb, 5); }
void BM_SzIntoRzDelayed5ms(benchmark::State& s) { programs(s, false, false, 2 * kMb, 5); }
void BM_SzIntoCliRz32(benchmark::State& s) { programs(s, false, true, 32 * kMb, 0); }
void BM_SzIntoRz32(benchmark::State& s) { programs(s, false, false, 32 * kMb, 0); }

void BM_SzIntoOurReceiver(benchmark::State& state) {
  std::signal(SIGPIPE, SIG_IGN);
  const std::string name = sourceFile(64 * kMb);
  for (auto _ : state) {
    TempDir to;
    SocketPair pair;
    Child sz({"sz", "-q", name}, source().str(), pair.fd[1]);
    pair.closeEnd(1);
    FdChannel channel(pair.fd[0], pair.fd[0]);
    int result = receiveFiles(configFor(channel), to.str());
    bool ok = sz.wait(600) == 0 && result == kResultSuccess;
    finish(state, ok, to, name, 64 * kMb);
  }
}

void BM_OurSenderIntoRz(benchmark::State& state) {
  std::signal(SIGPIPE, SIG_IGN);
  const std::string name = sourceFile(64 * kMb);
  for (auto _ : state) {
    TempDir to;
    SocketPair pair;
    Child rz({"rz", "-q", "-y"}, to.str(), pair.fd[1]);
    pair.closeEnd(1);
    FdChannel channel(pair.fd[0], pair.fd[0]);
    int result = sendFile(configFor(channel), (source().path() / name).string());
    pair.closeEnd(0);
    bool ok = rz.wait(600) == 0 && result == kResultSuccess;
    finish(state, ok, to, name, 64 * kMb);
  }
}

#define KESTA_PAIR(a) BENCHMARK(a)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime()
KESTA_PAIR(BM_CliSzIntoRz);
KESTA_PAIR(BM_SzIntoRz);
KESTA_PAIR(BM_CliSzIntoRzDelayed5ms);
KESTA_PAIR(BM_SzIntoRzDelayed5ms);
KESTA_PAIR(BM_SzIntoCliRz32);
KESTA_PAIR(BM_SzIntoRz32);
KESTA_PAIR(BM_SzIntoOurReceiver);
KESTA_PAIR(BM_OurSenderIntoRz);
BENCHMARK(BM_CliSzBesideSz16)->Iterations(6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliSzBesideSzDelayed5ms)->Iterations(6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliRzBesideRz32)->Iterations(6)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kesta::zlink
