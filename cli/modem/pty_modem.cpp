#include "cli/modem/pty_modem.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "app/session/silent_host.h"
#include "app/session/telnet.h"
#include "zlink/telnet.h"

namespace kesta::modem {

namespace {

constexpr int kTickMs = 20;         // how finely the escape guard time is watched
constexpr int kClosedPortWaitMs = 100;

long long nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, 1000) <= 0) return false;  // a reader that stopped reading loses the rest
      continue;
    }
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Connects with a time-out: refused is "BUSY", silence or no route "NO ANSWER".
DialResult connectTo(const HostPort& target, int timeoutMs, int* fdOut, std::string* why) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  std::string port = std::to_string(target.port);
  if (::getaddrinfo(target.host.c_str(), port.c_str(), &hints, &found) != 0 || !found) {
    *why = "unknown host " + target.host;
    return DialResult::kNoAnswer;
  }
  DialResult result = DialResult::kNoAnswer;
  for (addrinfo* a = found; a; a = a->ai_next) {
    int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
    if (rc != 0 && errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      rc = ::poll(&p, 1, timeoutMs) == 1 ? 0 : -1;
      int soError = rc == 0 ? 0 : ETIMEDOUT;
      socklen_t length = sizeof soError;
      if (rc == 0) ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length);
      errno = soError;
      rc = soError == 0 ? 0 : -1;
    }
    if (rc == 0) {
      *fdOut = fd;
      ::freeaddrinfo(found);
      return DialResult::kConnected;
    }
    *why = std::strerror(errno);
    if (errno == ECONNREFUSED) result = DialResult::kBusy;
    ::close(fd);
  }
  ::freeaddrinfo(found);
  return result;
}

}  // namespace

// The call's telnet client: the terminal's own negotiation rules (the same
// answers as the program gives on a direct telnet connection) and 0xFF
// doubled towards the host, so the terminal sees a plain line.
struct PtyModem::Telnet : session::SilentHost {
  explicit Telnet(int fd) : fd(fd), protocol(*this) { protocol.connectionOpened(); }
  std::size_t send(std::string_view bytes) override {
    return writeAll(fd, bytes.data(), bytes.size()) ? bytes.size() : 0;
  }
  int fd;
  session::TelnetProtocol protocol;
};

PtyModem::PtyModem(ModemOptions options, std::FILE* log) : options_(std::move(options)), log_(log), modem_(*this) {}

PtyModem::~PtyModem() {
  hangUp();
  if (linkMade_) ::unlink(options_.link.c_str());
  if (master_ >= 0) ::close(master_);
  for (int fd : stopPipe_)
    if (fd >= 0) ::close(fd);
}

void PtyModem::note(const std::string& text) {
  std::fprintf(log_, "kesta-cli modem: %s\n", text.c_str());
  std::fflush(log_);
}

bool PtyModem::start(std::string* error) {
  if (::pipe2(stopPipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    *error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  char name[128];
  if (::ptsname_r(master_, name, sizeof name) != 0) {
    *error = "cannot name the pseudo-terminal";
    return false;
  }
  slave_ = name;
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  // A serial line carries bytes as they are: no echo, no line editing, no
  // CR/LF translation, whatever the program on the other side sets later.
  termios raw{};
  if (::tcgetattr(master_, &raw) == 0) {
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, B38400);
    ::tcsetattr(master_, TCSANOW, &raw);
  }
  // Replace an old link (a modem that was killed), never a real file.
  struct stat st {};
  if (::lstat(options_.link.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      *error = options_.link + " exists and is not a symbolic link";
      return false;
    }
    ::unlink(options_.link.c_str());
  }
  if (::symlink(slave_.c_str(), options_.link.c_str()) != 0) {
    *error = "cannot link " + options_.link + " to " + slave_ + ": " + std::strerror(errno);
    return false;
  }
  linkMade_ = true;
  return true;
}

void PtyModem::stop() {
  stopping_ = true;
  if (stopPipe_[1] >= 0) {
    char one = 1;
    [[maybe_unused]] ssize_t n = ::write(stopPipe_[1], &one, 1);
  }
}

// Nothing is written while no program holds the port: it would wait there
// for the next program that opens it. What the terminal cannot take yet
// waits in toTerminal_, and the host is not read until it has gone, so a
// slow program holds the host back (through TCP) instead of losing bytes.
void PtyModem::toTerminal(std::string_view bytes) {
  if (master_ < 0 || !portOpen_) return;
  toTerminal_.append(bytes.data(), bytes.size());
  flushTerminal();
}

void PtyModem::flushTerminal() {
  while (!toTerminal_.empty()) {
    ssize_t n = ::write(master_, toTerminal_.data(), toTerminal_.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0 && errno != EAGAIN) toTerminal_.clear();  // the port went away
      return;
    }
    toTerminal_.erase(0, static_cast<std::size_t>(n));
  }
}

