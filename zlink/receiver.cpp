// The receiving session: one or more files into the download directory.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "zlink/file_info.h"
#include "zlink/file_open.h"
#include "zlink/link.h"
#include "zlink/safe_name.h"

namespace kesta::zlink {

namespace {

const char* terminatorName(int terminator) {
  switch (terminator) {
    case kZcrce: return "ZCRCE";
    case kZcrcg: return "ZCRCG";
    case kZcrcq: return "ZCRCQ";
    default: return "ZCRCW";
  }
}

std::string joinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  char last = directory.back();
  if (last == '/' || last == '\\') return directory + name;
  return directory + "/" + name;
}

void setModificationTime(const std::string& path, long seconds, bool utf8) {
  namespace fs = std::filesystem;
  using namespace std::chrono;
  std::error_code ignored;
  auto when = file_clock::from_sys(sys_seconds{std::chrono::seconds{seconds}});
  const fs::path where = utf8 ? fs::path(std::u8string(path.begin(), path.end())) : fs::path(path);
  fs::last_write_time(where, when, ignored);
}

class Receiver {
 public:
  Receiver(const SessionConfig& config, const std::string& directory) : link_(config) {
    link_.options.directory = directory;
  }
  int run();

 private:
  enum class Next { kWaitFile, kHaveFile, kWaitData, kSubPackets, kEndOfFrame, kDone };

  int stoppedResult() const {
    return link_.config.cancel && link_.config.cancel->load() ? kResultCancelled : kResultFailed;
  }
  bool tooManyErrors() const { return link_.options.consecutiveErrors > kMaxStartErrors; }
  bool tooLongSilent() { return link_.lastReadTimedOut() && ++silentWaits_ > kMaxSilentWaits; }
  void sendZrinit();
  int start();
  int nextHeader();
  bool takeZsinit();
  int readFileInfo(Next* next);
  int openFile();
  int waitData(int type, Next* next);
  int readSubPackets(Next* next);
  int endOfFrame(int type, Next* next);
  int endOfFile(Next* next);
  // Writes the buffer at the position; seeks only when the file is elsewhere,
  // so that the stream's buffer is not flushed for every sub-packet.
  bool writeAt(long position, size_t length) {
    if (position != fileOffset_ && std::fseek(file_.get(), position, SEEK_SET) != 0) return false;
    fileOffset_ = -1;
    if (std::fwrite(buffer_, 1, length, file_.get()) != length) return false;
    fileOffset_ = position + static_cast<long>(length);
    return true;
  }
  int fail(int result) {
    link_.abort(false);
    return result;
  }

