// Hangul code conversion: the one place where text moves between the byte
// codes of hosts, the clipboard and callers and the internal combination code.
//
// Code types, as numbered in every conversion call:
//   1 internal combination code (johab, KS C 5601-1992 annex)
//   2, 3, 4 vendor combination codes; no public definition of their jamo
//           tables was found, so they are handled as the internal code
//   5 1987 KS combination code (Hangul at 0xA421..0xF3BC; Hangul only)
//   6 KS complete code as the Windows code page 949 (wansung plus the
//     code page's further syllables): the clipboard's code
//   7 KS X 1001 in seven bits, shift-out/shift-in around double-byte runs
//   8 the code of strings handed in by callers: code page 949, as 6
//   9 UTF-8, through Unicode: every character with an internal code
//     converts both ways; others become the substitute
// Anything without a counterpart in the target becomes the substitute
// character of the same width (see kSubstitute*).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kesta::xlat {

inline constexpr int kFirstType = 1;
inline constexpr int kLastType = 9;
inline constexpr int kUtf8Type = 9;

// The codes the converter knows. Every code type maps to one of them.
enum class Code { Johab, Ks1987, Cp949, SevenBit, Utf8 };

// The code behind a code type 1..9; returns false for any other number.
bool codeForType(int type, Code* code);

// Substitutes. One-byte places get '?'; two-byte places get the full-width
// question mark U+FF1F, whose bytes depend on the target; UTF-8 output gets
// U+FFFD. Code 5 has no symbol area, so its two-byte substitute is "??".
// A UTF-8 character without an internal code keeps its width: one byte for
// the narrow ones (Latin letters and the like), two for the wide ones.
inline constexpr char kSubstituteByte = '?';
inline constexpr std::uint16_t kSubstituteJohab = 0xDA4F;   // U+FF1F in johab
inline constexpr std::uint16_t kSubstituteCp949 = 0xA3BF;   // U+FF1F in KS X 1001
inline constexpr char32_t kSubstituteUnicode = 0xFFFD;

// Converts the NUL-terminated text in place from one code type to another.
// Never writes more than capacity bytes, the NUL included: output that does
// not fit is cut at a character boundary (and, for type 7, closed with a
// shift-in). Reads at most capacity bytes of the input. Returns the length
// of the result. Unknown types leave the text unchanged.
std::size_t convertInPlace(int fromType, int toType, char* text, std::size_t capacity);

// Counts of what could not be carried over unchanged.
struct Substitutions {
  std::size_t badInput = 0;     // input bytes that are no character of the source code
  std::size_t unmappable = 0;   // characters that have no counterpart in the target
  std::size_t total() const { return badInput + unmappable; }
};

// Converts len bytes of in (no NUL needed) into out, writing at most
// capacity bytes including a terminating NUL (capacity 0 writes nothing).
// Cuts at a character boundary like convertInPlace. Returns the length.
std::size_t convert(Code from, Code to, const char* in, std::size_t len, char* out, std::size_t capacity,
                    Substitutions* subs = nullptr);

// The same into a string, never cut.
std::string convert(Code from, Code to, const std::string& in, Substitutions* subs = nullptr);

// A converter for a stream that arrives in pieces: a character split
// between pieces and the shift state of code 7 carry over to the next piece.
class StreamConverter {
 public:
  StreamConverter(Code from, Code to);

  // Converts one piece and appends the result to out.
  void feed(const char* data, std::size_t len, std::string& out);
  // Ends the stream: an incomplete character left over becomes a substitute
  // and code 7 output returns to one-byte mode.
  void finish(std::string& out);

  const Substitutions& substitutions() const { return subs_; }

 private:
  void run(const unsigned char* data, std::size_t len, bool atEnd, std::string& out);

  Code from_, to_;
  bool inShifted_ = false;    // code 7 input is inside a double-byte run
  bool outShifted_ = false;   // code 7 output is inside a double-byte run
  unsigned char pending_[8] = {};
  std::size_t pendingLen_ = 0;
  Substitutions subs_;
};

// One character between johab and Unicode. toUnicode returns 0 when the
// johab code has no Unicode counterpart; fromUnicode returns 0 when the
// character has no johab code. Codes below 0x80 are themselves.
char32_t johabToUnicode(std::uint16_t johab);
std::uint16_t unicodeToJohab(char32_t c);

// A johab Hangul code as Unicode letters: a whole syllable or a lone letter
// gives one character; a partial syllable of several parts (a medial with a
// final, say, as the keyboard composes them) gives its parts as compatibility
// letters, up to three. Returns how many were written (0: no Hangul code).
int johabToUnicodeLetters(std::uint16_t johab, char32_t letters[3]);

// One character between johab and code page 949; 0 when there is none.
std::uint16_t johabToCp949(std::uint16_t johab);
std::uint16_t cp949ToJohab(std::uint16_t cp949);

// One character between johab and the 1987 KS combination code; 0 when
// there is none (only Hangul exists in the 1987 code).
std::uint16_t johabToKs1987(std::uint16_t johab);
std::uint16_t ks1987ToJohab(std::uint16_t code);

}  // namespace kesta::xlat
