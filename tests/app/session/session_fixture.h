// What the terminal core's tests share: a host that records every call, a
// table source the test fills, converters with a visible effect, and a
// session (canvas, terminal, pipeline) wired together.
#pragma once

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/session/cell_canvas.h"
#include "app/session/receive_pipeline.h"
#include "app/session/terminal.h"

namespace kesta::session::testing {

struct RecordingHost : SessionHost {
  std::vector<std::string> sent;
  std::vector<int> commands;
  std::vector<std::pair<int, std::string>> statusTexts;
  std::vector<std::string> events;  // timers, sounds, dialogs, message boxes, in order
  std::string capture;
  std::set<int> keysDown;
  bool korean = false;
  bool voice = false;
  bool music = false;
  int beeps = 0;
  int caretColumn = -1, caretRow = -1;
  bool caretHidden = false;
  std::size_t sendLimit = static_cast<std::size_t>(-1);  // bytes a send accepts

  std::size_t send(std::string_view bytes) override {
    sent.emplace_back(bytes);
    return std::min(bytes.size(), sendLimit);
  }
  void postCommand(int command) override { commands.push_back(command); }
  bool koreanInterface() override { return korean; }
  void setStatusText(int part, std::string_view text) override { statusTexts.emplace_back(part, std::string(text)); }
  void restartConnectionTimer() override { events.push_back("timer restart"); }
  void stopConnectionTimer() override { events.push_back("timer stop"); }
  void endDiallingDialogs() override { events.push_back("end dialling"); }
  void messageBox(std::string_view text, std::string_view caption) override {
    events.push_back("box " + std::string(text) + "/" + std::string(caption));
  }
  bool voiceSupport() override { return voice; }
  bool backgroundMusic() override { return music; }
  std::string homeDirectory() override { return "C:\\KESTA"; }
  void playWaveAndWait(const std::string& path) override { events.push_back("play " + path); }
  void stopMusic() override { events.push_back("music stop"); }
  void startMusic() override { events.push_back("music start"); }
  void beep() override { ++beeps; }
  bool keyDown(int key) override { return keysDown.count(key) != 0; }
  void hideCaret() override { caretHidden = true; }
  void showCaretAt(int column, int row) override {
    caretHidden = false;
    caretColumn = column;
    caretRow = row;
  }
  int chatColumn() override { return 7; }
  void writeCapture(std::string_view bytes) override { capture.append(bytes); }
};

struct TableSource : AutoResponseSource {
  AutoResponseSlots slots{};
  bool available = true;
  int loads = 0;
  bool load(AutoResponseSlots& out) override {
    ++loads;
    if (!available) return false;
    out = slots;
    return true;
  }
};

// Host code 5 in these tests: internal-to-host lowers A-Z, host-to-internal
// raises a-z, so a test sees which way a text was converted.
inline std::size_t caseConverter(int from, int to, char* text, std::size_t capacity) {
  std::size_t length = strnlen(text, capacity);
  if (length == capacity) text[--length] = '\0';
  for (std::size_t i = 0; i < length; ++i) {
    char& c = text[i];
    if (from == 1 && to != 1 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (from != 1 && to == 1 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return length;
}

// Doubles every byte when converting to the internal code (a code whose
// characters are shorter than the internal ones), never past the capacity.
inline std::size_t doublingConverter(int from, int to, char* text, std::size_t capacity) {
  std::size_t length = strnlen(text, capacity);
  if (from == to || to != 1) return length;
  std::string doubled;
  for (std::size_t i = 0; i < length; ++i) doubled.append(2, text[i]);
  std::size_t out = std::min(doubled.size(), capacity - 1);
  std::memcpy(text, doubled.data(), out);
  text[out] = '\0';
  return out;
}

inline constexpr Colour kWhite = rgb(255, 255, 255);
inline constexpr Colour kBlue = rgb(0, 0, 146);
inline constexpr Colour kText = rgb(191, 191, 191);
inline constexpr Colour kBack = rgb(0, 0, 0);

// A canvas, a terminal and a pipeline wired to one host that plays every role.
template <typename Host, typename Canvas = CellCanvas>
struct BasicSession {
  Canvas canvas;
  Host host;
  TableSource table;
  Terminal terminal{canvas, host};
  ReceivePipeline pipeline{terminal, host, table};

  BasicSession() { terminal.reset(kText, kBack); }
  void receive(std::string_view bytes) { pipeline.receive(bytes.data(), bytes.size()); }
  // The terminal alone, as one chunk.
  void interpret(std::string_view bytes) { terminal.interpret(bytes.data(), bytes.size()); }
  std::string grid(int row) const { return std::string(terminal.gridRow(row)); }
  std::string windowRow(int row) const { return CellCanvas::text(canvas.window()[row]); }
  const CellPicture& currentPage() const { return *canvas.page(const_cast<Terminal&>(terminal).pages().currentPage()); }
  std::string pageRow(int row) const { return CellCanvas::text(currentPage()[row]); }
  int column() const { return terminal.state().column; }
  int row() const { return terminal.state().row; }
};

struct Session : BasicSession<RecordingHost> {};

// Lines "L<from>" to "L<to - 1>", each ended by CR LF.
inline std::string lines(int from, int to) {
  std::string out;
  for (int i = from; i < to; ++i) out += "L" + std::to_string(i) + "\r\n";
  return out;
}

// A row's text with the trailing spaces taken off.
inline std::string trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace kesta::session::testing
