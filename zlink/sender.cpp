// The sending session: one file. A receiver that can take data while it
// answers gets a stream of sub-packets and one that names a buffer length at
// most that much before each wait; otherwise (or when streaming is turned
// off, or once a stream has needed several resends) every sub-packet is
// acknowledged.
#include <cstdio>
#include <memory>

#include "zlink/file_info.h"
#include "zlink/file_open.h"
#include "zlink/link.h"

namespace kesta::zlink {

namespace {

class Sender {
 public:
  Sender(const SessionConfig& config, const std::string& path) : link_(config), path_(path) {}
  int run();

 private:
  int stoppedResult() const {
    return link_.config.cancel && link_.config.cancel->load() ? kResultCancelled : kResultFailed;
  }
  bool tooManyErrors() const { return link_.options.consecutiveErrors > kMaxStartErrors; }
  void sendZsinit();
  void sendZfile();
  int sendData();
  int sendAcknowledged();
  int sendStreaming(bool fullDuplex, long window);
  bool readBlock(size_t size, size_t* n);
  // The receiver's replies during the data, shared by both ways of sending.
  void acknowledged();
  void rewind();
  bool waitsLeftAfterLostReply();
  int finish();
  bool resendFromConfirmed();
  int closeSession();

  Link link_;
  std::string path_;
  File file_;
  uint8_t block_[kSubPacketLength];
  int subPacketNumber_ = 0;
  int silentWaits_ = 0;
  int rewinds_ = 0;  // ZRPOS received while streaming
  bool repeatedZrinit_ = false;  // a second ZRINIT passed over while ZSINIT awaits its ZACK
  int lateStartFrames_ = 0;  // start frames passed over while ZFILE awaits its ZRPOS
  long fileOffset_ = -1;  // where the file stands, -1 when unknown
  // The receiver's position as it last told it (ZRPOS, ZACK): a frame sent
  // again after a lost reply starts here, never ahead of the receiver
  // (lrzsz's rz keeps a frame ahead of its position for later and, with
  // several kept, could fail when it ends).
  long confirmed_ = 0;
  long resentEnd_ = -1;  // where the block sent again after ZEOF ends, -1: none
};

void Sender::sendZsinit() {
  uint8_t data[4] = {};
  if (link_.writer.escapeControls) data[kZf0] = kWantsEscapedControls;
  link_.status("  Sending ZSINIT...");
  link_.sendBinary(kZsinit, data);
  const uint8_t emptyAttention[1] = {0};
  link_.sendSubPacket(emptyAttention, 1, kZcrcw);
}

void Sender::sendZfile() {
  static const uint8_t kZero[4] = {};
  link_.status("  Send ZFILE...");
  std::vector<uint8_t> info = buildFileInfo(path_, link_.options.fileSize);
  if (info.size() > kSubPacketLength) info.resize(kSubPacketLength);
  link_.sendBinary(kZfile, kZero);
  link_.sendSubPacket(info.data(), info.size(), kZcrcw);
}

int Sender::run() {
  SessionOptions& o = link_.options;
  o = SessionOptions{};
  o.sessionStart = link_.now();
  link_.setState(kStateIdle);
  link_.status("  Initialize ZMODEM transmission...");
  file_.reset(openTransferFile(path_, "rb", link_.config.utf8Names));
  long size = -1;
  if (file_ && std::fseek(file_.get(), 0, SEEK_END) == 0) size = std::ftell(file_.get());
  // Positions on the line are 32 bits wide; larger files cannot be sent.
  if (!file_ || size < 0 || size > 0x7FFFFFFFL) {
    // Nothing can be sent: tell the waiting peer to give up.
    link_.status("  ZMODEM error : unable to read file...");
    link_.abort(true);
    return kResultFileError;
  }
  o.fileSize = o.totalBytes = o.bytesRemaining = size;
  o.filesRemaining = 1;
  o.fileNumber = o.fileCount = 1;
  link_.reporter.fileName(path_);
  link_.reporter.fileSize(size);
  link_.reporter.fileNumber(1, 1);
  link_.reporter.totalSize(size);
  link_.reporter.fileMeter(size, 0);
  link_.reporter.totalMeter(size, 0);

  // Step 1: ZRQINIT until the receiver answers with ZRINIT.
  static const uint8_t kZero[4] = {};
  link_.setState(kSendWaitZrinit);
  link_.status("  Sending ZRQINIT...");
  link_.sendHex(kZrqinit, kZero);
  for (;;) {
    int type = link_.receiveHeader();
    if (type != kReadCancelled && link_.stopped()) return stoppedResult();
    if (type == kZrinit) {
      const uint8_t* h = link_.header();
      o.receiverCapabilities = h[kZf0];
      o.receiverBufferLength = h[0] | h[1] << 8;
      link_.writer.variableHeaders = (h[kZf1] & kCanVariableHeaders) != 0;
      link_.writer.crc32OnTransmit = (o.receiverCapabilities & kCanCrc32) != 0;
      link_.writer.escapeControls = (o.receiverCapabilities & kWantsEscapedControls) != 0;
      link_.reader.escapeControls = link_.writer.escapeControls;
      link_.reader.variableHeaders = link_.writer.variableHeaders;
      // ZFILE follows ZSINIT at once (a receiver reads them in turn): a
      // round trip less on a line with latency.
      sendZsinit();
      sendZfile();
      break;
    }
    if (isAbort(type)) {
      link_.abort(true);
      return kResultPeerAborted;
    }
    link_.status("  Bad ZRINIT...");
    link_.badFrame("  ", type, "...");
    link_.countError();
    if (tooManyErrors()) return kResultFailed;
    link_.status("  Resending ZRQINIT...");
    link_.sendHex(kZrqinit, kZero);
  }

  // Step 2: ZACK of ZSINIT, then ZRPOS of ZFILE (ZFILE again until it comes).
  link_.setState(kSendAfterZsinit);
  link_.resetErrors();
  for (;;) {
    int type = link_.receiveHeader();
    if (type != kReadCancelled && link_.stopped()) return stoppedResult();
    if (type == kZrpos) break;  // the ZACK was lost; the ZFILE was not
    if (type == kZack) {
      link_.status("  Receved ZACK...");
      link_.setState(kSendAfterZfile);
      link_.resetErrors();
      for (;;) {
        type = link_.receiveHeader();
        if (type != kReadCancelled && link_.stopped()) return stoppedResult();
        if (type == kZrpos) break;
        if (isAbort(type)) {
          link_.abort(true);
          return kResultPeerAborted;
        }
        // A late second ZACK or ZRINIT of the start says nothing about the
        // ZFILE, which is on its way.
        if ((type == kZack || type == kZrinit) && lateStartFrames_ < 2) {
          ++lateStartFrames_;
          continue;
        }
        link_.badFrame("  Bad ZRPOS -- ", type, "...");
        link_.countError();
        if (type == kZskip) {
          // The receiver does not want the file: close the session politely.
          int result = closeSession();
          return result == kResultSuccess ? kResultFailed : result;
        }
        if (tooManyErrors()) return kResultFailed;
        sendZfile();
      }
      break;
    }
    if (isAbort(type)) {
      link_.abort(true);
      return kResultPeerAborted;
    }
    // A receiver that answered our ZRQINIT after its own first ZRINIT (lrzsz's
    // rz does) sends a second ZRINIT; our ZSINIT and ZFILE are already on
    // their way, and second ones would bring a second ZACK and a stale ZRPOS
    // into the data.
    if (type == kZrinit && !repeatedZrinit_) {
      repeatedZrinit_ = true;
      continue;
    }
    link_.badFrame("  Bad ZACK -- ", type, "...");
    link_.countError();
    if (tooManyErrors()) return kResultFailed;
    // Only ZFILE goes again: a receiver that already has it may take a
    // second ZSINIT for a fault and end the session (lrzsz's rz does).
    link_.discardInput();
    sendZfile();
  }
  return sendData();
}

int Sender::sendData() {
  SessionOptions& o = link_.options;
  o.position = confirmed_ = link_.headerPosition();
  link_.markDataStart();
  const bool fullDuplex = (o.receiverCapabilities & (kCanFullDuplex | kCanOverlapIo)) == (kCanFullDuplex | kCanOverlapIo);
  // A receiver that wants control characters escaped keeps every sub-packet
  // acknowledged: streamed to lrzsz's rz -e through a line that corrupts
  // bytes, a transfer still failed early (the cause is not yet known).
  const bool escaped = (o.receiverCapabilities & kWantsEscapedControls) != 0;
  const bool noisy = rewinds_ > 2 && o.receiverBufferLength == 0;
  if (link_.config.stream && !escaped && !noisy && (o.receiverBufferLength > 0 || fullDuplex))
    return sendStreaming(fullDuplex, o.receiverBufferLength);
  return sendAcknowledged();
}

// Reads up to `size` bytes at the position into the block; false (the
// session aborted) when the file cannot be read.
bool Sender::readBlock(size_t size, size_t* n) {
  const long position = link_.options.position;
  *n = 0;
  // Seek only when the file is elsewhere, so that its buffer is kept.
  if (position == fileOffset_ || std::fseek(file_.get(), position, SEEK_SET) == 0)
    *n = std::fread(block_, 1, size, file_.get());
  fileOffset_ = *n == size ? position + static_cast<long>(*n) : -1;
  if (*n < size && std::ferror(file_.get())) {
    link_.status("  ZMODEM error : unable to read file...");
    link_.abort(true);
    return false;
  }
  return true;
}

// Sub-packets without waiting: ZCRCG, with a ZCRCQ now and then on a full
// duplex line and a ZCRCW where the receiver's buffer is full. Replies are
// read as they come; a ZRPOS sends the data again from its offset.
int Sender::sendStreaming(bool fullDuplex, long window) {
  SessionOptions& o = link_.options;
  constexpr int kPacketsPerZcrcq = 16;
  const size_t size = window > 0 && window < static_cast<long>(sizeof block_) ? static_cast<size_t>(window) : sizeof block_;
  for (;;) {
    // Nothing left to send: no (empty) frame, the end of file at once.
    if (o.position >= o.fileSize) return finish();
    link_.setState(kSendData);
    uint8_t data[4];
    storePosition(data, o.position);
    link_.sendBinary(kZdata, data);
    const long frameStart = o.position;
    int sincePoll = 0;
    bool restart = false;
    while (!restart) {
      if (link_.stopped()) return stoppedResult();
      size_t n = 0;
      if (!readBlock(size, &n)) return kResultFileError;
      ++subPacketNumber_;
      o.lastSubPacketLength = static_cast<int>(n);
      o.bytesThisTransfer += static_cast<long>(n);
      o.position += static_cast<long>(n);
      if (n < size) {
        link_.sendSubPacket(block_, n, kZcrce);
        link_.status("  Send Sub Packet #%d (Last)...", subPacketNumber_);
        link_.reportProgress();
        return finish();
      }
      const bool windowFull = window > 0 && o.position - frameStart + static_cast<long>(size) > window;
      const bool poll = fullDuplex && ++sincePoll >= kPacketsPerZcrcq;
      const uint8_t end = windowFull ? kZcrcw : poll ? kZcrcq : kZcrcg;
      if (poll) sincePoll = 0;
      link_.sendSubPacket(block_, n, end);
      link_.status(end == kZcrcw ? "  Send Sub Packet #%d (ZCRCW)..."
                   : end == kZcrcq ? "  Send Sub Packet #%d (ZCRCQ)..."
                                   : "  Send Sub Packet #%d (ZCRCG)...",
                   subPacketNumber_);
      link_.reportProgress();
      // What the receiver said so far, or (after a ZCRCW) its answer.
      for (;;) {
        const int type = end == kZcrcw ? link_.receiveHeader() : link_.pollHeader();
        if (type != kReadCancelled && link_.stopped()) return stoppedResult();
        if (type == kZack) {
          acknowledged();
          if (end == kZcrcw) restart = true;  // a new frame for the next window
          if (end == kZcrcw || !link_.buffered()) break;
          continue;
        }
        if (type == kZrpos) {
          rewind();
          link_.discardInput();  // what came before it speaks of data sent again now
          // An empty ZCRCE ends the open frame: the receiver then looks for the new header.
          if (end != kZcrcw) link_.sendSubPacket(block_, 0, kZcrce);
          // The first two may answer an offer the receiver saw twice; more
          // mean a noisy line, where the rest goes acknowledged sub-packet by
          // sub-packet: a receiver that skips a long backlog for the next
          // header counts what it skips (and every ZCRCW in it) as errors,
          // answers each with another ZRPOS and gives up after too many.
          if (++rewinds_ > 2 && window == 0) return sendAcknowledged();
          restart = true;
          break;
        }
        if (isAbort(type)) {
          link_.status("  ZCAN received...");
          return kResultPeerAborted;
        }
        if (end != kZcrcw) {
          if (type >= 0) link_.status("  Unexpected Header (%d)...", type);
          if (!link_.buffered()) break;
          continue;
        }
        link_.status("  Unexpected Header (%d)...", type);
        if (type >= 0) continue;
        // The answer to the ZCRCW was lost or garbled: send again from what
        // the receiver confirmed.
        if (!waitsLeftAfterLostReply()) return kResultFailed;
        o.position = confirmed_;
        restart = true;
        break;
      }
    }
  }
}

int Sender::sendAcknowledged() {
  SessionOptions& o = link_.options;
  for (;;) {
    // A ZDATA header at the position, then blocks until the end of the file.
    // Nothing left to send: no (empty) frame, the end of file at once.
    if (o.position >= o.fileSize) return finish();
    link_.setState(kSendData);
    uint8_t data[4];
    storePosition(data, o.position);
    link_.sendBinary(kZdata, data);
    bool restart = false;
    while (!restart) {
      size_t n = 0;
      if (!readBlock(sizeof block_, &n)) return kResultFileError;
      ++subPacketNumber_;
      o.lastSubPacketLength = static_cast<int>(n);
      o.bytesThisTransfer += static_cast<long>(n);
      o.position += static_cast<long>(n);
      if (n < sizeof block_) {
        link_.sendSubPacket(block_, n, kZcrce);
        link_.status("  Send Sub Packet #%d (Last)...", subPacketNumber_);
        link_.reportProgress();
        return finish();
      }
      link_.sendSubPacket(block_, n, kZcrcq);
      link_.status("  Send Sub Packet #%d (ZCRCQ)...", subPacketNumber_);
      link_.reportProgress();
      // Every sub-packet waits for its acknowledgement.
      for (;;) {
        int type = link_.receiveHeader();
        if (type != kReadCancelled && link_.stopped()) return stoppedResult();
        if (type == kZack) {
          acknowledged();
          break;
        }
        if (type == kZrpos) {
          rewind();
          restart = true;
          break;
        }
        if (isAbort(type)) {
          link_.status("  ZCAN received...");
          return kResultPeerAborted;
        }
        link_.status("  Unexpected Header (%d)...", type);
        if (type >= 0) continue;
        // A lost or garbled reply: send again from what the receiver
        // confirmed; one that is further answers with ZRPOS.
        if (!waitsLeftAfterLostReply()) return kResultFailed;
        o.position = confirmed_;
        restart = true;
        break;
      }
    }
  }
}

void Sender::acknowledged() {
  if (link_.headerPosition() > confirmed_) confirmed_ = link_.headerPosition();
  silentWaits_ = 0;
  link_.resetErrors();
}

// A ZRPOS: the data goes again from the receiver's offset.
void Sender::rewind() {
  link_.options.position = confirmed_ = link_.headerPosition();
  link_.status("  Retry at = %ld...", link_.options.position);
  link_.countError();
}

// A reply lost or garbled counts as an error; false once the receiver has
// been silent too often.
bool Sender::waitsLeftAfterLostReply() {
  link_.countError();
  return !(link_.lastReadTimedOut() && ++silentWaits_ > kMaxSilentWaits);
}

int Sender::finish() {
  SessionOptions& o = link_.options;
  for (;;) {
    link_.status("  Send ZEOF...");
    uint8_t data[4];
    storePosition(data, o.position);
    link_.sendBinary(kZeof, data);
    link_.setState(kSendAfterZeof);
    int type;
    for (;;) {
      type = link_.receiveHeader();
      if (type != kReadCancelled && link_.stopped()) return stoppedResult();
      // The ZACK of a block sent again below (not a late one of a ZCRCQ):
      // the rest goes from there.
      if (type == kZack && resentEnd_ > 0 && link_.headerPosition() == resentEnd_ && resentEnd_ < o.position)
        type = kZrpos;
      if (type < 0 || type == kZrinit || type == kZskip || type == kZrpos || isAbort(type)) break;
    }
    if (type == kZrinit || type == kZskip) break;
    if (type == kZrpos) {
      link_.status("  Rewind data packet...");
      return sendData();
    }
    if (isAbort(type)) {
      link_.abort(true);
      return kResultPeerAborted;
    }
    // Silence or a garbled reply: the ZEOF or the receiver's ZRPOS may have
    // been lost. A receiver still looking for a header at an earlier
    // position passes over an end of file that is not at its position
    // without a word, so a block goes again before the ZEOF, from the
    // position the receiver confirmed last, ended by ZCRCW: a receiver
    // still there acknowledges it, one further answers with ZRPOS, and one
    // at the end takes the ZEOF.
    link_.countError();
    if (link_.lastReadTimedOut() && ++silentWaits_ > kMaxSilentWaits) return kResultFailed;
    if (!resendFromConfirmed()) return kResultFileError;
  }
  link_.status("  Received final ZRINIT...");
  return closeSession();
}

// A block (at most a sub-packet, never empty) from the confirmed position
// as a frame of its own, ended by ZCRCW; nothing when the receiver
// confirmed the whole file.
bool Sender::resendFromConfirmed() {
  SessionOptions& o = link_.options;
  const long end = o.position;
  if (confirmed_ >= end) return true;
  const long length = end - confirmed_ < static_cast<long>(sizeof block_) ? end - confirmed_ : static_cast<long>(sizeof block_);
  o.position = confirmed_;
  size_t n = 0;
  const bool read = readBlock(static_cast<size_t>(length), &n);
  o.position = end;
  if (!read) return false;
  uint8_t data[4];
  storePosition(data, confirmed_);
  link_.sendBinary(kZdata, data);
  link_.sendSubPacket(block_, n, kZcrcw);
  resentEnd_ = confirmed_ + static_cast<long>(n);
  return true;
}

int Sender::closeSession() {
  static const uint8_t kZero[4] = {};
  // A receiver whose wait for our ZFIN ran out repeats its final ZRINIT;
  // that stale frame may still be on its way when our ZFIN has gone, so a
  // frame other than ZFIN is answered with ZFIN again, a few times. Silence,
  // garbage and a cancel end the session as before.
  constexpr int kZfinTries = 4;
  int type = kReadTimeout;
  for (int tries = 0; tries < kZfinTries; ++tries) {
    link_.status("  Send ZFIN...");
    link_.sendHex(kZfin, kZero);
    link_.setState(kSendAfterZfin);
    type = link_.receiveHeader();
    if (type == kZfin || type < 0 || isAbort(type)) break;
  }
  link_.status(type == kZfin ? "  Received ZFIN..." : "  Received Non ZFIN...");
  link_.status("  Send OO(over and out)...");
  static const uint8_t kOverAndOut[2] = {'O', 'O'};
  link_.writeRaw(kOverAndOut, sizeof kOverAndOut);
  link_.discardInput();
  link_.status("  End of Send ZMODEM Session...");
  return kResultSuccess;
}

}  // namespace

int sendFile(const SessionConfig& config, const std::string& path) {
  Sender sender(config, path);
  return sender.run();
}

}  // namespace kesta::zlink
