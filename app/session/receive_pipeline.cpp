#include "app/session/receive_pipeline.h"

#include <algorithm>
#include <cstring>

#include "app/session/is_hangul.h"

namespace kesta::session {

namespace {
constexpr char kDownloadTrigger[] = "rz\r";
constexpr std::size_t kDownloadLength = 3;
// The answer buffer: a 100-byte table text converted, plus the carriage return.
constexpr std::size_t kAnswerCapacity = 256;
}  // namespace

void TextMatcher::setText(std::string_view text) {
  if (text != text_) {
    text_.assign(text);
    count_ = 0;
  }
}

ReceivePipeline::ReceivePipeline(Terminal& terminal, SessionHost& host, AutoResponseSource& table)
    : terminal_(terminal), host_(host), source_(table) {}

void ReceivePipeline::reloadTable() {
  AutoResponseSlots loaded = table_;
  if (!source_.load(loaded)) return;  // the last table stays in effect
  table_ = std::move(loaded);
  Converter convert = terminal_.converter();
  for (int i = 0; i < kAutoResponseSlots; ++i) {
    std::string copy = table_[i].reference;
    copy.resize(copy.size() * 2 + 16, '\0');
    std::size_t length = convert(kInternalCode, terminal_.hostCode(), copy.data(), copy.size());
    copy.resize(std::min(length, strnlen(copy.data(), copy.size())));
    triggers_[i].setText(copy);
  }
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
  host_.send(std::string_view(buffer, length));
}

bool ReceivePipeline::downloadTriggerAt(std::size_t index) const {
  // Within the chunk: the trigger begins at this byte.
  if (index + kDownloadLength <= chunk_.size() && std::memcmp(&chunk_[index], kDownloadTrigger, kDownloadLength) == 0)
    return true;
  // Across chunks: the trigger began in the previous chunk and ends here.
  if (index + 1 < kDownloadLength) {
    std::size_t fromThisChunk = index + 1;
    std::size_t fromTail = kDownloadLength - fromThisChunk;
    if (downloadTail_.size() < fromTail) return false;
    std::string joined = downloadTail_.substr(downloadTail_.size() - fromTail);
    joined.append(chunk_.data(), fromThisChunk);
    return joined == kDownloadTrigger;
  }
  return false;
}

void ReceivePipeline::receive(const char* bytes, std::size_t count) {
  terminal_.beginChunk();

  // A two-byte character split between chunks: its first byte waited for this one.
  chunk_.clear();
  if (carry_) chunk_.push_back(carried_);
  if (count > 0) chunk_.insert(chunk_.end(), bytes, bytes + count);
  std::size_t at = 0;
  while (at < chunk_.size()) at += isLeadByte(static_cast<unsigned char>(chunk_[at])) ? 2 : 1;
  carry_ = at != chunk_.size();
  if (carry_) {
    carried_ = chunk_.back();
    chunk_.pop_back();
  }

  reloadTable();

  bool aborted = false;
  std::size_t processed = 0;
  for (std::size_t i = 0; i < chunk_.size(); ++i) {
    if (host_.keyDown(kKeyF9) && host_.keyDown(kKeyControl)) {
      aborted = true;
      break;
    }
    const char byte = chunk_[i];
    if ((byte == 'r' || i < kDownloadLength - 1) && downloadTriggerAt(i)) {
      host_.postCommand(kCommandReceiveFile);
    }
    if (rawCapture_) host_.writeCapture(std::string_view(&chunk_[i], 1));
    for (int slot = 0; slot < kAutoResponseSlots; ++slot) {
      if (table_[slot].enabled && triggers_[slot].feed(byte)) answer(slot);
    }
    if (connect_.feed(byte)) connectionEstablished();
    if (carrier_.feed(byte)) connectionLost();
    if (ok_.feed(byte) && awaitingHangUp_) connectionLost();
    terminal_.interpretByte(static_cast<unsigned char>(byte));
    processed = i + 1;
  }

  // Keep the last bytes seen for a trigger that goes on in the next chunk.
  // A trigger that completed inside this chunk was already acted on.
  std::string seen = downloadTail_;
  seen.append(chunk_.data(), processed);
  bool fired = seen.size() >= kDownloadLength && seen.compare(seen.size() - kDownloadLength, kDownloadLength, kDownloadTrigger) == 0;
  downloadTail_ = fired ? std::string() : seen.substr(seen.size() - std::min<std::size_t>(seen.size(), kDownloadLength - 1));

  if (aborted) {
    host_.postCommand(kCommandHangUp);
    return;
  }
  terminal_.endChunk();
}

void ReceivePipeline::connectionEstablished() {
  awaitingHangUp_ = false;
  host_.setStatusText(kStatusConnection, host_.koreanInterface() ? "연결잘됨" : "Connected");
  connect_.reset();
  host_.restartConnectionTimer();
  host_.endDiallingDialogs();
  playEventSound("\\wav\\connect.wav");
}

void ReceivePipeline::connectionLost() {
  host_.stopConnectionTimer();
  host_.setStatusText(kStatusTime, "00:00:00");
  awaitingHangUp_ = false;
  host_.setStatusText(kStatusConnection, host_.koreanInterface() ? "연결안됨" : "Disconnected");
  carrier_.reset();
  playEventSound("\\wav\\hang.wav");
}

void ReceivePipeline::playEventSound(const char* relativePath) {
  if (!host_.voiceSupport()) return;
  bool music = host_.backgroundMusic();
  if (music) host_.stopMusic();
  host_.playWaveAndWait(host_.homeDirectory() + relativePath);
  if (music) host_.startMusic();
}

}  // namespace kesta::session
