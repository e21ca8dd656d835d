// Drives "kesta-cli host" as a user does: the host as a child process on a
// free port of 127.0.0.1, telnet clients that answer its negotiation and
// read its screens as UTF-8, and lrzsz's sz and rz run behind a client for
// the transfers. Every wait is bounded in time.
#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/zlink/lrzsz_harness.h"
#include "tests/zlink/test_channels.h"
#include "xlat/xlat.h"
#include "zlink/telnet.h"

namespace kesta::host::test {

using Clock = std::chrono::steady_clock;

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A kesta-cli subcommand as a child process, its standard error in a file;
// ready once the log holds `readyText`.
class CliProcess {
 public:
  CliProcess(const std::vector<std::string>& args, const std::string& logPath, const std::string& readyText)
      : log_(logPath) {
    pid_ = ::fork();
    if (pid_ == 0) {
      int err = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (err >= 0) ::dup2(err, 2);
      int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 0);
      ::dup2(null, 1);
      // KESTA_CLI runs another build of the tool (one under a sanitizer, say).
      const char* program = std::getenv("KESTA_CLI");
      std::vector<std::string> argv = {program && *program ? program : KESTA_CLI_PATH};
      argv.insert(argv.end(), args.begin(), args.end());
      std::vector<char*> pointers;
      for (auto& a : argv) pointers.push_back(a.data());
      pointers.push_back(nullptr);
      ::execv(pointers[0], pointers.data());
      ::_exit(127);
    }
    auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end && log().find(readyText) == std::string::npos)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~CliProcess() { stop(); }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  bool running() {
    if (exited_) return false;
    int status;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      exited_ = true;
      return false;
    }
    return true;
  }
  // SIGTERM, then the exit status (-1: had to be killed).
  int stop() {
    if (pid_ <= 0 || exited_) return status_;
    ::kill(pid_, SIGTERM);
    auto end = Clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (Clock::now() < end) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return status_;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    exited_ = true;
    return status_ = -1;
  }
  std::string log() const { return readFile(log_); }

 private:
  std::string log_;
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = -1;
};

