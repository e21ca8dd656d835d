// Fuzz target: the input's bytes make every choice of an editing session run
// against the character-list model, so the fuzzer steers keys, moves,
// selections, pastes and limits directly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/controls/edit_model.h"

namespace {

// Two bytes a choice; zeros once the input is used up.
struct ByteChoices {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint32_t operator()() {
    uint32_t v = 0;
    for (int i = 0; i < 2; ++i) v = v << 8 | (at < size ? data[at++] : 0);
    return v;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool multiline = data[0] & 1;
  ByteChoices choices{data + 1, size - 1};
  // About three choices a step; the session ends soon after the input does.
  const size_t steps = size / 3 + 1;
  kesta::controls::testing::runSession(choices, steps, multiline, [&](const char* message) {
    std::fprintf(stderr, "edit session of %zu bytes: %s\n", size, message);
    std::abort();
  });
  return 0;
}
