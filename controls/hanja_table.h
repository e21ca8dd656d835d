// The Hanja picker's reading table and the Hanja number to code rule.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kesta::controls {

// One reading: the syllable (combination code), how many Hanja read so, and
// the number of the first (Hanja are numbered 0..4887 in KS X 1001 order).
struct ReadingRow {
  uint16_t syllable;
  uint16_t count;
  uint16_t first;
};

inline constexpr int kHanjaCount = 4888;

// The 473 rows, sorted by syllable.
std::span<const ReadingRow> readingRows();
// The row of a syllable, by binary search; nothing when it has no Hanja.
std::optional<ReadingRow> findReading(uint16_t syllable);
// Hanja number n (0..4887) as its combination code (lead 0xE0..0xF9); 0 outside.
uint16_t hanjaCode(int n);

}  // namespace kesta::controls
