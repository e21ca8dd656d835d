// Fuzz target: a whole receiving session, the fuzz bytes being everything
// the sender says. Files go to a fresh folder inside a temporary directory;
// the session must end once the bytes run out, create nothing outside its
// folder, and write no more than the sender sent.
//
// Input: a byte of options (bit 0: UTF-8 names; bit 1: a telnet line;
// bits 2-3: how many bytes arrive at once; bits 4-5: silent waits after the
// end before the line closes), then the sender's bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/fuzz_temp_dir.h"
#include "zlink/channel.h"
#include "zlink/progress.h"
#include "zlink/protocol.h"
#include "zlink/session.h"

namespace fs = std::filesystem;
using namespace kesta::zlink;

namespace {

// The sender's side: its bytes in blocks, then a few silent waits, then the
// end of the connection. What the receiver writes is counted, not kept. A
// discard keeps what is to come: the fuzz bytes stand for what arrives later.
class ScriptChannel : public ByteChannel {
 public:
  ScriptChannel(const uint8_t* data, size_t size, size_t block, int silences)
      : at_(data), end_(data + size), block_(block), silences_(silences) {}
  int readByte(int waitMs) override {
    uint8_t b;
    int n = readSome(&b, 1, waitMs);
    return n > 0 ? b : n;
  }
  int readSome(uint8_t* buffer, int max, int) override {
    if (max <= 0) return 0;
    ++reads;
    if (at_ == end_) return silences_-- > 0 ? kNoByte : kClosed;
    size_t n = std::min({static_cast<size_t>(max), block_, static_cast<size_t>(end_ - at_)});
    std::copy_n(at_, n, buffer);
    at_ += n;
    return static_cast<int>(n);
  }
  bool write(const uint8_t*, size_t size) override {
    written += size;
    return true;
  }
  void discardInput() override {}
  void discardOutput() override {}

  size_t reads = 0;
  size_t written = 0;

 private:
  const uint8_t* at_;
  const uint8_t* end_;
  size_t block_;
  int silences_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  const fs::path& base = kesta::test::fuzzTempDirectory("receiver-fuzz");
  const fs::path into = base / "in";
  std::error_code ec;
  fs::remove_all(base, ec);
  fs::create_directories(into, ec);
  if (ec) std::abort();

  static const size_t kBlocks[] = {1, 7, 64, 4096};
  ScriptChannel channel(data + 1, size - 1, kBlocks[(options >> 2) & 3], ((options >> 4) & 3) * 8);
  SilentReporter reporter;
  long seconds = 0;
  SessionConfig config;
  config.channel = &channel;
  config.reporter = &reporter;
  config.utf8Names = options & 1;
  config.telnet = options & 2;
  config.timing = Timing{1, 3};
  config.clock = [&] { return seconds++; };
  int result = receiveFiles(config, into.string());

  switch (result) {
    case kResultSuccess: case kResultCannotCreate: case kResultFailed: case kResultPeerAborted: case kResultFileError:
      break;
    default:
      __builtin_trap();  // nobody cancelled
  }
  // Every read but the last few took bytes: the session ends with its input.
  if (channel.reads > size + 64) __builtin_trap();
  // Nothing outside the folder, and no more written than was sent.
  uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(base, ec))
    if (entry.path() != into) __builtin_trap();
  for (const auto& entry : fs::recursive_directory_iterator(into, ec)) {
    if (!entry.is_regular_file(ec)) __builtin_trap();  // a name never makes a folder
    bytes += entry.file_size(ec);
  }
  if (bytes > size) __builtin_trap();
  return 0;
}
