// Keys per second through GetKey: ordinary typing of Korean text in each
// layout, syllable after syllable, with the caller's MakeCompleteCode at each
// end of text.
#include <benchmark/benchmark.h>

#include <string_view>

#include "hangul/automata.h"

namespace {

using namespace kesta::hangul;

// "안녕하세요 한글 자판을 시험합니다" typed in each layout.
constexpr std::string_view kTwoSetText = "dkssudgktpdy gksrmf wkvksdmf tlgjagkqslek ";
constexpr std::string_view kThreeSetText = "jfsheamfncj4 mfskgw lfpfsjgw ndmtzmf3hduf ";

void typeText(benchmark::State& st, int32_t type, std::string_view text) {
  AutomataState s{};
  InitAutomata(&s, type);
  SetHangulMode(&s, 1);
  for (auto _ : st) {
    for (char c : text) {
      uint16_t key = static_cast<unsigned char>(c);
      benchmark::DoNotOptimize(GetKey(&s, &key, false));
      benchmark::DoNotOptimize(key);
    }
    benchmark::DoNotOptimize(MakeCompleteCode(&s));
  }
  st.SetItemsProcessed(st.iterations() * static_cast<int64_t>(text.size()));
}

void BM_GetKeyTwoSet(benchmark::State& st) { typeText(st, kTwoSetKeyboard, kTwoSetText); }
void BM_GetKeyThreeSet(benchmark::State& st) { typeText(st, kThreeSetKeyboard, kThreeSetText); }

BENCHMARK(BM_GetKeyTwoSet);
BENCHMARK(BM_GetKeyThreeSet);

}  // namespace
