// The fixed-number files: window size, Hangul settings, voice flag, colours.
// The first byte picks the file.
#include "app/settings/color_settings.h"
#include "app/settings/hangul_settings.h"
#include "app/settings/sound_settings.h"
#include "app/settings/window_size.h"
#include "tests/app/settings/fuzz/record_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta::settings;
  if (size == 0) return 0;
  auto none = [](const auto&) {};
  switch (data[0] % 4) {
    case 0: return fuzz::fuzzRecord(data + 1, size - 1, WindowSize{}, none);
    case 1:
      return fuzz::fuzzRecord(data + 1, size - 1, HangulSettings{}, [](const HangulSettings& h) {
        // Indexes 0-6 are codes 1-7, the last entry is 9 (UTF-8); 8 is never one.
        int n = h.codeNumber();
        if (n < 1 || n > 9 || n == 8) std::abort();
        bool listed = h.code >= 0 && h.code < kHangulCodeCount;
        if (hangulCodeLabel(h.code, true).empty() == listed || hangulCodeLabel(h.code, false).empty() == listed)
          std::abort();
        (void)hangulFontFace(h.font).size();
      });
    case 2: return fuzz::fuzzRecord(data + 1, size - 1, VoiceFlag{}, none);
    default: return fuzz::fuzzRecord(data + 1, size - 1, ColorSettings{}, none);
  }
}
