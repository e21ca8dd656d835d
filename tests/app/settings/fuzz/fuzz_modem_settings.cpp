#include "app/settings/modem_settings.h"
#include "tests/app/settings/fuzz/record_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta::settings;
  return fuzz::fuzzRecord(data, size, ModemSettings::dialogDefaults(),
                          [](const ModemSettings& m) { fuzz::requireFits(m.initialCommand, 80); });
}
