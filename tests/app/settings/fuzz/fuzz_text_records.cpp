// The files of text fields: directories, macros, music.
// The first byte picks the file.
#include "app/settings/directory_settings.h"
#include "app/settings/macro_table.h"
#include "app/settings/sound_settings.h"
#include "tests/app/settings/fuzz/record_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta::settings;
  if (size == 0) return 0;
  switch (data[0] % 3) {
    case 0:
      return fuzz::fuzzRecord(data + 1, size - 1, DirectorySettings{"a", "b", "c"}, [](const DirectorySettings& d) {
        fuzz::requireFits(d.download, 100);
        fuzz::requireFits(d.upload, 100);
        fuzz::requireFits(d.capture, 100);
      });
    case 1:
      return fuzz::fuzzRecord(data + 1, size - 1, MacroTable{}, [](const MacroTable& t) {
        for (const auto& m : t.macros) fuzz::requireFits(m, 100);
      });
    default:
      return fuzz::fuzzRecord(data + 1, size - 1, MusicSettings{true, "back.wav"},
                              [](const MusicSettings& m) { fuzz::requireFits(m.path, 100); });
  }
}
