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
#include <algorithm>
#include <chrono>
#include <deque>
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
// positions. With delayMs, every byte is passed on that long after it came
// (a line with latency).
class Relay {
 public:
  Relay(int left, int right, unsigned oneIn = 0, uint32_t seed = 1, bool drop = false, int delayMs = 0)
      : fd_{left, right}, oneIn_(oneIn), drop_(drop), delay_(delayMs),
        rng_{std::mt19937(seed), std::mt19937(seed + 1)} {
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
  using Clock = std::chrono::steady_clock;
  struct Held {
    Clock::time_point due;
    std::vector<uint8_t> bytes;  // empty: the end of the stream
  };

  // Passes on what is due in one direction; false when the far end is gone.
  bool release(std::deque<Held>& held, int to) {
    while (!held.empty() && held.front().due <= Clock::now()) {
      const auto& b = held.front().bytes;
      if (b.empty()) {
        ::shutdown(fd_[to], SHUT_WR);
      } else if (!sendAll(fd_[to], b.data(), static_cast<ssize_t>(b.size()))) {
        return false;
      }
      held.pop_front();
    }
    return true;
  }

  static bool sendAll(int fd, const uint8_t* data, ssize_t n) {
    for (ssize_t done = 0; done < n;) {
      ssize_t w = ::send(fd, data + done, static_cast<size_t>(n - done), MSG_NOSIGNAL);
      if (w <= 0) return false;
      done += w;
    }
    return true;
  }

  void run() {
    bool open[2] = {true, true};
    std::deque<Held> held[2];
    uint8_t buffer[16384];
    while (!stop_ && (open[0] || open[1] || !held[0].empty() || !held[1].empty())) {
      int wait = 20;
      for (int from = 0; from < 2; ++from) {
        if (!release(held[from], 1 - from)) open[from] = false, held[from].clear();
        if (!held[from].empty()) {
          auto left = std::chrono::duration_cast<std::chrono::milliseconds>(held[from].front().due - Clock::now());
          wait = std::min(wait, static_cast<int>(std::max<long>(left.count(), 0)) + 1);
        }
      }
      pollfd p[2] = {{fd_[0], static_cast<short>(open[0] ? POLLIN : 0), 0},
                     {fd_[1], static_cast<short>(open[1] ? POLLIN : 0), 0}};
      if (::poll(p, 2, wait) <= 0) continue;
      for (int from = 0; from < 2; ++from) {
        if (!open[from] || !(p[from].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        ssize_t n = ::read(fd_[from], buffer, sizeof buffer);
        int to = 1 - from;
        if (n <= 0) {
          open[from] = false;
          if (delay_ > 0) held[from].push_back({Clock::now() + std::chrono::milliseconds(delay_), {}});
          else ::shutdown(fd_[to], SHUT_WR);
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
        if (delay_ > 0) {
          held[from].push_back({Clock::now() + std::chrono::milliseconds(delay_), {buffer, buffer + n}});
        } else if (!sendAll(fd_[to], buffer, n)) {
          open[from] = false;
        }
      }
    }
  }

  int fd_[2];
  unsigned oneIn_;
  bool drop_;
  int delay_;
  std::mt19937 rng_[2];
  std::atomic<bool> stop_{false};
  std::atomic<long> corrupted_{0};
  std::mutex mutex_;
  std::vector<uint8_t> log_[2];
  std::thread thread_;
};

}  // namespace kesta::zlink::test
