// 8 MB of mixed Korean and English text from code page 949 (type 6) to
// johab (type 1) and back, beside glibc iconv's CP949 -> JOHAB (and back) on
// the same data in the same run.
//   build/native/tests/xlat/xlat_bench
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <random>
#include <string>

#include "xlat/xlat.h"

namespace {

using kesta::xlat::Code;

// Words of English and of Hangul (mostly KS X 1001 syllables, some of the
// code page's further ones), with spaces, punctuation and line ends.
const std::string& sampleCp949() {
  static const std::string text = [] {
    std::mt19937 rng(949);
    const char* english[] = {"the", "BBS", "download", "menu", "ZMODEM", "file", "of", "and", "modem", "2400"};
    std::string s;
    s.reserve(8u << 20);
    while (s.size() < (8u << 20) - 64) {
      if (rng() % 2) {
        s += english[rng() % 10];
      } else {
        unsigned n = 1 + rng() % 4;
        for (unsigned k = 0; k < n; ++k) {
          std::uint16_t cp;
          if (rng() % 10 == 0) {
            cp = kesta::xlat::johabToCp949(kesta::xlat::unicodeToJohab(0xAC00 + rng() % 11172));
          } else {
            cp = static_cast<std::uint16_t>((0xB0 + rng() % 25) << 8 | (0xA1 + rng() % 94));
          }
          s += static_cast<char>(cp >> 8);
          s += static_cast<char>(cp & 0xFF);
        }
      }
      s += (rng() % 12 == 0) ? "\r\n" : (rng() % 8 == 0 ? ". " : " ");
    }
    return s;
  }();
  return text;
}

const std::string& sampleJohab() {
  static const std::string text = kesta::xlat::convert(Code::Cp949, Code::Johab, sampleCp949());
  return text;
}

void runOurs(benchmark::State& state, Code from, Code to, const std::string& in) {
  std::string out(in.size() + 1, '\0');
  for (auto _ : state) {
    std::size_t n = kesta::xlat::convert(from, to, in.data(), in.size(), out.data(), out.size());
    benchmark::DoNotOptimize(n);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(in.size()));
}

void runIconv(benchmark::State& state, const char* from, const char* to, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv_open failed");
    return;
  }
  std::string out(in.size() * 2, '\0');
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
      state.SkipWithError("iconv refused the text");
      break;
    }
    benchmark::DoNotOptimize(dst);
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(in.size()));
}

void BM_Xlat_6to1(benchmark::State& s) { runOurs(s, Code::Cp949, Code::Johab, sampleCp949()); }
void BM_Iconv_CP949toJOHAB(benchmark::State& s) { runIconv(s, "CP949", "JOHAB", sampleCp949()); }
void BM_Xlat_1to6(benchmark::State& s) { runOurs(s, Code::Johab, Code::Cp949, sampleJohab()); }
void BM_Iconv_JOHABtoCP949(benchmark::State& s) { runIconv(s, "JOHAB", "CP949", sampleJohab()); }

BENCHMARK(BM_Xlat_6to1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iconv_CP949toJOHAB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Xlat_1to6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iconv_JOHABtoCP949)->Unit(benchmark::kMillisecond);

}  // namespace
