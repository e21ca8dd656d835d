#include "cli/host/socket_connection.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "cli/host/transfer_guard.h"
#include "zlink/fd_channel.h"
#include "zlink/session.h"

namespace kesta::host {

namespace {

constexpr std::size_t kReadSize = 4096;
constexpr int kPollMs = 200;  // how often a wait looks at the stop flag

xlat::Code codeOf(int type) {
  xlat::Code code = xlat::Code::Cp949;
  xlat::codeForType(type, &code);
  return code;
}

}  // namespace

SocketConnection::SocketConnection(int fd, int codeType, const std::atomic<bool>& stop, ConnectionLimits limits)
    : fd_(fd), codeType_(codeType), code_(codeOf(codeType)), stop_(stop), limits_(limits), input_(code_) {
  if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
  // A user who stops reading must not hold the session thread for ever.
  timeval sendLimit{10, 0};
  ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
}

SocketConnection::~SocketConnection() {
  ::close(fd_);
  if (wake_[0] >= 0) ::close(wake_[0]);
  if (wake_[1] >= 0) ::close(wake_[1]);
}

bool SocketConnection::setCodeType(int type) {
  xlat::Code code;
  if (!xlat::codeForType(type, &code)) return false;
  codeType_ = type;
  code_ = code;
  input_.editor().setCode(code);
  return true;
}

void SocketConnection::sendRaw(const std::string& bytes) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0 && !gone_) {
    ssize_t n = ::send(fd_, data, left, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      gone_ = true;  // closed, reset, or stuck past the send limit
      break;
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
}

void SocketConnection::write(const std::string& utf8) { sendRaw(toWire(utf8, code_)); }

bool SocketConnection::pump(int waitMs, bool* woken) {
  pollfd p[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
  int ready = ::poll(p, wake_[0] >= 0 ? 2 : 1, waitMs);
  if (ready < 0) return errno == EINTR;
  if (wake_[0] >= 0 && (p[1].revents & POLLIN)) {
    char drain[64];
    while (::read(wake_[0], drain, sizeof drain) > 0) {
    }
    if (woken) *woken = true;
  }
  if (!(p[0].revents & (POLLIN | POLLHUP | POLLERR))) return true;
  uint8_t block[kReadSize];
  ssize_t n = ::recv(fd_, block, sizeof block, 0);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
  if (n <= 0) {
    gone_ = true;
    return false;
  }
  std::string owed = input_.receive(block, static_cast<std::size_t>(n));
  if (!owed.empty()) sendRaw(owed);
  return !gone_;
}

void SocketConnection::open() {
  sendRaw(input_.opening());
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limits_.negotiationMs);
  while (!gone_ && !stop_ && !input_.telnet().terminalTypeSettled() && std::chrono::steady_clock::now() < end) {
    if (!pump(50, nullptr)) break;
  }
}

bool SocketConnection::readLine(std::string* line, const std::function<void()>& onWake) {
  auto idleEnd = std::chrono::steady_clock::now() + std::chrono::seconds(limits_.idleSeconds);
  while (!input_.editor().hasLine()) {
    if (gone_ || stop_) return false;
    if (std::chrono::steady_clock::now() >= idleEnd) {
      write("\r\n\x1b[1;31m시간이 다 되었습니다 (idle too long)\x1b[0m\r\n");
      return false;
    }
    bool woken = false;
    if (!pump(kPollMs, &woken)) return false;
    if (woken) onWake();
    if (input_.editor().hasLine()) break;
  }
  *line = input_.editor().takeLine();
  return true;
}

void SocketConnection::settleAfterTransfer() {
  // Bounded: at most 10 quiet-or-not rounds of 50 ms.
  for (int round = 0; round < 10 && !gone_; ++round) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) break;
    uint8_t block[kReadSize];
    ssize_t n = ::recv(fd_, block, sizeof block, 0);
    if (n <= 0) {
      gone_ = true;
      break;
    }
  }
  input_.editor().clear();
}

int SocketConnection::transfer(bool sending, const std::function<int(const zlink::SessionConfig&)>& session) {
  zlink::FdChannel socket(fd_, fd_, true);
  socket.setWriteLimitMs(limits_.stuckWriteMs);
  StoppableChannel channel(socket, stop_);
  std::atomic<bool> cancel{false};
  // A download's size is the library's own; an upload's is bounded.
  SizeLimitReporter reporter(sending ? UINTMAX_MAX : limits_.mostUploadBytes, cancel);
  zlink::SessionConfig config;
  config.channel = &channel;
  config.reporter = &reporter;
  config.telnet = true;
  config.timing = limits_.transfer;
  config.cancel = &cancel;
  int result = session(config);
  if (reporter.exceeded()) {
    zlink::SessionConfig abort = config;
    abort.cancel = nullptr;
    zlink::abortSession(abort, sending);  // the user's sender stops too
  }
  settleAfterTransfer();
  uploadTooLarge_ = reporter.exceeded();
  return result;
}

bool SocketConnection::download(const std::filesystem::path& file) {
  input_.editor().clear();
  // The sender's ZRQINIT comes with "rz\r" before it, as from lrzsz's sz:
  // one more here would start a second download in a terminal that starts
  // one on every "rz\r".
  return transfer(true, [&](const zlink::SessionConfig& c) { return zlink::sendFile(c, file.string()); }) ==
         zlink::kResultSuccess;
}

bool SocketConnection::upload(const std::filesystem::path& directory) {
  input_.editor().clear();
  return transfer(false, [&](const zlink::SessionConfig& c) { return zlink::receiveFiles(c, directory.string()); }) ==
         zlink::kResultSuccess;
}

}  // namespace kesta::host
