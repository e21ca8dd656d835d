// Geometry, colours and page handles shared by the terminal core and the
// drawing targets that show it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kesta::session {

inline constexpr int kColumns = 80;       // text columns 0 to 79
inline constexpr int kDrawColumns = 85;   // window and page width in cells; 80 to 84 are only blanked
inline constexpr int kRows = 28;          // terminal rows, and the height of every page
inline constexpr int kChatRows = 24;      // terminal rows while the chat window is shown

// A colour as Windows keeps it: red in the low byte, then green, then blue.
using Colour = std::uint32_t;
constexpr Colour rgb(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

// A page bitmap, created and owned by the drawing target; the page store
// keeps only these handles.
using PageId = std::uint32_t;

// Code types of the conversion component: 1 is the internal code.
inline constexpr int kInternalCode = 1;
// A UTF-8 host: the receive pipeline turns its text into the internal code
// before the interpreter sees it, so the grid holds the internal code.
inline constexpr int kUtf8Code = 9;

// The conversion entry: converts the NUL-terminated `text` in place from one
// code type to another without writing past `capacity` bytes (terminator
// included) and returns the converted length.
using Converter = std::size_t (*)(int fromType, int toType, char* text, std::size_t capacity);

// The converter used until a real one is given: the text stays as it is.
std::size_t identityConverter(int fromType, int toType, char* text, std::size_t capacity);

}  // namespace kesta::session
