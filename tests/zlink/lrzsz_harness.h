// Runs lrzsz's sz and rz (or kesta-cli) as child processes on one end of a
// socket pair, and relays a connection with optional seeded corruption and
// a record of what passed. Every wait is bounded.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace kesta::zlink::test {

// A socket pair whose ends close with the object.
struct SocketPair {
  SocketPair() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fd) != 0) fd[0] = fd[1] = -1;
  }
  ~SocketPair() {
    closeEnd(0);
    closeEnd(1);
  }
  void closeEnd(int i) {
    if (fd[i] >= 0) ::close(fd[i]);
    fd[i] = -1;
  }
  int fd[2];
};

// A child process with its standard input and output on one socket.
class Child {
 public:
  // Starts argv in directory cwd with fd as standard input and output and
  // standard error appended to errorLog (or discarded).
  Child(const std::vector<std::string>& argv, const std::string& cwd, int fd, const std::string& errorLog = "") {
    pid_ = ::fork();
    if (pid_ == 0) {
      if (::chdir(cwd.c_str()) != 0) ::_exit(126);
      ::dup2(fd, 0);
      ::dup2(fd, 1);
      int err = ::open(errorLog.empty() ? "/dev/null" : errorLog.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      if (err >= 0) ::dup2(err, 2);
      for (int i = 3; i < 1024; ++i) ::close(i);
      std::vector<char*> args;
      for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
  }
  ~Child() {
    if (pid_ > 0 && !done_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  // Its exit status, or -1 when it had to be killed after the limit.
  int wait(double seconds = 30) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
      pid_t r = ::waitpid(pid_, &status, WNOHANG);
      if (r == pid_) {
        done_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    done_ = true;
    return -1;
  }
  void signal(int sig) { ::kill(pid_, sig); }
  bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  bool done_ = false;
};

// Copies bytes both ways between two descriptors. In each direction one
// byte in `oneIn` (0: none) gets one bit flipped, or is dropped with `drop`,
// decided by a generator seeded per direction, so a run hits the same stream
// positions.
class Relay {
 public:
  Relay(int left, int right, unsigned oneIn = 0, uint32_t seed = 1, bool drop = false)
      : fd_{left, right}, oneIn_(oneIn), drop_(drop), rng_{std::mt19937(seed), std::mt19937(seed + 1)} {
    thread_ = std::thread([this] { run(); });
  }
  ~Relay() { stop(); }
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  // What went from left to right (0) or right to left (1).
  std::vector<uint8_t> passed(int direction) {
    std::lock_guard lock(mutex_);
    return log_[direction];
  }
  long corrupted() const { return corrupted_; }

 private:
  void run() {
    bool open[2] = {true, true};
    uint8_t buffer[16384];
    while (!stop_ && (open[0] || open[1])) {
      pollfd p[2] = {{fd_[0], static_cast<short>(open[0] ? POLLIN : 0), 0},
                     {fd_[1], static_cast<short>(open[1] ? POLLIN : 0), 0}};
      if (::poll(p, 2, 20) <= 0) continue;
      for (int from = 0; from < 2; ++from) {
        if (!open[from] || !(p[from].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        ssize_t n = ::read(fd_[from], buffer, sizeof buffer);
        int to = 1 - from;
        if (n <= 0) {
          open[from] = false;
          ::shutdown(fd_[to], SHUT_WR);
          continue;
        }
        if (oneIn_) {
          ssize_t kept = 0;
          for (ssize_t i = 0; i < n; ++i) {
            uint8_t b = buffer[i];
            if (rng_[from]() % oneIn_ == 0) {
              ++corrupted_;
              if (drop_) continue;
              b ^= static_cast<uint8_t>(1u << (rng_[from]() % 8));
            }
            buffer[kept++] = b;
          }
          n = kept;
        }
        {
          std::lock_guard lock(mutex_);
          log_[from].insert(log_[from].end(), buffer, buffer + n);
        }
        for (ssize_t done = 0; done < n;) {
          ssize_t w = ::send(fd_[to], buffer + done, static_cast<size_t>(n - done), MSG_NOSIGNAL);
          if (w <= 0) {
            open[from] = false;
            break;
          }
          done += w;
        }
      }
    }
  }

  int fd_[2];
  unsigned oneIn_;
  bool drop_;
  std::mt19937 rng_[2];
  std::atomic<bool> stop_{false};
  std::atomic<long> corrupted_{0};
  std::mutex mutex_;
  std::vector<uint8_t> log_[2];
  std::thread thread_;
};

}  // namespace kesta::zlink::test
