// A plain model of the edit buffer: a list of characters (one byte, two bytes
// or a CR LF pair), a caret and anchor counted in characters, a composition
// flag. Random operations drive the automaton, the buffer and this model side
// by side; `check` compares them.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "controls/edit_buffer.h"
#include "hangul/automata.h"

namespace kesta::controls::testing {

struct CharModel {
  std::vector<std::string> chars;
  size_t caret = 0, anchor = 0, limit = kNoLimit;
  bool composing = false, insert = true, multiline = false;

  size_t bytes() const {
    size_t n = 0;
    for (const auto& c : chars) n += c.size();
    return n;
  }
  std::string text() const {
    std::string t;
    for (const auto& c : chars) t += c;
    return t;
  }
  size_t byteIndex(size_t chars_) const {
    size_t n = 0;
    for (size_t i = 0; i < chars_; ++i) n += chars[i].size();
    return n;
  }
  bool selection() const { return caret != anchor; }
  void eraseSelection() {
    const size_t a = std::min(caret, anchor), b = std::max(caret, anchor);
    chars.erase(chars.begin() + a, chars.begin() + b);
    caret = anchor = a;
  }
  void finish() {
    if (composing) composing = false, ++caret, anchor = caret;
  }
  bool atLineEnd(size_t i) const { return i >= chars.size() || chars[i] == "\r\n"; }
  // Writes one character at the caret (insert or overwrite); false at the limit.
  bool put(const std::string& c, bool overwrite) {
    const bool replace = overwrite && !atLineEnd(caret);
    const size_t newBytes = bytes() - (replace ? chars[caret].size() : 0) + c.size();
    if (newBytes > bytes() && newBytes > limit) return false;
    if (replace) chars[caret] = c;
    else chars.insert(chars.begin() + caret, c);
    ++caret;
    anchor = caret;
    return true;
  }
  static std::string code(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
  void typeChar(uint8_t b) {
    finish();
    if (b == '\r' && multiline) {
      if (selection()) eraseSelection();
      put("\r\n", false);
      return;
    }
    if (b < 0x20 || b >= 0x7F) return;
    if (selection()) eraseSelection();
    put(std::string(1, static_cast<char>(b)), !insert);
  }
  // Returns whether the composition had to be dropped.
  bool writeCode(uint16_t v, bool start) {
    if (composing) {
      chars[caret] = code(v);
    } else {
      if (!put(code(v), !insert)) return true;
      --caret;
    }
    composing = start;
    if (!start) ++caret;
    anchor = caret;
    return false;
  }
  bool applyKey(int16_t result, uint16_t key, uint16_t completed) {
    const bool writes = result == 1 || result == -3 || result == -2 || result == -1 || (result == 0 && !composing) ||
                        (result == -5 && key != 0);
    if (writes && selection()) eraseSelection();
    switch (result) {
      case 1: case -3: typeChar(static_cast<uint8_t>(key)); return false;
      case 0: return writeCode(key, true);
      case -1: return writeCode(completed, false) ? true : writeCode(key, true);
      case -2:
        if (writeCode(completed, false)) return true;
        typeChar(static_cast<uint8_t>(key));
        return false;
      case -4: if (composing) chars.erase(chars.begin() + caret), composing = false; return false;
      case -5: return key != 0 && writeCode(key, false);
      default: return false;
    }
  }
  void dropComposition() {
    if (composing) chars.erase(chars.begin() + caret), composing = false, anchor = caret;
  }
};

// One random session: keys through the automaton into both, with moves,
// deletions, selections and pastes. `rng()` gives every choice (a seeded
// engine, or the fuzzer's bytes). Fails through `fail(message)`.
template <class Rng, class Fail>
void runSession(Rng& rng, size_t steps, bool multiline, Fail fail) {
  using namespace kesta::hangul;
  AutomataState automaton{};
  InitAutomata(&automaton, rng() % 2 ? kTwoSetKeyboard : kThreeSetKeyboard);
  SetHangulMode(&automaton, rng() % 4 != 0);
  EditBuffer buffer(multiline, {8, 16});
  CharModel model;
  model.multiline = multiline;
  if (rng() % 2) {
    const size_t limit = 4 + rng() % 40;
    buffer.setLimit(limit);
    model.limit = limit;
  }
  const char keys[] = "rkskRsdhfglqmtjnoyKAEQTWVnbp0123;./ ,!";
  auto complete = [&] {
    const uint16_t c = MakeCompleteCode(&automaton);
    buffer.completeComposition(c);
    if (c != 0) model.finish(); else model.dropComposition();
  };
  for (size_t i = 0; i < steps; ++i) {
    const bool extend = rng() % 3 == 0;
    const unsigned op = rng() % 24;
    if (op < 12) {  // a typed key
      uint16_t key = static_cast<uint8_t>(keys[rng() % (sizeof keys - 1)]);
      if (op == 11) key = 8;
      if (key == 8 && !IsProcessingInput(&automaton)) {
        buffer.backspace();
        if (model.composing) model.dropComposition();
        if (model.selection()) model.eraseSelection();
        else if (model.caret > 0) model.chars.erase(model.chars.begin() + --model.caret), model.anchor = model.caret;
      } else {
        const int16_t r = GetKey(&automaton, &key, false);
        const EditOutcome out = buffer.applyKey(r, key, automaton.completedCode);
        const bool dropped = model.applyKey(r, key, automaton.completedCode);
        if (out.dropComposition != dropped) fail("composition dropped in one only");
        if (out.dropComposition) ClearCodes(&automaton);
      }
    } else if (op == 12) {
      complete();
      buffer.moveLeft(extend);
      if (model.caret > 0) --model.caret;
      if (!extend) model.anchor = model.caret;
    } else if (op == 13) {
      complete();
      buffer.moveRight(extend);
      if (!(multiline ? model.atLineEnd(model.caret) : model.caret >= model.chars.size())) ++model.caret;
      if (!extend) model.anchor = model.caret;
    } else if (op == 14) {
      complete();
      buffer.deleteForward();
      if (model.selection()) model.eraseSelection();
      else if (model.caret < model.chars.size()) model.chars.erase(model.chars.begin() + model.caret);
    } else if (op == 15) {
      complete();
      buffer.textStart(extend);
      model.caret = 0;
      if (!extend) model.anchor = 0;
    } else if (op == 16) {
      complete();
      buffer.textEnd(extend);
      model.caret = model.chars.size();
      if (!extend) model.anchor = model.caret;
    } else if (op == 17) {
      complete();
      const bool ins = rng() % 2;
      buffer.setInsertMode(ins);
      model.insert = ins;
    } else if (op == 18 || op == 19) {  // paste of random whole characters, sometimes a lone lead byte
      complete();
      std::vector<std::string> add;
      std::string bytes;
      const size_t n = rng() % 6;
      for (size_t k = 0; k < n; ++k) {
        std::string c = rng() % 2 ? std::string(1, static_cast<char>('a' + rng() % 26))
                                  : CharModel::code(static_cast<uint16_t>((0x88 + rng() % 0x40) << 8 | (0x61 + rng() % 0x1E)));
        if (multiline && rng() % 5 == 0) c = "\r\n";
        add.push_back(c);
        bytes += c;
      }
      if (op == 19) bytes += '\xB0';
      buffer.paste(bytes);
      if (model.selection()) model.eraseSelection();
      for (const auto& c : add) {
        if (model.bytes() + c.size() > model.limit) break;
        model.chars.insert(model.chars.begin() + model.caret++, c);
      }
      model.anchor = model.caret;
    } else if (op == 20) {  // a selection by index, possibly inside a character
      complete();
      const size_t a = rng() % (buffer.length() + 3), b = rng() % (buffer.length() + 3);
      buffer.setSelection(a, b);
      auto toChars = [&](size_t byte) {
        size_t n = 0, at = 0;
        while (n < model.chars.size() && at + model.chars[n].size() <= byte) at += model.chars[n++].size();
        return n;
      };
      model.anchor = toChars(a);
      model.caret = toChars(b);
    } else if (op == 21 && multiline) {
      complete();
      buffer.moveUp(extend);
      buffer.moveDown(extend);
      // Vertical moves are checked by the tables; here the model follows the buffer.
      size_t at = 0, n = 0;
      while (n < model.chars.size() && at < buffer.caret()) at += model.chars[n++].size();
      model.caret = n;
      at = 0, n = 0;
      while (n < model.chars.size() && at < buffer.anchor()) at += model.chars[n++].size();
      model.anchor = n;
    } else if (op == 22) {
      const int16_t mode = rng() % 2;
      if (SetHangulMode(&automaton, mode) != 0) {
        buffer.completeComposition(automaton.completedCode == kEmptyCode ? 0 : automaton.completedCode);
        model.finish();
      }
    } else {
      complete();
      buffer.backspace();
      if (model.selection()) model.eraseSelection();
      else if (model.caret > 0) model.chars.erase(model.chars.begin() + --model.caret), model.anchor = model.caret;
    }
    // Invariants and agreement.
    if (buffer.text() != model.text()) fail("text differs from the model");
    if (buffer.caret() != model.byteIndex(model.caret)) fail("caret differs from the model");
    if (buffer.anchor() != model.byteIndex(model.anchor)) fail("anchor differs from the model");
    if (buffer.composing() != model.composing) fail("composition flag differs");
    if (buffer.snap(buffer.caret()) != buffer.caret()) fail("caret inside a character");
    if (buffer.length() > model.limit && model.limit != kNoLimit) fail("text past the limit");
    if (buffer.composing() != (IsProcessingInput(&automaton) != 0)) fail("composition and automaton disagree");
  }
}

}  // namespace kesta::controls::testing
