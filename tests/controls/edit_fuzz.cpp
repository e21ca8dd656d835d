// Fuzz target: the input seeds a random editing session run against the model.
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "tests/controls/edit_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t seed = 0;
  std::memcpy(&seed, data, size < sizeof seed ? size : sizeof seed);
  std::mt19937 rng(seed);
  const bool multiline = size > 4 && (data[4] & 1);
  kesta::controls::testing::runSession(rng, 200, multiline, [&](const char* message) {
    std::fprintf(stderr, "edit session %u: %s\n", seed, message);
    std::abort();
  });
  return 0;
}
