// The demo host's listener on 127.0.0.1: a thread for each user (at most
// kMostUsers at once; one more is told so and let go), one log line for
// each connection on standard error, until stop() is called.
#pragma once

#include <atomic>
#include <cstdio>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "cli/host/board_store.h"
#include "cli/host/chat_room.h"
#include "cli/host/file_library.h"
#include "cli/host/socket_connection.h"

namespace kesta::host {

struct HostOptions {
  int port = 2323;  // 0: any free port (port() tells which)
  int codeType = 6;
  std::string dataDirectory = "kesta-host-data";
  ConnectionLimits limits;
};

class HostServer {
 public:
  static constexpr int kMostUsers = 16;

  HostServer(HostOptions options, std::FILE* log);
  ~HostServer();

  // Prepares the data directory and listens; false (with error) when either fails.
  bool start(std::string* error);
  int port() const { return port_; }
  // Serves until stop() (callable from a signal handler's thread by way of
  // the flag) and then waits for every session to end.
  void serve();
  // Async-signal-safe.
  void stop();

 private:
  struct Worker {
    std::thread thread;
    std::atomic<bool> done{false};
  };
  void accepted(int fd);
  void serveOne(Worker* w, int fd, int id, const std::string& who);
  void reapFinished();
  void logLine(const std::string& line);

  HostOptions options_;
  std::FILE* log_;
  int listener_ = -1;
  int port_ = 0;
  int stopPipe_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  BoardStore board_;
  FileLibrary library_;
  ChatRoom chat_;
  std::list<std::unique_ptr<Worker>> workers_;
  std::mutex logMutex_;
  int nextId_ = 1;
};

}  // namespace kesta::host
