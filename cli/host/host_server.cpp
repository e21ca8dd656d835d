#include "cli/host/host_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include "cli/host/host_session.h"

namespace kesta::host {

HostServer::HostServer(HostOptions options, std::FILE* log)
    : options_(std::move(options)),
      log_(log),
      board_((std::filesystem::path(options_.dataDirectory) / "board.txt").string()),
      library_(options_.dataDirectory) {}

HostServer::~HostServer() {
  stop();
  for (auto& w : workers_)
    if (w->thread.joinable()) w->thread.join();
  if (listener_ >= 0) ::close(listener_);
  for (int fd : stopPipe_)
    if (fd >= 0) ::close(fd);
}

bool HostServer::start(std::string* error) {
  if (!library_.prepare(error)) return false;
  if (::pipe2(stopPipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) {
    *error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(options_.port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // the demo host is for this machine only
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 16) != 0) {
    *error = "cannot listen on 127.0.0.1:" + std::to_string(options_.port) + ": " + std::strerror(errno);
    return false;
  }
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  return true;
}

void HostServer::stop() {
  stopping_ = true;
  if (stopPipe_[1] >= 0) {
    char one = 1;
    [[maybe_unused]] ssize_t n = ::write(stopPipe_[1], &one, 1);
  }
}

void HostServer::logLine(const std::string& line) {
  std::lock_guard lock(logMutex_);
  std::fprintf(log_, "kesta-cli host: %s\n", line.c_str());
  std::fflush(log_);
}

void HostServer::reapFinished() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if ((*it)->done) {
      (*it)->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

void HostServer::accepted(int fd) {
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length);
  char address[INET_ADDRSTRLEN] = "?";
  ::inet_ntop(AF_INET, &peer.sin_addr, address, sizeof address);
  std::string who = std::string(address) + ":" + std::to_string(ntohs(peer.sin_port));
  int id = nextId_++;
  if (static_cast<int>(workers_.size()) >= kMostUsers) {
    static const char busy[] = "\r\nToo many users now; try again later.\r\n";
    [[maybe_unused]] ssize_t n = ::send(fd, busy, sizeof busy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    ::close(fd);
    logLine("#" + std::to_string(id) + " " + who + " refused: " + std::to_string(kMostUsers) + " users already");
    return;
  }
  auto worker = std::make_unique<Worker>();
  Worker* w = worker.get();
  try {
    w->thread = std::thread([this, w, fd, id, who] { serveOne(w, fd, id, who); });
  } catch (const std::system_error& e) {
    // No thread to be had (a system at its limit): this user is let go.
    ::close(fd);
    logLine("#" + std::to_string(id) + " " + who + " refused: " + e.what());
    return;
  }
  workers_.push_back(std::move(worker));
}

void HostServer::serveOne(Worker* w, int fd, int id, const std::string& who) {
  auto began = std::chrono::steady_clock::now();
  SessionRecord record;
  std::string terminal;
  bool gone = false;
  {
    SocketConnection connection(fd, options_.codeType, stopping_, options_.limits);
    connection.open();
    HostSession session(connection, HostShared{board_, library_, chat_}, id);
    session.run();
    record = session.record();
    terminal = connection.terminalType();
    gone = connection.gone();
  }
  long seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - began).count();
  logLine("#" + std::to_string(id) + " " + who + " user=\"" + record.name + "\" terminal=" +
          (terminal.empty() ? "-" : terminal) + " " + std::to_string(seconds) + "s posts=" +
          std::to_string(record.posts) + " downloads=" + std::to_string(record.downloads) +
          " uploads=" + std::to_string(record.uploads) + " chat=" + std::to_string(record.chatLines) + " " +
          (record.quit ? "quit" : gone ? "closed by the user" : stopping_ ? "host stopping" : "ended"));
  w->done = true;
}

void HostServer::serve() {
  while (!stopping_) {
    pollfd p[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    int ready = ::poll(p, 2, 500);
    reapFinished();
    if (ready <= 0 || stopping_) continue;
    if (p[0].revents & POLLIN) {
      int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) accepted(fd);
    }
  }
  for (auto& w : workers_)
    if (w->thread.joinable()) w->thread.join();
  workers_.clear();
}

}  // namespace kesta::host
