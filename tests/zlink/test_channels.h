// Test helpers: an in-memory channel pair for two sessions on two threads,
// a memory byte source for the readers, and a reporter that records.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string>
#include <vector>

#include "zlink/channel.h"
#include "zlink/frame_reader.h"
#include "zlink/progress.h"

namespace kesta::zlink::test {

// One direction of a connection.
struct ByteQueue {
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<uint8_t> bytes;
  bool closed = false;

  void push(const uint8_t* data, size_t size) {
    std::lock_guard lock(mutex);
    bytes.insert(bytes.end(), data, data + size);
    ready.notify_all();
  }
  void close() {
    std::lock_guard lock(mutex);
    closed = true;
    ready.notify_all();
  }
};

class QueueChannel : public ByteChannel {
 public:
  QueueChannel(std::shared_ptr<ByteQueue> in, std::shared_ptr<ByteQueue> out) : in_(in), out_(out) {}
  ~QueueChannel() override { out_->close(); }

  int readByte(int waitMs) override {
    std::unique_lock lock(in_->mutex);
    in_->ready.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return !in_->bytes.empty() || in_->closed; });
    if (in_->bytes.empty()) return in_->closed ? kClosed : kNoByte;
    int c = in_->bytes.front();
    in_->bytes.pop_front();
    return c;
  }
  bool write(const uint8_t* data, size_t size) override {
    ++writes;
    log.insert(log.end(), data, data + size);
    out_->push(data, size);
    return true;
  }
  void discardInput() override {
    std::lock_guard lock(in_->mutex);
    in_->bytes.clear();
  }
  void discardOutput() override {}

  int writes = 0;
  std::vector<uint8_t> log;  // everything written, in order

 private:
  std::shared_ptr<ByteQueue> in_;
  std::shared_ptr<ByteQueue> out_;
};

struct ChannelPair {
  ChannelPair()
      : aToB(std::make_shared<ByteQueue>()),
        bToA(std::make_shared<ByteQueue>()),
        a(bToA, aToB),
        b(aToB, bToA) {}
  std::shared_ptr<ByteQueue> aToB, bToA;
  QueueChannel a, b;
};

// Feeds a reader from a buffer; -1 at its end.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  size_t remaining() const { return bytes_.size() - at_; }

 protected:
  // Byte by byte, so that remaining() is always exact.
  int underflow() override { return at_ < bytes_.size() ? bytes_[at_++] : -1; }

 private:
  std::vector<uint8_t> bytes_;
  size_t at_ = 0;
};

class RecordingReporter : public ProgressReporter {
 public:
  void status(std::string_view text) override {
    std::lock_guard lock(mutex_);
    statuses_.emplace_back(text);
  }
  void thisFileBytes(long bytes) override {
    std::lock_guard lock(mutex_);
    thisFile_.push_back(bytes);
  }
  void errors(int consecutive, int total) override {
    std::lock_guard lock(mutex_);
    lastErrors_ = {consecutive, total};
  }
  std::vector<std::string> statuses() {
    std::lock_guard lock(mutex_);
    return statuses_;
  }
  std::vector<long> thisFile() {
    std::lock_guard lock(mutex_);
    return thisFile_;
  }
  bool saw(const std::string& text) {
    for (const auto& s : statuses())
      if (s == text) return true;
    return false;
  }
  int count(const std::string& text) {
    int n = 0;
    for (const auto& s : statuses()) n += s == text;
    return n;
  }
  std::pair<int, int> lastErrors() {
    std::lock_guard lock(mutex_);
    return lastErrors_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> statuses_;
  std::vector<long> thisFile_;
  std::pair<int, int> lastErrors_{0, 0};
};

}  // namespace kesta::zlink::test

#include <filesystem>
#include <fstream>
#include <random>

#include "zlink/frame_writer.h"
#include "zlink/protocol.h"

namespace kesta::zlink::test {

// The frames of one direction of a session, as text: "ZDATA@0 q1024 e0 ZEOF@2048".
inline std::string describeStream(const std::vector<uint8_t>& bytes) {
  static const char* kNames[] = {"ZRQINIT", "ZRINIT", "ZSINIT", "ZACK", "ZFILE", "ZSKIP", "ZNAK", "ZABORT",
                                 "ZFIN",    "ZRPOS",  "ZDATA",  "ZEOF", "12",    "13",    "14",   "15", "ZCAN"};
  MemorySource source(bytes);
  FrameReader reader(source);
  std::string out;
  uint8_t data[4];
  for (;;) {
    int type = reader.receiveHeader(data);
    if (type == kReadTimeout) break;
    if (!out.empty()) out += ' ';
    if (type < 0 || type > kZcan) {
      out += "?" + std::to_string(type);
      continue;
    }
    out += kNames[type];
    if (type == kZdata || type == kZeof || type == kZrpos) out += "@" + std::to_string(loadPosition(data));
    if ((type == kZdata || type == kZfile || type == kZsinit) && reader.lastHeaderCrc32()) {
      for (;;) {
        uint8_t buffer[1024];
        size_t size = 0;
        int end = reader.receiveData(buffer, sizeof buffer, &size);
        if (end < 0) {
          out += " bad" + std::to_string(end);
          break;
        }
        out += ' ';
        out += static_cast<char>(end == kZcrce ? 'e' : end == kZcrcg ? 'g' : end == kZcrcq ? 'q' : 'w');
        out += std::to_string(size);
        if (end == kZcrce || end == kZcrcw) break;
      }
    }
  }
  return out;
}

// A fresh directory under the system's temporary directory, removed at the end.
class TempDir {
 public:
  TempDir() {
    static std::mt19937 rng(std::random_device{}());
    path_ = std::filesystem::temp_directory_path() / ("kesta-zlink-" + std::to_string(rng()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

inline std::vector<uint8_t> randomBytes(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(size);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

inline void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kesta::zlink::test
