// A Hayes-style modem's command interpreter and escape detection, over a
// line it drives (the terminal side and the telephone side). It never
// touches a descriptor itself, so tests feed it bytes and a clock.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesta::modem {

enum class DialResult { kConnected, kBusy, kNoAnswer, kNoDialtone };

// What the modem drives.
class ModemLine {
 public:
  virtual ~ModemLine() = default;
  virtual void toTerminal(std::string_view bytes) = 0;
  virtual void toHost(std::string_view bytes) = 0;
  // Places a call to `number` (the digits and letters after ATD[T|P]).
  virtual DialResult dial(const std::string& number) = 0;
  virtual void hangUp() = 0;
  // One line about what happened, for the log.
  virtual void note(const std::string& text) = 0;
};

class HayesModem {
 public:
  static constexpr std::size_t kLongestCommand = 255;
  static constexpr const char* kConnectText = "CONNECT 38400";

  explicit HayesModem(ModemLine& line);

  // Bytes the terminal sent, at time nowMs (any steady milliseconds).
  void fromTerminal(std::string_view bytes, long long nowMs);
  // Bytes the host sent: passed on only while online.
  void fromHost(std::string_view bytes);
  // Lets the escape guard time run out.
  void tick(long long nowMs);
  // The host hung up.
  void hostClosed();
  // The terminal dropped DTR (or closed the port): the call ends.
  void dtrDropped();

  bool online() const { return online_; }
  bool connected() const { return connected_; }
  bool echo() const { return echo_; }
  int sRegister(int n) const { return s_[static_cast<std::size_t>(n)]; }

 private:
  enum class Result { kOk = 0, kConnect = 1, kRing = 2, kNoCarrier = 3, kError = 4, kNoDialtone = 6, kBusy = 7,
                      kNoAnswer = 8, kNone = -1 };
  void reset();
  void commandByte(char c);
  void execute(const std::string& line);
  Result run(const std::string& commands);
  Result dial(std::string rest);
  void answer(Result result);
  long long guardMs() const { return static_cast<long long>(s_[12]) * 20; }

  ModemLine& line_;
  std::array<uint8_t, 256> s_{};
  bool echo_ = true, verbose_ = true, quiet_ = false;
  bool online_ = false, connected_ = false;
  std::string command_;
  std::string lastCommand_;
  std::string info_;  // text an I or S? command has to show before its result
  int plusCount_ = 0;
  long long lastDataMs_ = -1000000;
  long long plusMs_ = 0;
};

}  // namespace kesta::modem
