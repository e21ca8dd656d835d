// What the sender and the receiver share: the channel with the character
// time-out, header and sub-packet output, error counts, statistics and
// the abort sequences.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "zlink/frame_reader.h"
#include "zlink/frame_writer.h"
#include "zlink/session.h"

namespace kesta::zlink {

// A file of the transfer, closed when it goes out of scope.
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Whether a received frame type (or read result) ends the session as an abort.
inline bool isAbort(int type) { return type == kZabort || type == kZcan || type == kReadCancelled; }

// The session options, cleared at the start of each session.
struct SessionOptions {
  int consecutiveErrors = 0;
  int totalErrors = 0;
  long bytesThisTransfer = 0;
  long sessionStart = 0;
  long dataStart = 0;
  bool dataStarted = false;
  std::string directory;
  std::string bareName;
  int fileNumber = 0;
  int fileCount = 0;
  long totalBytes = 0;
  long filesRemaining = 0;
  long bytesRemaining = 0;
  long fileSize = 0;
  long modificationTime = 0;
  long fileMode = 0;
  long serialNumber = 0;
  long fileType = 0;
  uint8_t receiverCapabilities = 0;
  long receiverBufferLength = 0;
  int lastSubPacketLength = 0;
  long position = 0;
  std::string filePath;
  long bytesDoneBefore = 0;  // all bytes done in earlier files
};

class Link : public ByteSource {
 public:
  explicit Link(const SessionConfig& config);
  ~Link() override;
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Throws away what was received and not yet read, here and in the channel.
  void discardInput() {
    setWindow(nullptr, nullptr);
    channel.discardInput();
  }
  // The channel is closed or the local user cancelled: stop now.
  bool stopped() const;
  // The last read ended in a time-out (not in a bad byte).
  bool lastReadTimedOut() const { return timedOut_; }

  void sendHex(int type, const uint8_t data[4]);
  void sendHexPosition(int type, long position);
  void sendBinary(int type, const uint8_t data[4]);
  void sendSubPacket(const uint8_t* data, size_t size, uint8_t terminator);
  // Writes what is queued, then the bytes.
  void writeRaw(const uint8_t* data, size_t size);
  // Writes the streamed sub-packets still queued.
  void flushOutput();

  // One header; the data bytes stay in header().
  int receiveHeader();
  // A header when bytes have already arrived (read with one short wait for
  // the rest of it); kReadTimeout at once when nothing is waiting.
  int pollHeader();
  const uint8_t* header() const { return header_; }
  long headerPosition() const { return loadPosition(header_); }

  void status(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // "Frame Type %d : %02x %02x %02x %02x" after the given prefix and before the suffix.
  void badFrame(const char* prefix, int type, const char* suffix);
  void countError();
  void resetErrors();
  void setState(int state);
  long now() const;
  void markDataStart();
  // The counters, CPS, estimated time and meters after a sub-packet.
  void reportProgress();
  void abort(bool sending);
  // Waits a moment (a hundred-fortieth of the time-out, 1 s) for the
  // sender's closing "OO", so that the sender never writes into a closed
  // connection.
  void awaitOverAndOut();

  SessionOptions options;
  FrameWriter writer;
  FrameReader reader;
  ProgressReporter& reporter;
  ByteChannel& channel;
  const SessionConfig& config;

 private:
  // ByteSource: one byte within the character time-out, or -1.
  int underflow() override;

  void queue(const uint8_t* data, size_t size);

  // Output gathered into writes of up to about this size.
  static constexpr size_t kMostPending = 16384;
  std::vector<uint8_t> pending_;
  uint8_t header_[4] = {};
  uint8_t input_[32768];
  bool timedOut_ = false;
  bool closed_ = false;
  int waitLimit_ = 0;  // fewer waits than the time-out, while aborting
};

}  // namespace kesta::zlink