// "kesta-cli host" on a free port.
class HostProcess : public CliProcess {
 public:
  HostProcess(const std::string& data, int code, const std::string& log, const std::vector<std::string>& extra = {})
      : CliProcess(withExtra({"host", "--port", "0", "--code", std::to_string(code), "--data", data}, extra), log,
                   "listening on 127.0.0.1:") {
    std::string text = this->log();
    auto at = text.find("listening on 127.0.0.1:");
    if (at != std::string::npos) port_ = std::atoi(text.c_str() + at + 23);
  }
  int port() const { return port_; }
  static std::vector<std::string> withExtra(std::vector<std::string> args, const std::vector<std::string>& extra) {
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
  // Waits until the log holds `count` connection lines ("#N ...").
  bool waitForLogLines(int count, double seconds = 10) {
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
      std::string text = log();
      int lines = 0;
      for (std::size_t at = text.find("host: #"); at != std::string::npos; at = text.find("host: #", at + 1)) ++lines;
      if (lines >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

 private:
  int port_ = 0;
};

inline int connectTo(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

inline bool sendAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A telnet user of the host in one Hangul code: answers the negotiation
// up front (WILL TERMINAL-TYPE with its name, DO ECHO, DO SUPPRESS-GO-AHEAD)
// and keeps everything the host sent as UTF-8.
class TelnetUser {
 public:
  TelnetUser(int port, int code, const std::string& terminal = "VT100") {
    xlat::codeForType(code, &code_);
    converter_ = std::make_unique<xlat::StreamConverter>(code_, xlat::Code::Utf8);
    fd_ = connectTo(port);
    std::string hello = {'\xFF', '\xFB', 24, '\xFF', '\xFD', 1, '\xFF', '\xFD', 3, '\xFF', '\xFA', 24, 0};
    hello += terminal + "\xFF\xF0";
    if (fd_ >= 0) sendAll(fd_, hello);
  }
  ~TelnetUser() { close(); }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  bool connected() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // The user switched codes (K): what arrives from now on is read in `code`.
  void setCode(int code) {
    xlat::codeForType(code, &code_);
    converter_ = std::make_unique<xlat::StreamConverter>(code_, xlat::Code::Utf8);
  }

  // Types a line in the user's code, ended by CR LF.
  bool line(const std::string& utf8) { return sendAll(fd_, xlat::convert(xlat::Code::Utf8, code_, utf8) + "\r\n"); }

  // Reads until `utf8` appears after what earlier waits consumed; true when it did.
  bool waitFor(const std::string& utf8, double seconds = 10) {
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      auto at = text_.find(utf8, consumed_);
      if (at != std::string::npos) {
        consumed_ = at + utf8.size();
        return true;
      }
      if (Clock::now() >= end || !readSome(50)) return false;
    }
  }
  // Reads until the raw data bytes hold `bytes` at or after `from`.
  bool waitForRaw(const std::string& bytes, std::size_t from, double seconds = 10) {
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (raw_.find(bytes, from) == std::string::npos) {
      if (Clock::now() >= end || !readSome(50)) return false;
    }
    return true;
  }
  // Everything the host sent so far, as UTF-8; and its raw data bytes.
  const std::string& text() const { return text_; }
  const std::string& raw() const { return raw_; }

  // Runs argv (lrzsz's sz or rz) in cwd with its standard input and output
  // joined to this connection through the telnet byte rules; its exit status.
  // What the host sent meanwhile is kept too, for the waits after it.
  int transfer(const std::vector<std::string>& argv, const std::string& cwd, double seconds = 60) {
    zlink::test::SocketPair pair;
    zlink::test::Child child(argv, cwd, pair.fd[1]);
    pair.closeEnd(1);
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    bool childOpen = true;
    zlink::TelnetDecoder& decoder = decoder_;
    while (childOpen && Clock::now() < end) {
      pollfd p[2] = {{fd_, POLLIN, 0}, {pair.fd[0], POLLIN, 0}};
      if (::poll(p, 2, 50) <= 0) continue;
      uint8_t block[16384];
      if (p[0].revents & (POLLIN | POLLHUP)) {
        ssize_t n = ::recv(fd_, block, sizeof block, 0);
        if (n <= 0) break;
        std::size_t data = decoder.decode(block, static_cast<std::size_t>(n));
        keep(block, data);  // what follows the transfer may come in the same read
        if (!sendAll(pair.fd[0], std::string(reinterpret_cast<char*>(block), data))) break;
      }
      if (p[1].revents & (POLLIN | POLLHUP)) {
        ssize_t n = ::recv(pair.fd[0], block, sizeof block, 0);
        if (n <= 0) {
          childOpen = false;
          break;
        }
        std::vector<uint8_t> wire;
        zlink::telnetEncode(block, static_cast<std::size_t>(n), wire);
        if (!sendAll(fd_, std::string(wire.begin(), wire.end()))) break;
      }
    }
    pair.closeEnd(0);
    return child.wait(std::max(1.0, std::chrono::duration<double>(end - Clock::now()).count()));
  }

 private:
  bool readSome(int waitMs) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, waitMs) < 0) return false;
    if (!(p.revents & (POLLIN | POLLHUP))) return true;
    uint8_t block[8192];
    ssize_t n = ::recv(fd_, block, sizeof block, 0);
    if (n <= 0) return false;
    keep(block, decoder_.decode(block, static_cast<std::size_t>(n)));
    return true;
  }
  void keep(const uint8_t* data, std::size_t size) {
    raw_.append(reinterpret_cast<const char*>(data), size);
    converter_->feed(reinterpret_cast<const char*>(data), size, text_);
  }

  int fd_ = -1;
  xlat::Code code_ = xlat::Code::Cp949;
  std::unique_ptr<xlat::StreamConverter> converter_;
  zlink::TelnetDecoder decoder_;
  std::string raw_, text_;
  std::size_t consumed_ = 0;
};

}  // namespace kesta::host::test