  Link link_;
  File file_;
  FileInfo info_;
  uint8_t buffer_[kSubPacketLength];
  int subPacketNumber_ = 0;
  int silentWaits_ = 0;
  int header_ = -1;  // the header read last, when a step hands it on
  long fileOffset_ = -1;  // where the file stands, -1 when unknown
};

void Receiver::sendZrinit() {
  uint8_t data[4] = {0, 0, 0, kCanFullDuplex | kCanOverlapIo | kCanCrc32};
  link_.sendHex(kZrinit, data);
}

int Receiver::run() {
  SessionOptions& o = link_.options;
  std::string directory = o.directory;
  o = SessionOptions{};
  o.directory = directory;
  o.sessionStart = link_.now();
  link_.setState(kStateIdle);
  int result = start();
  if (result != 1) return result;
  Next next = Next::kHaveFile;
  for (;;) {
    switch (next) {
      case Next::kWaitFile:
      case Next::kHaveFile:
        result = readFileInfo(&next);
        break;
      case Next::kWaitData:
        header_ = nextHeader();
        if (header_ != kReadCancelled && link_.stopped()) return stoppedResult();
        result = waitData(header_, &next);
        break;
      case Next::kSubPackets:
        result = readSubPackets(&next);
        break;
      case Next::kEndOfFrame:
        header_ = nextHeader();
        if (header_ != kReadCancelled && link_.stopped()) return stoppedResult();
        result = endOfFrame(header_, &next);
        break;
      case Next::kDone:
        return kResultSuccess;
    }
    if (result != 1) return result;
  }
}

// A header; some senders put a ZNAK before a ZDATA header, which says nothing.
int Receiver::nextHeader() {
  int type;
  do {
    type = link_.receiveHeader();
  } while (type == kZnak && !link_.stopped());
  return type;
}

// Until the first ZFILE header: returns 1 with it in header_, or a result.
int Receiver::start() {
  link_.status("  Send ZRINIT...");
  for (;;) {
    link_.setState(kRecvZrinitSent);
    sendZrinit();
    int type = link_.receiveHeader();
    if (type != kReadCancelled && link_.stopped()) return stoppedResult();
    if (type == kZrqinit) {
      link_.status("  Recevied ZRQINIT...");
      sendZrinit();
      header_ = link_.receiveHeader();
      return 1;
    }
    if (type == kZsinit) {
      if (takeZsinit()) {
        header_ = link_.receiveHeader();
        return 1;
      }
    } else if (type == kZfile) {
      const uint8_t* h = link_.header();
      link_.status("  No escape specified");
      link_.status("  ZFILE infomation %02x %02x %02x %02x...", h[0], h[1], h[2], h[3]);
      header_ = type;
      return 1;
    } else if (isAbort(type)) {
      link_.abort(false);
      return kResultPeerAborted;
    }
    link_.badFrame("  Bad ZSINIT -- ", type, "");
    link_.countError();
    if (tooManyErrors()) return kResultFailed;
    link_.status("  Send ZRINIT again...");
  }
}

// Reads the attention string after a ZSINIT header and acknowledges it.
bool Receiver::takeZsinit() {
  link_.status("  Received ZSINIT");
  size_t length = 0;
  int end = link_.reader.receiveData(buffer_, kAttentionLength, &length);
  if (end < 0) return false;
  char first = length > 0 && buffer_[0] >= 0x20 && buffer_[0] < 0x7F ? static_cast<char>(buffer_[0]) : ' ';
  link_.status("  '%c' Received Attn (length = %d)...", first, static_cast<int>(length));
  link_.status("  Send ZACK...");
  link_.sendHexPosition(kZack, 0);
  link_.setState(kRecvAfterZsinit);
  return true;
}

// header_ holds the header just read (kHaveFile) unless one is to be awaited.
int Receiver::readFileInfo(Next* next) {
  SessionOptions& o = link_.options;
  int type = *next == Next::kHaveFile ? header_ : link_.receiveHeader();
  for (;;) {
    if (type != kReadCancelled && link_.stopped()) return stoppedResult();
    if (type == kZfile) {
      size_t length = 0;
      int end = link_.reader.receiveData(buffer_, sizeof buffer_, &length);
      if (end >= 0 && parseFileInfo(buffer_, length, &info_)) break;
    }
    if (isAbort(type)) return fail(kResultPeerAborted);
    if (type == kZfin) {
      // The sender has no (further) file after all.
      link_.status("  Receved ZFIN...");
      link_.status("  Send ZFIN...");
      link_.sendHexPosition(kZfin, 0);
      link_.awaitOverAndOut();
      link_.status("  End of Receive ZMODEM Session...");
      *next = Next::kDone;
      return 1;
    }
    // A sender that repeats its start is answered again.
    if (type == kZsinit && takeZsinit()) {
      type = link_.receiveHeader();
      continue;
    }
    if (type == kZrqinit) {
      link_.status("  Recevied ZRQINIT...");
      sendZrinit();
      type = link_.receiveHeader();
      continue;
    }
    link_.badFrame("  Bad ZFILE -- ", type, "");
    link_.countError();
    if (tooManyErrors() || (type < 0 && tooLongSilent())) return kResultFailed;
    // Ask again: a sender answers ZRINIT with its ZFILE.
    link_.discardInput();
    sendZrinit();
    type = link_.receiveHeader();
  }
  link_.status("  Received ZFILE...");
  o.bareName = info_.name;
  o.fileSize = info_.size;
  o.modificationTime = info_.modificationTime;  // seconds since 1970 UTC, as sent
  o.fileMode = info_.mode;
  o.serialNumber = info_.serialNumber;
  o.fileType = info_.fileType;
  o.filesRemaining = info_.filesRemaining > 0 ? info_.filesRemaining : 1;
  o.bytesRemaining = info_.bytesRemaining > 0 ? info_.bytesRemaining : info_.size;
  ++o.fileNumber;
  if (o.fileNumber == 1) {
    o.fileCount = static_cast<int>(o.filesRemaining);
    o.totalBytes = o.bytesRemaining;
    link_.reporter.totalSize(o.totalBytes);
  } else if (o.fileCount < o.fileNumber + o.filesRemaining - 1) {
    o.fileCount = static_cast<int>(o.fileNumber + o.filesRemaining - 1);
  }
  const std::string name = link_.config.utf8Names ? safeUtf8FileName(info_.name) : safeFileName(info_.name);
  o.filePath = joinPath(o.directory, name);
  link_.reporter.fileName(name);
  link_.reporter.fileSize(o.fileSize);
  link_.reporter.fileNumber(o.fileNumber, o.fileCount);
  int result = openFile();
  if (result != 1) return result;
  link_.status("  Send ZRPOS...");
  // Stale input goes before the request, so that the reply is never lost.
  link_.discardInput();
  link_.sendHexPosition(kZrpos, o.position);
  link_.markDataStart();
  *next = Next::kWaitData;
  return 1;
}

int Receiver::openFile() {
  SessionOptions& o = link_.options;
  file_.reset();
  const bool utf8 = link_.config.utf8Names;
  File existing(openTransferFile(o.filePath, "rb", utf8));
  if (existing) {
    long size = -1;
    if (std::fseek(existing.get(), 0, SEEK_END) == 0) size = std::ftell(existing.get());
    existing.reset();
    file_.reset(openTransferFile(o.filePath, "r+b", utf8));
    if (file_ && size >= 0) {
      o.position = size;
      link_.status("  Recovery at %ld...", o.position);
    } else {
      file_.reset();
    }
  } else {
    file_.reset(openTransferFile(o.filePath, "wb", utf8));
    o.position = 0;
    if (file_) link_.status("  Receiving start at 0... ");
  }
  if (!file_) {
    link_.status("  ZMODEM error : unable to write file...");
    return fail(kResultCannotCreate);
  }
  std::setvbuf(file_.get(), nullptr, _IOFBF, 1 << 16);
  fileOffset_ = -1;
  link_.reportProgress();
  return 1;
}

int Receiver::waitData(int type, Next* next) {
  SessionOptions& o = link_.options;
  link_.setState(kRecvWaitZdata);
  if (type == kZdata && link_.headerPosition() == o.position) {
    link_.status("  Received Starting ZDATA...");
    silentWaits_ = 0;
    *next = Next::kSubPackets;
    return 1;
  }
  if (isAbort(type)) return kResultPeerAborted;
  if (type == kZeof && link_.headerPosition() == o.position) return endOfFrame(type, next);
  if (type < 0 && tooLongSilent()) return kResultFailed;
  // Anything else, a ZDATA at another offset included, asks again for the position.
  link_.status("  Bad ZDATA, Resend ZRPOS ...");
  link_.countError();
  link_.discardInput();
  link_.sendHexPosition(kZrpos, o.position);
  *next = Next::kWaitData;
  return 1;
}

int Receiver::readSubPackets(Next* next) {
  SessionOptions& o = link_.options;
  link_.setState(kRecvSubPackets);
  for (;;) {
    size_t length = 0;
    int end = link_.reader.receiveData(buffer_, sizeof buffer_, &length);
    if (end != kReadCancelled && link_.stopped()) return stoppedResult();
    if (end == kReadCancelled) return fail(kResultPeerAborted);
    if (end < 0) {
      link_.discardInput();
      link_.status("  Invalid Data Packet : Request resend packet ...");
      link_.sendHexPosition(kZack, o.position);
      link_.sendHexPosition(kZrpos, o.position);
      link_.countError();
      if (tooLongSilent()) return kResultFailed;
      *next = Next::kWaitData;
      return 1;
    }
    if (length > 0 && !writeAt(o.position, length)) {
      link_.status("  ZMODEM error : unable to write file...");
      return fail(kResultFileError);
    }
    silentWaits_ = 0;
    o.position += static_cast<long>(length);
    o.bytesThisTransfer += static_cast<long>(length);
    o.lastSubPacketLength = static_cast<int>(length);
    ++subPacketNumber_;
    link_.status("  Sub Packet #%d received (%s)...", subPacketNumber_, terminatorName(end));
    link_.resetErrors();
    link_.reportProgress();
    switch (end) {
      case kZcrcg:
        continue;
      case kZcrcq:
        link_.sendHexPosition(kZack, o.position);
        continue;
      case kZcrcw:
        link_.status("  Send ZACK...");
        link_.sendHexPosition(kZack, o.position);
        *next = Next::kEndOfFrame;
        return 1;
      default:  // ZCRCE
        *next = Next::kEndOfFrame;
        return 1;
    }
  }
}

int Receiver::endOfFrame(int type, Next* next) {
  SessionOptions& o = link_.options;
  link_.setState(kRecvFrameEnded);
  if (type == kZdata) return waitData(type, next);
  if (isAbort(type)) return kResultPeerAborted;
  if (type == kZeof) {
    if (link_.headerPosition() != o.position) {
      // An end of file beyond the data received: ask for the rest.
      return waitData(type, next);
    }
    if (info_.sizeGiven && o.position != o.fileSize) {
      link_.status("  Bad ZEOF filesize...");
      return fail(kResultFailed);
    }
    return endOfFile(next);
  }
  if (type < 0) {
    // A garbled or missing header: ask for the position again.
    link_.countError();
    if (tooLongSilent()) return kResultFailed;
    link_.sendHexPosition(kZrpos, o.position);
    *next = Next::kWaitData;
    return 1;
  }
  link_.badFrame("  Bad ZEOF -- ", type, "...");
  return fail(kResultFailed);
}

int Receiver::endOfFile(Next* next) {
  SessionOptions& o = link_.options;
  link_.status("  Receved ZEOF (%ld)", o.position);
  bool closed = std::fflush(file_.get()) == 0;
  file_.reset();
  if (!closed) {
    link_.status("  ZMODEM error : unable to write file...");
    return fail(kResultFileError);
  }
  if (o.modificationTime != 0) setModificationTime(o.filePath, o.modificationTime, link_.config.utf8Names);
  o.bytesDoneBefore += o.position;
  o.position = 0;
  link_.status("  Send final ZRINIT");
  sendZrinit();
  if (o.filesRemaining >= 2) {
    *next = Next::kWaitFile;
    return 1;
  }
  for (;;) {
    int type = link_.receiveHeader();
    if (type != kReadCancelled && link_.stopped()) return stoppedResult();
    if (type == kZfin) break;
    if (type == kZeof) {
      // The sender missed our ZRINIT and repeats its end of file.
      sendZrinit();
      continue;
    }
    if (type == kZfile) {
      // One more file than announced.
      header_ = type;
      *next = Next::kHaveFile;
      return 1;
    }
    if (isAbort(type)) return fail(kResultPeerAborted);
    // A stray frame of a sender still busy with the end of the file (a
    // repeated ZDATA after a duplicate ZRPOS), or a garbled ZFIN: ask again.
    if (type >= 0) link_.status("  Bad ZFIN...");
    link_.countError();
    if (tooManyErrors()) return fail(kResultFailed);
    if (tooLongSilent()) return kResultFailed;
    sendZrinit();
  }
  link_.status("  Receved ZFIN...");
  link_.discardInput();
  link_.status("  Send ZFIN...");
  link_.sendHexPosition(kZfin, 0);
  link_.setState(kRecvZfinSent);
  link_.awaitOverAndOut();
  link_.status("  Receved OO(over and out)...");
  link_.discardInput();
  link_.status("  End of Receive ZMODEM Session...");
  *next = Next::kDone;
  return 1;
}

}  // namespace

int receiveFiles(const SessionConfig& config, const std::string& directory) {
  Receiver receiver(config, directory);
  return receiver.run();
}

}  // namespace kesta::zlink
