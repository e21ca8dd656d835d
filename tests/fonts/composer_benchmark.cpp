// Composing syllables with a built-in face: every one of the 11,172 per iteration.
#include <benchmark/benchmark.h>

#include "fonts/builtin_fonts.h"
#include "fonts/composer.h"

namespace {

void BM_ComposeAllSyllables(benchmark::State& state) {
  kesta::fonts::FontHeader headers[kesta::fonts::kBuiltinFontCount];
  kesta::fonts::makeBuiltinHeaders(headers);
  uint16_t codes[11172];
  for (int i = 0; i < 11172; ++i) codes[i] = kesta::hangul::syllableCodeOfUnicodeIndex(i);
  uint8_t cell[32];
  for (auto _ : state) {
    for (uint16_t code : codes) {
      kesta::hangul::composeSyllable(code, headers[0], cell);
      benchmark::DoNotOptimize(cell);
    }
  }
  state.SetItemsProcessed(state.iterations() * 11172);
}
BENCHMARK(BM_ComposeAllSyllables);

}  // namespace