void PtyModem::toHost(std::string_view bytes) {
  if (!telnet_) return;
  std::vector<uint8_t> wire;
  zlink::telnetEncode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), wire);
  if (!writeAll(host_, reinterpret_cast<const char*>(wire.data()), wire.size())) {
    hangUp();
    modem_.hostClosed();
  }
}

DialResult PtyModem::dial(const std::string& number) {
  auto target = options_.directory.lookUp(number);
  if (!target) {
    note("ATD " + number + ": no host for this number: NO ANSWER");
    return DialResult::kNoAnswer;
  }
  int fd = -1;
  std::string why;
  DialResult result = connectTo(*target, options_.connectTimeoutMs, &fd, &why);
  std::string where = target->host + ":" + std::to_string(target->port);
  if (result != DialResult::kConnected) {
    note("ATD " + number + " -> " + where + ": " + why + (result == DialResult::kBusy ? ": BUSY" : ": NO ANSWER"));
    return result;
  }
  host_ = fd;
  telnet_ = std::make_unique<Telnet>(fd);
  note("ATD " + number + " -> " + where + ": " + HayesModem::kConnectText);
  return result;
}

void PtyModem::hangUp() {
  telnet_.reset();
  if (host_ >= 0) {
    ::close(host_);
    host_ = -1;
    if (log_) note("hung up");
  }
}

void PtyModem::readHost() {
  uint8_t block[session::kTelnetReadSize];
  ssize_t n = ::recv(host_, block, sizeof block, 0);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
  if (n <= 0) {
    hangUp();
    modem_.hostClosed();
    return;
  }
  std::string data;
  telnet_->protocol.receive(block, static_cast<std::size_t>(n), data);
  if (!data.empty()) modem_.fromHost(data);
}

void PtyModem::readTerminal(long long now) {
  char block[4096];
  ssize_t n = ::read(master_, block, sizeof block);
  if (n > 0) modem_.fromTerminal(std::string_view(block, static_cast<std::size_t>(n)), now);
}

bool PtyModem::lineSpeedZero() const {
  termios t{};
  return ::tcgetattr(master_, &t) == 0 && ::cfgetospeed(&t) == B0;
}

void PtyModem::serve() {
  note("ready on " + options_.link + " (" + slave_ + ")");
  bool speedZero = false;
  while (!stopping_) {
    bool backedUp = !toTerminal_.empty();
    pollfd p[3] = {{stopPipe_[0], POLLIN, 0},
                   {master_, static_cast<short>(POLLIN | (backedUp ? POLLOUT : 0)), 0},
                   {host_, POLLIN, 0}};
    int count = host_ >= 0 && !backedUp ? 3 : 2;
    if (::poll(p, static_cast<nfds_t>(count), kTickMs) < 0 && errno != EINTR) break;
    if (stopping_) break;
    // With no program on the slave side the master reports a hang-up: the
    // port is closed, which ends a call as a dropped DTR does.
    bool hungUp = (p[1].revents & POLLHUP) != 0;
    if (hungUp) {
      toTerminal_.clear();
      if (portOpen_) {
        portOpen_ = false;
        note("the port was closed");
        modem_.dtrDropped();
      }
      // The hang-up stays reported until a program opens the port again.
      pollfd wait{stopPipe_[0], POLLIN, 0};
      ::poll(&wait, 1, kClosedPortWaitMs);
      if (host_ >= 0) {
        pollfd h{host_, POLLIN, 0};
        if (::poll(&h, 1, 0) > 0) readHost();  // a closing host is noticed, its bytes dropped
      }
      continue;
    }
    if (!portOpen_) {
      portOpen_ = true;
      speedZero = false;
    }
    bool zero = lineSpeedZero();
    if (zero && !speedZero) modem_.dtrDropped();
    speedZero = zero;
    long long now = nowMs();
    if (p[1].revents & POLLOUT) flushTerminal();
    if (p[1].revents & POLLIN) readTerminal(now);
    if (count == 3 && host_ >= 0 && (p[2].revents & (POLLIN | POLLHUP | POLLERR))) readHost();
    modem_.tick(nowMs());
  }
  hangUp();
  note("stopped");
}

}  // namespace kesta::modem
