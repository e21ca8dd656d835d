// A user on a telnet socket: the host's negotiation, the typed lines with
// their echo, text converted to the user's code with 0xFF doubled, and the
// ZMODEM transfers over the same socket. Used by one session thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "cli/host/connection.h"
#include "cli/host/user_input.h"
#include "zlink/channel.h"
#include "zlink/session.h"

namespace kesta::host {

struct ConnectionLimits {
  int idleSeconds = 1800;     // a silent user is let go after this
  zlink::Timing transfer{100, 600};  // ZMODEM character time-out: 60 s
  int negotiationMs = 1000;   // how long the welcome waits for the terminal type
  std::uintmax_t mostUploadBytes = 64u << 20;  // one upload session, all its files
  int stuckWriteMs = 20000;   // a transfer's write to a user who takes nothing fails after this
};

class SocketConnection : public Connection {
 public:
  // Takes over fd; `stop` ends every wait when set.
  SocketConnection(int fd, int codeType, const std::atomic<bool>& stop, ConnectionLimits limits);
  ~SocketConnection() override;
  SocketConnection(const SocketConnection&) = delete;
  SocketConnection& operator=(const SocketConnection&) = delete;

  // Sends the opening negotiation and waits a moment for the terminal type.
  void open();

  void write(const std::string& utf8) override;
  bool readLine(std::string* line, const std::function<void()>& onWake) override;
  int codeType() const override { return codeType_; }
  bool setCodeType(int type) override;
  std::string terminalType() const override { return input_.telnet().terminalType(); }
  int wakeFd() const override { return wake_[1]; }
  bool download(const std::filesystem::path& file) override;
  bool upload(const std::filesystem::path& directory) override;

  bool gone() const { return gone_; }
  bool uploadTooLarge() const override { return uploadTooLarge_; }

 private:
  // Reads what is there (waiting at most waitMs); false when the socket closed.
  bool pump(int waitMs, bool* woken);
  void sendRaw(const std::string& bytes);
  // Runs one ZMODEM session over the socket with the telnet byte rules.
  int transfer(bool sending, const std::function<int(const zlink::SessionConfig&)>& session);
  // After a transfer: the peer's last bytes ("OO", a stray CR) are dropped.
  void settleAfterTransfer();

  int fd_;
  int wake_[2] = {-1, -1};
  int codeType_;
  xlat::Code code_;
  const std::atomic<bool>& stop_;
  ConnectionLimits limits_;
  UserInput input_;
  bool gone_ = false;
  bool uploadTooLarge_ = false;
};

}  // namespace kesta::host
