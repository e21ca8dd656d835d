#include "app/shell/views/grid_characters.h"

#include "app/session/is_hangul.h"
#include "app/session/terminal.h"

namespace kesta::shell {

namespace {

// Inside a shift-out the 7-bit code pairs the bytes 0x21 to 0x7E; anything
// else stands alone, and CR and LF end the shift as the converter does.
ByteKind sevenBitKind(std::string_view row, int column) {
  bool shifted = false;
  int at = 0;
  while (at < static_cast<int>(row.size())) {
    const unsigned char byte = static_cast<unsigned char>(row[at]);
    const bool pairable = shifted && byte >= 0x21 && byte <= 0x7E && at + 1 < static_cast<int>(row.size()) &&
                          static_cast<unsigned char>(row[at + 1]) >= 0x21 &&
                          static_cast<unsigned char>(row[at + 1]) <= 0x7E;
    if (pairable) {
      if (column == at) return ByteKind::Lead;
      if (column == at + 1) return ByteKind::Trail;
      at += 2;
      continue;
    }
    if (byte == static_cast<unsigned char>(session::kShiftOut)) shifted = true;
    if (byte == static_cast<unsigned char>(session::kShiftIn) || byte == '\r' || byte == '\n') shifted = false;
    if (column == at) return ByteKind::Single;
    ++at;
  }
  return ByteKind::Single;
}

}  // namespace

ByteKind byteKindAt(std::string_view row, int column, int hostCode) {
  if (column < 0 || column >= static_cast<int>(row.size())) return ByteKind::Single;
  if (hostCode == session::kSevenBitCode) return sevenBitKind(row, column);
  switch (session::IsHangul(row.data(), row.size(), static_cast<std::size_t>(column))) {
    case 1:
      // A lead byte in the last column has no trail: it stands alone.
      return column + 1 < static_cast<int>(row.size()) ? ByteKind::Lead : ByteKind::Single;
    case 2:
      return ByteKind::Trail;
    default:
      return ByteKind::Single;
  }
}

int characterStart(std::string_view row, int column, int hostCode) {
  return byteKindAt(row, column, hostCode) == ByteKind::Trail ? column - 1 : column;
}

int characterEnd(std::string_view row, int column, int hostCode) {
  return byteKindAt(row, column, hostCode) == ByteKind::Lead ? column + 1 : column;
}

}  // namespace kesta::shell
