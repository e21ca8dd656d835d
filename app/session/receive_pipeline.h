// The receive pipeline: every received chunk passes here before the
// interpreter sees it. It completes a two-byte character split between
// chunks, stops on Ctrl+F9, starts a ZMODEM download on "rz\r", writes the
// raw capture, answers auto-response triggers and follows the modem's
// "CONNECT", "NO CARRIER" and "OK".
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/session/session_host.h"
#include "app/session/terminal.h"

namespace kesta::session {

// Counts how far the received bytes have gone into a fixed text; a byte
// that does not continue the match sets the count back to 0 (and is not
// tried again as a first byte).
class TextMatcher {
 public:
  TextMatcher() = default;
  explicit TextMatcher(std::string_view text) : text_(text) {}
  void setText(std::string_view text);
  // True when this byte completes the text; the count is then 0 again.
  bool feed(char byte) {
    if (text_.empty()) return false;
    if (byte != text_[count_]) {
      count_ = 0;
      return false;
    }
    if (++count_ < text_.size()) return false;
    count_ = 0;
    return true;
  }
  void reset() { count_ = 0; }
  std::size_t count() const { return count_; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  std::size_t count_ = 0;
};

class ReceivePipeline {
 public:
  ReceivePipeline(Terminal& terminal, PipelineRoles roles, AutoResponseSource& table);

  // One received chunk (any length; the carried byte is put in front of it).
  void receive(const char* bytes, std::size_t count);

  // The connection is made or lost outside the modem's replies (telnet's
  // first data and its close): the same effects as "CONNECT" and "NO CARRIER".
  void connectionEstablished();
  void connectionLost();

  // A serial hang-up is waiting for the modem's "OK".
  void setAwaitingHangUp(bool on) { awaitingHangUp_ = on; }
  bool awaitingHangUp() const { return awaitingHangUp_; }
  // "Code Captured": every received byte goes to the capture file.
  void setRawCapture(bool on) { rawCapture_ = on; }

  bool carrying() const { return !carried_.empty(); }
  const AutoResponseSlots& table() const { return table_; }
  const TextMatcher& carrierMatcher() const { return carrier_; }

 private:
  void reloadTable();
  void completeCharacters(std::vector<char>& chunk, const char* bytes, std::size_t count);
  void utf8ToGridCode(std::vector<char>& chunk);
  void answer(int slot);
  bool downloadTriggerAt(const std::vector<char>& chunk, std::size_t index, const std::string& tail) const;
  void playEventSound(const char* relativePath);
  void noteInterestingBytes();
  bool feedMatchers(char byte);

  Terminal& terminal_;
  PipelineRoles roles_;
  AutoResponseSource& source_;
  std::vector<char> spareChunk_;  // keeps its capacity from chunk to chunk
  // The start of a character cut by the chunk's end: the lead byte of a
  // two-byte character, or up to three bytes of a UTF-8 sequence.
  std::string carried_;
  std::string utf8Segment_;  // a UTF-8 host's text on its way to the internal code
  AutoResponseSlots table_{};
  AutoResponseSlots loaded_{};  // the table as read for this chunk
  bool tableLoaded_ = false;     // a load has succeeded
  std::array<TextMatcher, kAutoResponseSlots> triggers_{};
  TextMatcher connect_{"CONNECT"};
  TextMatcher carrier_{"NO CARRIER"};
  TextMatcher ok_{"OK"};
  bool awaitingHangUp_ = false;
  bool rawCapture_ = false;
  // Bytes that can continue any match; any other byte only sets the counts
  // back to 0, which is skipped when no match is under way.
  std::array<bool, 256> interesting_{};
  // Bytes that can begin a match: while none is under way, no other byte
  // changes anything.
  std::array<bool, 256> startsMatch_{};
  bool matching_ = false;
  std::array<int, kAutoResponseSlots> activeSlots_{};
  int activeSlotCount_ = 0;
  int convertedForCode_ = -1;
  // The last two bytes of the previous chunk, so that "rz\r" split between
  // chunks still starts the download.
  std::string downloadTail_;
};

}  // namespace kesta::session
