#include "zlink/link.h"

#include <chrono>
#include <cstdio>

namespace kesta::zlink {

namespace {
SilentReporter gSilent;
}

Link::Link(const SessionConfig& config)
    : reader(*this), reporter(config.reporter ? *config.reporter : gSilent), channel(*config.channel), config(config) {}

bool Link::stopped() const { return closed_ || (config.cancel && config.cancel->load()); }

int Link::underflow() {
  flushOutput();  // nothing waits for an answer to what has not gone out
  timedOut_ = false;
  int waits = waitLimit_ > 0 ? waitLimit_ : config.timing.waits > 0 ? config.timing.waits : 1;
  for (int i = 0; i < waits && !stopped(); ++i) {
    int n = channel.readSome(input_, static_cast<int>(sizeof input_), config.timing.waitMs);
    if (n > 0) {
      setWindow(input_ + 1, input_ + n);
      return input_[0];
    }
    if (n == ByteChannel::kClosed) closed_ = true;
  }
  timedOut_ = true;
  return -1;
}

Link::~Link() { flushOutput(); }

void Link::queue(const uint8_t* data, size_t size) {
  pending_.insert(pending_.end(), data, data + size);
  if (pending_.size() >= kMostPending) flushOutput();
}

void Link::flushOutput() {
  if (pending_.empty()) return;
  if (!channel.write(pending_.data(), pending_.size())) closed_ = true;
  pending_.clear();
}

void Link::writeRaw(const uint8_t* data, size_t size) {
  flushOutput();
  if (!channel.write(data, size)) closed_ = true;
}

void Link::sendHex(int type, const uint8_t data[4]) {
  writer.hexHeader(type, data);
  writeRaw(writer.data(), writer.size());
}

void Link::sendHexPosition(int type, long position) {
  uint8_t data[4];
  storePosition(data, position);
  sendHex(type, data);
}

void Link::sendBinary(int type, const uint8_t data[4]) {
  writer.binaryHeader(type, data);
  queue(writer.data(), writer.size());
  // A header that carries data goes with its first sub-packet; any other goes now.
  if (type != kZdata && type != kZfile && type != kZsinit) flushOutput();
}

void Link::sendSubPacket(const uint8_t* data, size_t size, uint8_t terminator) {
  writer.subPacket(data, size, terminator);
  queue(writer.data(), writer.size());
  // Streamed sub-packets (ZCRCG) go out in batches; one that asks for an
  // answer or ends a frame goes now, with what waits before it.
  if (terminator != kZcrcg) flushOutput();
}

int Link::receiveHeader() {
  for (uint8_t& b : header_) b = 0;
  return reader.receiveHeader(header_);
}

int Link::pollHeader() {
  // Bytes that cannot begin a header (the XON after a hex header, noise)
  // are passed over without a wait: only a ZPAD or a CAN is worth one.
  for (;;) {
    if (!buffered()) {
      int n = channel.readSome(input_, static_cast<int>(sizeof input_), 0);
      if (n == ByteChannel::kClosed) closed_ = true;
      if (n <= 0) return kReadTimeout;
      setWindow(input_, input_ + n);
    }
    const int c = peekBuffered();
    if ((c & 0x7F) == kZpad || c == kCan) break;
    skipBuffered();
  }
  // Noise without a header must not hold the sender for the whole time-out.
  waitLimit_ = 1;
  int type = receiveHeader();
  waitLimit_ = 0;
  return type;
}

void Link::status(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  reporter.status(text);
}

void Link::badFrame(const char* prefix, int type, const char* suffix) {
  status("%sFrame Type %d : %02x %02x %02x %02x%s", prefix, type, header_[0], header_[1], header_[2], header_[3],
         suffix);
}

void Link::countError() {
  ++options.consecutiveErrors;
  ++options.totalErrors;
  reporter.errors(options.consecutiveErrors, options.totalErrors);
}

void Link::resetErrors() {
  options.consecutiveErrors = 0;
  reporter.errors(options.consecutiveErrors, options.totalErrors);
}

void Link::setState(int state) {
  if (config.state) config.state->store(state);
}

long Link::now() const {
  if (config.clock) return config.clock();
  using namespace std::chrono;
  return static_cast<long>(duration_cast<seconds>(steady_clock::now().time_since_epoch()).count());
}

void Link::markDataStart() {
  if (options.dataStarted) return;
  options.dataStarted = true;
  options.dataStart = now();
}

void Link::reportProgress() {
  long t = now();
  long cps = options.bytesThisTransfer / (t - options.dataStart + 1);
  reporter.packetLength(options.bytesThisTransfer);
  reporter.subPacketLength(options.lastSubPacketLength);
  reporter.cps(static_cast<int>(cps));
  reporter.thisFileBytes(options.position);
  reporter.allBytes(options.bytesDoneBefore + options.position);
  reporter.fileMeter(options.fileSize, options.position);
  reporter.totalMeter(options.totalBytes, options.bytesDoneBefore + options.position);
  reporter.elapsed(t - options.sessionStart);
  reporter.estimated(options.totalBytes / (cps + 1));
  reporter.errors(options.consecutiveErrors, options.totalErrors);
}

void Link::abort(bool sending) {
  static const uint8_t kCans[10] = {kCan, kCan, kCan, kCan, kCan, kCan, kCan, kCan, kCan, kCan};
  static const uint8_t kCr = '\r';
  static const uint8_t kZero[4] = {};
  status("  Send ZABORT...");
  if (config.telnet) {
    writeRaw(kCans, sizeof kCans);
    writeRaw(&kCr, 1);
    return;
  }
  // The reply to an abort frame is awaited for a tenth of a time-out (14 s)
  // only: the peer is often gone already.
  waitLimit_ = config.timing.waits / 10 > 0 ? config.timing.waits / 10 : 1;
  if (sending) {
    for (int i = 0; i < 2 && !stopped(); ++i) {
      sendHex(kZcan, kZero);
      if (receiveHeader() == kZack) {
        sendHex(kZcan, kZero);
        break;
      }
    }
    writeRaw(kCans, sizeof kCans);
  } else {
    sendHex(kZabort, kZero);
    if (stopped() || receiveHeader() != kZack) {
      writeRaw(kCans, sizeof kCans);
      writeRaw(&kCr, 1);
      writeRaw(kCans, sizeof kCans);
    }
  }
  waitLimit_ = 0;
}

void Link::awaitOverAndOut() {
  waitLimit_ = config.timing.waits / 140 > 0 ? config.timing.waits / 140 : 1;
  int seen = 0;
  for (int i = 0; i < 8 && seen < 2; ++i) {
    int c = next();
    if (c < 0) break;
    seen = c == 'O' ? seen + 1 : 0;
  }
  waitLimit_ = 0;
}

void abortSession(const SessionConfig& config, bool sending) {
  Link link(config);
  link.abort(sending);
}

}  // namespace kesta::zlink
