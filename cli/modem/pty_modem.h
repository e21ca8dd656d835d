// The modem emulator's runtime: a pseudo-terminal whose slave is reached by
// a symbolic link (a COM port of Wine, a test), the Hayes interpreter on its
// master side, and a telnet connection as the telephone line.
//
// Modem control lines do not exist on a pseudo-terminal, so a dropped DTR is
// recognised by what a program does when it drops it: it sets the line
// speed to 0 (the POSIX hang-up), or it closes the port.
#pragma once

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/modem/dial_directory.h"
#include "cli/modem/hayes_modem.h"

namespace kesta::modem {

struct ModemOptions {
  std::string link;  // the symbolic link made to the slave
  DialDirectory directory;
  int connectTimeoutMs = 5000;
};

class PtyModem : public ModemLine {
 public:
  PtyModem(ModemOptions options, std::FILE* log);
  ~PtyModem() override;
  PtyModem(const PtyModem&) = delete;
  PtyModem& operator=(const PtyModem&) = delete;

  // Opens the pseudo-terminal and makes the link; false with error on failure.
  bool start(std::string* error);
  const std::string& slavePath() const { return slave_; }
  // Runs until stop(); removes the link at the end.
  void serve();
  void stop();  // async-signal-safe

  // ModemLine
  void toTerminal(std::string_view bytes) override;
  void toHost(std::string_view bytes) override;
  DialResult dial(const std::string& number) override;
  void hangUp() override;
  void note(const std::string& text) override;

 private:
  struct Telnet;  // the telnet client of the call
  void readTerminal(long long nowMs);
  void readHost();
  bool lineSpeedZero() const;
  void flushTerminal();

  ModemOptions options_;
  std::FILE* log_;
  int master_ = -1;
  int host_ = -1;
  int stopPipe_[2] = {-1, -1};
  std::string slave_;
  bool linkMade_ = false;
  bool portOpen_ = false;  // a program holds the slave side
  std::string toTerminal_;  // bytes the terminal has not taken yet
  std::atomic<bool> stopping_{false};
  std::unique_ptr<Telnet> telnet_;
  HayesModem modem_;
};

}  // namespace kesta::modem
