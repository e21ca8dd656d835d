// Fuzz target: the stream converter fed any bytes in any pieces gives the
// same output as one piece, and the bounded converter stays in its buffer.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "xlat/xlat.h"

using kesta::xlat::Code;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  Code from = static_cast<Code>(data[0] % 5);
  Code to = static_cast<Code>(data[1] % 5);
  unsigned step = 1 + data[2] % 7;
  const char* text = reinterpret_cast<const char*>(data + 3);
  size -= 3;

  std::string whole;
  kesta::xlat::StreamConverter one(from, to);
  one.feed(text, size, whole);
  one.finish(whole);

  std::string pieces;
  kesta::xlat::StreamConverter many(from, to);
  for (std::size_t at = 0; at < size; at += step) many.feed(text + at, size - at < step ? size - at : step, pieces);
  many.finish(pieces);
  if (pieces != whole) std::abort();
  if (many.substitutions().total() != one.substitutions().total()) std::abort();

  // The bounded form into a buffer of exactly its capacity.
  std::size_t capacity = 1 + size % 64;
  auto out = std::make_unique<char[]>(capacity);
  std::size_t n = kesta::xlat::convert(from, to, text, size, out.get(), capacity);
  if (n >= capacity || out[n] != 0) std::abort();
  return 0;
}
