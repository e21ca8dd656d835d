// A test caller of the automaton: types keys into a record in Hangul mode and
// keeps what a character processor would have committed.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "hangul/automata.h"

namespace kesta::hangul::testing {

struct Typist {
  explicit Typist(int32_t keyboardType) {
    InitAutomata(&s, keyboardType);
    SetHangulMode(&s, 1);
  }

  // One character through GetKey; `key` receives the key as GetKey left it.
  int16_t press(uint16_t ch, uint16_t* key = nullptr) {
    uint16_t k = ch;
    const int16_t result = GetKey(&s, &k, false);
    if (key != nullptr) *key = k;
    commit(result, k);
    return result;
  }

  // Every character of `keys` ('\b' is backspace); the results in order.
  std::vector<int16_t> type(std::string_view keys) {
    std::vector<int16_t> results;
    for (char c : keys) results.push_back(press(static_cast<unsigned char>(c)));
    return results;
  }

  // Types the keys, then finishes the last syllable as a caller leaving the window does.
  std::vector<uint16_t> word(std::string_view keys) {
    type(keys);
    if (uint16_t last = MakeCompleteCode(&s)) committed.push_back(last);
    return committed;
  }

  // What the caller keeps: syllable codes and ordinary characters.
  void commit(int16_t result, uint16_t key) {
    switch (result) {
      case kKeyCompletedNew:
        committed.push_back(s.completedCode);
        break;
      case kKeyCompletedThenKey:
        committed.push_back(s.completedCode);
        committed.push_back(key);
        break;
      case kKeyOrdinary:
      case kKeyEnglish:
        committed.push_back(key);
        break;
      default:
        break;
    }
  }

  AutomataState s{};
  std::vector<uint16_t> committed;
};

}  // namespace kesta::hangul::testing
