// The keyboard automaton of the Hangul library behind the shell's interface,
// for tests that type real keys.
#pragma once

#include "app/shell/input/character_processor.h"
#include "hangul/automata.h"

namespace kesta::shell {

struct RealAutomaton : KeyboardAutomaton {
  explicit RealAutomaton(int keyboard) { hangul::InitAutomata(&state, keyboard); }
  std::int16_t getKey(std::uint16_t& character) override {
    return hangul::GetKey(&state, &character, controlDown && character == hangul::kToggleVirtualKey);
  }
  std::uint16_t completedCode() override { return hangul::GetCompletedCode(&state); }
  std::uint16_t currentCode() override { return hangul::GetCurrentCode(&state); }
  std::uint16_t makeCompleteCode() override { return hangul::MakeCompleteCode(&state); }
  bool processingInput() override { return hangul::IsProcessingInput(&state) != 0; }
  hangul::AutomataState state{};
  bool controlDown = false;
};

}  // namespace kesta::shell
