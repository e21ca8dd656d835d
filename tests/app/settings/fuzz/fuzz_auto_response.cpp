#include "app/settings/auto_response.h"
#include "tests/app/settings/fuzz/record_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta::settings;
  AutoResponseTable start;
  start.rows[7] = {true, "last", "row"};
  return fuzz::fuzzRecord(data, size, start, [](const AutoResponseTable& t) {
    for (const auto& row : t.rows) {
      fuzz::requireFits(row.reference, 100);
      fuzz::requireFits(row.transfer, 100);
    }
  });
}
