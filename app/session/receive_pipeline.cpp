#include "app/session/receive_pipeline.h"

#include <algorithm>
#include <cstring>

#include "app/session/is_hangul.h"

namespace kesta::session {

namespace {
constexpr char kDownloadTrigger[] = "rz\r";
constexpr std::size_t kDownloadLength = 3;
// How often a long chunk asks whether Ctrl+F9 is down.
constexpr std::size_t kKeyCheckBytes = 1024;
// The answer buffer: a 100-byte table text converted, plus the carriage return.
constexpr std::size_t kAnswerCapacity = 256;
// Whether walking the text character by character (a lead byte takes the
// next byte with it) ends one byte past its end. A byte below 0x80 always
// ends a character, so the walk needs to start only after the last one.
bool endsInsideACharacter(const char* text, std::size_t length) {
  std::size_t start = length;
  while (start > 0 && isLeadByte(static_cast<unsigned char>(text[start - 1]))) --start;
  return (length - start) % 2 != 0;
}

// How many bytes at the end of the text begin a UTF-8 sequence that the next
// chunk must complete (0 to 3). Bytes that can never complete one are left
// for the converter to replace.
std::size_t incompleteUtf8Tail(const char* text, std::size_t length) {
  for (std::size_t k = 1; k <= 3 && k <= length; ++k) {
    auto b = static_cast<unsigned char>(text[length - k]);
    if (b >= 0x80 && b <= 0xBF) continue;  // a continuation byte: look further back
    std::size_t need = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 0;
    return need > k ? k : 0;
  }
  return 0;
}

}  // namespace

void TextMatcher::setText(std::string_view text) {
  if (text != text_) {
    text_.assign(text);
    count_ = 0;
  }
}

ReceivePipeline::ReceivePipeline(Terminal& terminal, PipelineRoles roles, AutoResponseSource& table)
    : terminal_(terminal), roles_(roles), source_(table) {
  noteInterestingBytes();
}

void ReceivePipeline::completeCharacters(std::vector<char>& chunk, const char* bytes, std::size_t count) {
  chunk.insert(chunk.end(), carried_.begin(), carried_.end());
  carried_.clear();
  if (count > 0) chunk.insert(chunk.end(), bytes, bytes + count);
  if (terminal_.hostCode() != kUtf8Code) {
    if (endsInsideACharacter(chunk.data(), chunk.size())) {
      carried_.assign(1, chunk.back());
      chunk.pop_back();
    }
    return;
  }
  // The code capture keeps what the host sent.
  if (rawCapture_ && count > 0) roles_.capture.writeCapture(std::string_view(bytes, count));
  std::size_t keep = incompleteUtf8Tail(chunk.data(), chunk.size());
  carried_.assign(chunk.end() - static_cast<std::ptrdiff_t>(keep), chunk.end());
  chunk.resize(chunk.size() - keep);
  utf8ToGridCode(chunk);
}

// A UTF-8 host's whole characters become the internal code, which is never
// longer; a NUL ends the converter's text, so the text between NULs is
// converted piece by piece and the NULs stay.
void ReceivePipeline::utf8ToGridCode(std::vector<char>& chunk) {
  Converter convert = terminal_.converter();
  std::size_t written = 0;
  for (std::size_t i = 0; i < chunk.size();) {
    std::size_t end = i;
    while (end < chunk.size() && chunk[end] != '\0') ++end;
    utf8Segment_.assign(chunk.data() + i, end - i);
    utf8Segment_.push_back('\0');
    std::size_t length = convert(kUtf8Code, kInternalCode, utf8Segment_.data(), utf8Segment_.size());
    length = std::min(length, end - i);
    std::memcpy(chunk.data() + written, utf8Segment_.data(), length);
    written += length;
    if (end < chunk.size()) chunk[written++] = '\0';
    i = end + 1;
  }
  chunk.resize(written);
}

void ReceivePipeline::reloadTable() {
  // Triggers are matched against the bytes the interpreter takes.
  const int matchCode = terminal_.gridCode();
  if (tableLoaded_ && convertedForCode_ == matchCode && source_.unchanged()) return;
  AutoResponseSlots& loaded = loaded_;
  if (!source_.load(loaded)) return;  // the last table stays in effect
  tableLoaded_ = true;
  Converter convert = terminal_.converter();
  bool sameCode = convertedForCode_ == matchCode;
  if (sameCode && loaded == table_) return;  // nothing changed since the last chunk
  for (int i = 0; i < kAutoResponseSlots; ++i) {
    // A reference already converted for this host code need not be converted again.
    if (sameCode && loaded[i].reference == table_[i].reference) continue;
    std::string copy = loaded[i].reference;
    copy.resize(copy.size() * 2 + 16, '\0');
    std::size_t length = convert(kInternalCode, matchCode, copy.data(), copy.size());
    copy.resize(std::min(length, strnlen(copy.data(), copy.size())));
    triggers_[i].setText(copy);
  }
  table_ = loaded;
  convertedForCode_ = matchCode;
  activeSlotCount_ = 0;
  for (int i = 0; i < kAutoResponseSlots; ++i) {
    // An enabled slot with an empty trigger would answer every byte: it never fires.
    if (table_[i].enabled && !triggers_[i].text().empty()) activeSlots_[activeSlotCount_++] = i;
  }
  noteInterestingBytes();
}

void ReceivePipeline::noteInterestingBytes() {
  interesting_.fill(false);
  startsMatch_.fill(false);
  auto note = [this](const std::string& text) {
    for (char c : text) interesting_[static_cast<unsigned char>(c)] = true;
    if (!text.empty()) startsMatch_[static_cast<unsigned char>(text[0])] = true;
  };
  note(connect_.text());
  note(carrier_.text());
  note(ok_.text());
  for (int k = 0; k < activeSlotCount_; ++k) note(triggers_[activeSlots_[k]].text());
}

// Feeds one byte to the trigger slots and the modem's result strings.
bool ReceivePipeline::feedMatchers(char byte) {
  if (!interesting_[static_cast<unsigned char>(byte)]) {
    if (matching_) {
      for (int k = 0; k < activeSlotCount_; ++k) triggers_[activeSlots_[k]].reset();
      connect_.reset();
      carrier_.reset();
      ok_.reset();
      matching_ = false;
    }
    return false;
  }
  for (int k = 0; k < activeSlotCount_; ++k) {
    int slot = activeSlots_[k];
    if (triggers_[slot].feed(byte)) answer(slot);
  }
  if (connect_.feed(byte)) connectionEstablished();
  if (carrier_.feed(byte)) connectionLost();
  if (ok_.feed(byte) && awaitingHangUp_) connectionLost();
  matching_ = connect_.count() || carrier_.count() || ok_.count();
  for (int k = 0; k < activeSlotCount_ && !matching_; ++k) matching_ = triggers_[activeSlots_[k]].count() != 0;
  return true;
}

void ReceivePipeline::answer(int slot) {
  char buffer[kAnswerCapacity] = {};
  const std::string& transfer = table_[slot].transfer;
  std::size_t length = std::min(transfer.size(), kAnswerCapacity / 2 - 1);
  std::memcpy(buffer, transfer.data(), length);
  // The converter leaves room for the carriage return.
  length = terminal_.converter()(kInternalCode, terminal_.hostCode(), buffer, kAnswerCapacity - 1);
  length = std::min(length, strnlen(buffer, kAnswerCapacity - 1));
  buffer[length++] = '\r';
  roles_.connection.send(std::string_view(buffer, length));
}

bool ReceivePipeline::downloadTriggerAt(const std::vector<char>& chunk, std::size_t index, const std::string& tail) const {
  // Within the chunk: the trigger begins at this byte.
  if (index + kDownloadLength <= chunk.size() && std::memcmp(&chunk[index], kDownloadTrigger, kDownloadLength) == 0)
    return true;
  // Across chunks: the trigger began in the previous chunk and ends here.
  if (index + 1 < kDownloadLength) {
    std::size_t fromThisChunk = index + 1;
    std::size_t fromTail = kDownloadLength - fromThisChunk;
    if (tail.size() < fromTail) return false;
    std::string joined = tail.substr(tail.size() - fromTail);
    joined.append(chunk.data(), fromThisChunk);
    return joined == kDownloadTrigger;
  }
  return false;
}

void ReceivePipeline::receive(const char* bytes, std::size_t count) {
  terminal_.beginChunk();

  // A two-byte character split between chunks: its first byte waited for this one.
  // The chunk is taken out of the member while it is worked on, so that a
  // command that runs a message loop (the download) may receive again safely.
  std::vector<char> chunk;
  chunk.swap(spareChunk_);
  chunk.clear();
  completeCharacters(chunk, bytes, count);

  reloadTable();
  // A receive nested in the download command changes the member: this chunk
  // goes on from the bytes that came before it.
  const std::string tail = downloadTail_;

  // A UTF-8 host's code capture was written whole before its conversion.
  const bool captureBytes = rawCapture_ && terminal_.hostCode() != kUtf8Code;
  bool aborted = false;
  std::size_t processed = 0;
  bool askKeys = true;
  for (std::size_t i = 0; i < chunk.size();) {
    // The key state is a call into the window system: it is asked when the
    // chunk starts, every kKeyCheckBytes bytes and after a command ran.
    if (askKeys || i % kKeyCheckBytes == 0) {
      askKeys = false;
      if (roles_.keys.keyDown(kKeyF9) && roles_.keys.keyDown(kKeyControl)) {
        aborted = true;
        break;
      }
    }
    // A stretch in which no trigger can begin or go on goes to the
    // interpreter in one call (up to the next key question).
    std::size_t end = i;
    if (!matching_ && i >= kDownloadLength - 1) {
      std::size_t limit = std::min(chunk.size(), (i / kKeyCheckBytes + 1) * kKeyCheckBytes);
      while (end < limit) {
        auto b = static_cast<unsigned char>(chunk[end]);
        if (b == 'r' || startsMatch_[b]) break;
        ++end;
      }
    }
    if (end > i) {
      if (captureBytes) roles_.capture.writeCapture(std::string_view(&chunk[i], end - i));
      terminal_.interpretBytes(&chunk[i], end - i);
      i = processed = end;
      continue;
    }
    const char byte = chunk[i];
    if ((byte == 'r' || i < kDownloadLength - 1) && downloadTriggerAt(chunk, i, tail)) {
      // The transfer runs a message loop that may receive again: what this
      // chunk has drawn so far goes out first, and the rest of it follows
      // whatever arrives meanwhile.
      terminal_.pauseChunk();
      roles_.window.postCommand(kCommandReceiveFile);
      terminal_.resumeChunk();
      askKeys = true;
    }
    if (captureBytes) roles_.capture.writeCapture(std::string_view(&chunk[i], 1));
    if (matching_ || interesting_[static_cast<unsigned char>(byte)]) feedMatchers(byte);
    terminal_.interpretByte(static_cast<unsigned char>(byte));
    i = processed = i + 1;
  }

  // Keep the last bytes seen for a trigger that goes on in the next chunk.
  // A trigger that completed inside this chunk was already acted on.
  std::string seen = tail;
  seen.append(chunk.data(), processed);
  bool fired = seen.size() >= kDownloadLength && seen.compare(seen.size() - kDownloadLength, kDownloadLength, kDownloadTrigger) == 0;
  downloadTail_ = fired ? std::string() : seen.substr(seen.size() - std::min<std::size_t>(seen.size(), kDownloadLength - 1));

  chunk.swap(spareChunk_);
  if (aborted) {
    terminal_.abandonChunk();
    roles_.window.postCommand(kCommandHangUp);
    return;
  }
  terminal_.endChunk();
}

void ReceivePipeline::connectionEstablished() {
  awaitingHangUp_ = false;
  roles_.window.setStatusText(kStatusConnection, roles_.window.koreanInterface() ? "연결잘됨" : "Connected");
  connect_.reset();
  roles_.window.restartConnectionTimer();
  roles_.window.endDiallingDialogs();
  playEventSound("\\wav\\connect.wav");
}

void ReceivePipeline::connectionLost() {
  roles_.window.stopConnectionTimer();
  roles_.window.setStatusText(kStatusTime, "00:00:00");
  awaitingHangUp_ = false;
  roles_.window.setStatusText(kStatusConnection, roles_.window.koreanInterface() ? "연결안됨" : "Disconnected");
  carrier_.reset();
  playEventSound("\\wav\\hang.wav");
}

void ReceivePipeline::playEventSound(const char* relativePath) {
  if (!roles_.sounds.voiceSupport()) return;
  bool music = roles_.sounds.backgroundMusic();
  if (music) roles_.sounds.stopMusic();
  roles_.sounds.playWaveAndWait(roles_.sounds.homeDirectory() + relativePath);
  if (music) roles_.sounds.startMusic();
}

}  // namespace kesta::session
