// Running a ZMODEM session: sending one file, or receiving one or more
// files into a directory, over a byte channel, reporting to a progress
// reporter. The caller runs either on a thread of its own.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "zlink/channel.h"
#include "zlink/progress.h"
#include "zlink/protocol.h"

namespace kesta::zlink {

struct SessionConfig {
  ByteChannel* channel = nullptr;
  ProgressReporter* reporter = nullptr;
  Timing timing;
  // A telnet connection aborts with CAN bytes only; a serial line first
  // tries the abort frames.
  bool telnet = false;
  // The host's file names are UTF-8, and so are the paths given to the
  // session: names are made safe as UTF-8 and files opened by their
  // Unicode names. Otherwise names and paths are the local code's bytes.
  bool utf8Names = false;
  // Sending: stream to a receiver that takes data while it answers (full
  // duplex, overlapped I/O, no buffer length), bound each frame by a
  // receiver's buffer length, and fall back to every sub-packet acknowledged
  // once a stream has needed several resends. Off, every sub-packet waits
  // for its ZACK.
  bool stream = true;
  // Seconds on any steady clock; a steady clock when empty.
  std::function<long()> clock;
  // Optional: set by another thread to stop the session at its next wait.
  const std::atomic<bool>* cancel = nullptr;
  // Optional: where the session keeps its state number for its owner.
  std::atomic<int>* state = nullptr;
};

// Sends the file at path. Returns a Result.
int sendFile(const SessionConfig& config, const std::string& path);

// Receives files into directory (with or without a trailing separator).
// Returns a Result.
int receiveFiles(const SessionConfig& config, const std::string& directory);

// The abort sequence, for a Cancel pressed while a session runs (it may be
// called from another thread while the session waits in a read).
void abortSession(const SessionConfig& config, bool sending);

}  // namespace kesta::zlink
