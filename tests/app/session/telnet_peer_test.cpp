// The telnet layer against a real telnet server: Debian's inetutils telnetd
// on 127.0.0.1 (behind socat) runs a script whose output is drawn through
// TelnetReader, the pipeline and the interpreter. A server that is not in
// binary mode ends a bare carriage return with NUL; the screen must move on.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/session/telnet.h"
#include "app/session/telnet_reader.h"
#include "tests/app/session/session_fixture.h"

namespace kesta::session::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr const char* kTelnetd = "/usr/sbin/telnetd";
constexpr const char* kSocat = "/usr/bin/socat";

// A port on 127.0.0.1 that was free a moment ago.
int freePort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

int connectWithRetries(int port) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

// The session's connection: replies go back to the server.
struct SocketConnection : RecordingHost {
  int fd = -1;
  std::size_t send(std::string_view bytes) override {
    RecordingHost::send(bytes);
    ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return n < 0 ? 0 : static_cast<std::size_t>(n);
  }
};

struct Peer {
  pid_t pid = -1;
  int port = 0;
  fs::path directory;
  ~Peer() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    std::error_code ignored;
    if (!directory.empty()) fs::remove_all(directory, ignored);
  }
  // Serves one connection with telnetd running `script` instead of a login.
  bool start(const std::string& script) {
    char pattern[] = "/tmp/kesta-telnetd-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    directory = pattern;
    fs::path file = directory / "script.sh";
    std::ofstream(file) << "#!/bin/sh\n" << script;
    fs::permissions(file, fs::perms::owner_all);
    port = freePort();
    std::string listen = "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr";
    std::string exec = "EXEC:" + std::string(kTelnetd) + " -h -E " + file.string() + ",nofork";
    pid = fork();
    if (pid == 0) {
      execl(kSocat, "socat", listen.c_str(), exec.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return pid > 0;
  }
};

struct PeerRun {
  std::string raw;  // every byte the server sent
  std::vector<std::string> window;
  int column = 0;
  int row = 0;
  bool closed = false;
};

PeerRun talkTo(Peer& peer, std::size_t readSize) {
  PeerRun run;
  int fd = connectWithRetries(peer.port);
  if (fd < 0) return run;
  BasicSession<SocketConnection> s;
  s.host.fd = fd;
  TelnetProtocol protocol(s.host);
  TelnetReader reader(protocol, s.pipeline);
  protocol.connectionOpened();
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  std::vector<std::uint8_t> block(readSize);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 200) <= 0) continue;
    ssize_t n = recv(fd, block.data(), block.size(), 0);
    if (n <= 0) {
      reader.closed();
      run.closed = true;
      break;
    }
    run.raw.append(reinterpret_cast<const char*>(block.data()), static_cast<std::size_t>(n));
    reader.received(block.data(), static_cast<std::size_t>(n));
  }
  close(fd);
  for (int r = 0; r < kRows; ++r) run.window.push_back(trimmed(s.windowRow(r)));
  run.column = s.column();
  run.row = s.row();
  return run;
}

TEST(TelnetPeer, InetutilsTelnetdCarriageReturnNulMovesTheScreenOn) {
  if (access(kTelnetd, X_OK) != 0 || access(kSocat, X_OK) != 0) GTEST_SKIP() << "needs inetutils-telnetd and socat";
  const std::string script =
      "printf 'Loading 10%%\\rLoading 50%%\\rDone\\n'\n"
      "printf 'second line\\r\\n'\n"
      "printf 'abc\\rX\\n'\n"
      "printf 'last'\n"
      "sleep 1\n";
  // Reads of every size from one byte (CR and NUL always in different reads) up.
  for (std::size_t readSize : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{4096}}) {
    Peer peer;
    ASSERT_TRUE(peer.start(script));
    PeerRun run = talkTo(peer, readSize);
    ASSERT_TRUE(run.closed) << readSize;
    // The server really sends CR NUL for a bare CR and for the CR before CR LF.
    EXPECT_NE(run.raw.find("Loading 10%\r\0Loading 50%\r\0Done\r\n"s), std::string::npos);
    EXPECT_NE(run.raw.find("second line\r\0\r\n"s), std::string::npos);
    ASSERT_GE(run.window.size(), 4u);
    EXPECT_EQ(run.window[0], "Doneing 50%") << readSize;
    EXPECT_EQ(run.window[1], "second line") << readSize;
    EXPECT_EQ(run.window[2], "Xbc") << readSize;
    EXPECT_EQ(run.window[3], "last") << readSize;
    EXPECT_EQ(run.row, 3) << readSize;
    EXPECT_EQ(run.column, 4) << readSize;
  }
}

}  // namespace
}  // namespace kesta::session::testing
