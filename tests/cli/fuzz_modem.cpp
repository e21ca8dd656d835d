// Fuzz target: the modem emulator's command interpreter and its dial
// directory, driven as "kesta-cli modem" drives them but with a line that
// only records: what the terminal types, what the host sends, the clock,
// the host closing and DTR dropping, in any order.
//
// Input: a byte N, then N bytes of dial directory text; then events, each
// one byte: the top two bits choose it, the rest give its length or time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/modem/dial_directory.h"
#include "cli/modem/hayes_modem.h"

using namespace kesta::modem;

namespace {

class FuzzLine : public ModemLine {
 public:
  explicit FuzzLine(const DialDirectory& directory) : directory_(directory) {}
  void attach(const HayesModem* modem) { modem_ = modem; }

  void toTerminal(std::string_view bytes) override { toTerminalBytes += bytes.size(); }
  void toHost(std::string_view) override {
    if (!modem_->online()) __builtin_trap();  // only a call's data goes to the host
  }
  DialResult dial(const std::string& number) override {
    if (lineUp) __builtin_trap();  // a call is ended before another is placed
    if (number.empty() || number.front() == ' ' || number.back() == ' ') __builtin_trap();
    auto target = directory_.lookUp(number);
    if (target) {
      if (target->port < 1 || target->port > 65535 || target->host.empty()) __builtin_trap();
      lineUp = true;
      return DialResult::kConnected;
    }
    switch (number.size() % 3) {
      case 0: return DialResult::kBusy;
      case 1: return DialResult::kNoAnswer;
      default: return DialResult::kNoDialtone;
    }
  }
  void hangUp() override {
    if (!lineUp) __builtin_trap();  // only a call that is up is hung up
    lineUp = false;
  }
  void note(const std::string&) override {}

  bool lineUp = false;
  size_t toTerminalBytes = 0;

 private:
  const DialDirectory& directory_;
  const HayesModem* modem_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t tableSize = std::min<size_t>(data[0], size - 1);
  DialDirectory directory;
  std::string error;
  if (!directory.parse(std::string(reinterpret_cast<const char*>(data + 1), tableSize), &error)) {
    if (error.empty()) __builtin_trap();
    directory = DialDirectory{};
  }
  if (tableSize & 1) directory.setDefault(HostPort{"127.0.0.1", 2323});

  FuzzLine line(directory);
  HayesModem modem(line);
  line.attach(&modem);
  long long now = 0;
  size_t at = 1 + tableSize;
  size_t typed = 0;
  while (at < size) {
    uint8_t event = data[at++];
    unsigned low = event & 63;
    switch (event >> 6) {
      case 0:  // the terminal types up to 31 bytes, after a pause past the guard time or not
      case 1: {
        now += (event & 32) ? 1100 : 10;
        size_t count = std::min<size_t>(low & 31, size - at);
        if (event & 64) {  // typed one by one, 30 ms apart (an escape "+++" by hand)
          for (size_t i = 0; i < count; ++i, now += 30)
            modem.fromTerminal(std::string_view(reinterpret_cast<const char*>(data + at + i), 1), now);
        } else {
          modem.fromTerminal(std::string_view(reinterpret_cast<const char*>(data + at), count), now);
        }
        at += count;
        typed += count;
        break;
      }
      case 2:  // the clock runs on
        now += low * 50;
        modem.tick(now);
        break;
      default: {  // the host sends, the host goes, or DTR drops
        size_t count = std::min<size_t>(low >> 2, size - at);
        switch (low & 3) {
          case 0:
          case 1:
            modem.fromHost(std::string_view(reinterpret_cast<const char*>(data + at), count));
            at += count;
            break;
          case 2:
            if (modem.connected()) line.lineUp = false;  // the host's end closed
            modem.hostClosed();
            break;
          default:
            modem.dtrDropped();
            break;
        }
        break;
      }
    }
    if (modem.online() && !modem.connected()) __builtin_trap();
    if (modem.connected() != line.lineUp) __builtin_trap();
  }
  // What the modem says is bounded by what was typed: an echo, a result and
  // at most one short text for each command letter.
  if (line.toTerminalBytes > 64 * (typed + size) + 1024) __builtin_trap();
  return 0;
}
