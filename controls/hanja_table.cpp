#include "controls/hanja_table.h"

namespace kesta::controls {

namespace {

constexpr ReadingRow kRows[] = {
#include "controls/hanja_readings.inc"
};
static_assert(std::size(kRows) == 473);

}  // namespace

std::span<const ReadingRow> readingRows() { return kRows; }

std::optional<ReadingRow> findReading(uint16_t syllable) {
  int low = 0, high = static_cast<int>(std::size(kRows)) - 1;
  while (low <= high) {
    const int mid = (low + high) / 2;
    if (kRows[mid].syllable == syllable) return kRows[mid];
    if (kRows[mid].syllable < syllable) low = mid + 1;
    else high = mid - 1;
  }
  return std::nullopt;
}

uint16_t hanjaCode(int n) {
  if (n < 0 || n >= kHanjaCount) return 0;
  const int r = n % 188;
  const int second = r < 78 ? r + 0x31 : r + 0x43;
  return static_cast<uint16_t>((0xE0 + n / 188) << 8 | second);
}

}  // namespace kesta::controls
