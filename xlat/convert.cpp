// The conversion loop: a decoder for the source code feeds an encoder for
// the target code one character at a time; runs of plain ASCII are copied.
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "xlat/codecs.h"
#include "xlat/xlat.h"

namespace kesta::xlat {

using namespace detail;

namespace {

struct Progress {
  std::size_t read = 0;
  std::size_t written = 0;
};

// Converts from in[0..n) into out[0..room) until the input ends, the output
// is full or (unless atEnd) a character is incomplete. in and out may be the
// same buffer when the target never needs more bytes than the source.
// A table from every two-byte source code straight to its two-byte target
// code, where the pair has one (0 means: take the long way).
template <class D, class E>
const std::uint16_t* directTable() {
  if constexpr (std::is_same_v<D, Cp949Decoder> && std::is_same_v<E, JohabEncoder>) return tables().cp949ToJohab;
  if constexpr (std::is_same_v<D, JohabDecoder> && std::is_same_v<E, Cp949Encoder>) return tables().johabToCp949;
  return nullptr;
}

// Code page 949 and johab with room for all of the input: every character,
// substitutes included, keeps its width, so output and input share one
// index. Plain runs are copied sixteen bytes at a time where the processor
// allows, which leaves one hard-to-predict branch per word instead of two.
template <class D, class E>
Progress directLoop(D& dec, E& enc, const std::uint16_t* direct, const std::uint8_t* in, std::size_t n, bool atEnd,
                    std::uint8_t* out, Substitutions& subs) {
  std::size_t i = 0;
  while (i < n) {
#if defined(__SSE2__)
    while (n - i >= 16) {
      __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);  // in place this stores what is there
      unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
      if (high) {
        i += static_cast<std::size_t>(__builtin_ctz(high));
        break;
      }
      i += 16;
    }
#endif
    while (i < n && in[i] < 0x80) {
      out[i] = in[i];
      ++i;
    }
    while (n - i >= 2 && in[i] >= 0x80) {
      std::uint16_t c = direct[in[i] << 8 | in[i + 1]];
      if (c == 0) break;
      out[i] = static_cast<std::uint8_t>(c >> 8);
      out[i + 1] = static_cast<std::uint8_t>(c);
      i += 2;
    }
    if (i == n || in[i] < 0x80) continue;
    // A byte that begins no character of the table: the long way.
    Char ch;
    std::size_t k = dec.decode(in + i, n - i, atEnd, ch);
    if (k == 0) break;
    // Both codes write a substitute as wide as the bytes it replaces.
    if (enc.encode(ch, out + i, k, subs) != static_cast<int>(k)) std::memset(out + i, kSubstituteByte, k);
    i += k;
  }
  return {i, i};
}

template <class D, class E>
Progress runLoop(D& dec, E& enc, const std::uint8_t* in, std::size_t n, bool atEnd, std::uint8_t* out,
                 std::size_t room, Substitutions& subs) {
  std::size_t r = 0, w = 0;
  if (const std::uint16_t* direct = directTable<D, E>()) {
    // Code page 949 and johab: both one byte below 0x80 and two above, and
    // every code in the table is a whole character on both sides.
    if (room >= n) return directLoop(dec, enc, direct, in, n, atEnd, out, subs);
    while (r < n) {
      unsigned b = in[r];
      if (b < 0x80) {
        if (w == room) break;
        out[w++] = static_cast<std::uint8_t>(b);
        ++r;
        continue;
      }
      if (r + 1 < n) {
        if (std::uint16_t c = direct[b << 8 | in[r + 1]]) {
          if (room - w < 2) break;
          out[w] = static_cast<std::uint8_t>(c >> 8);
          out[w + 1] = static_cast<std::uint8_t>(c);
          w += 2;
          r += 2;
          continue;
        }
      }
      Char ch;
      std::size_t k = dec.decode(in + r, n - r, atEnd, ch);
      if (k == 0) break;
      int m = enc.encode(ch, out + w, room - w, subs);
      if (m < 0) break;
      r += k;
      w += static_cast<std::size_t>(m);
    }
    return {r, w};
  }
  while (r < n) {
    if constexpr (D::kAsciiPlain && E::kAsciiPlain) {
      std::size_t run = n - r < room - w ? n - r : room - w;
      std::size_t k = 0;
      while (k < run && in[r + k] < 0x80) ++k;
      if (out + w != in + r) std::memmove(out + w, in + r, k);
      r += k;
      w += k;
      if (r == n || w == room) break;
    }
    Char ch;
    std::size_t k = dec.decode(in + r, n - r, atEnd, ch);
    if (k == 0) break;
    int m = enc.encode(ch, out + w, room - w, subs);
    if (m < 0) break;
    r += k;
    w += static_cast<std::size_t>(m);
  }
  return {r, w};
}

inline bool* shiftOf(SevenBitDecoder& d) { return &d.shifted; }
inline bool* shiftOf(SevenBitEncoder& e) { return &e.shifted; }
template <class T>
bool* shiftOf(T&) { return nullptr; }

// Calls f(decoder, encoder) with the pair for the two codes.
template <class F>
auto withEncoder(Code to, F&& f) {
  switch (to) {
    case Code::Johab: { JohabEncoder e; return f(e); }
    case Code::Ks1987: { Ks1987Encoder e; return f(e); }
    case Code::Cp949: { Cp949Encoder e; return f(e); }
    case Code::SevenBit: { SevenBitEncoder e; return f(e); }
    case Code::Utf8: break;
  }
  Utf8Encoder e;
  return f(e);
}

template <class F>
auto withCodecs(Code from, Code to, F&& f) {
  return withEncoder(to, [&](auto& enc) {
    switch (from) {
      case Code::Johab: { JohabDecoder d; return f(d, enc); }
      case Code::Ks1987: { Ks1987Decoder d; return f(d, enc); }
      case Code::Cp949: { Cp949Decoder d; return f(d, enc); }
      case Code::SevenBit: { SevenBitDecoder d; return f(d, enc); }
      case Code::Utf8: break;
    }
    Utf8Decoder d;
    return f(d, enc);
  });
}

// The longest prefix of in[0..n) of whole characters of the code that fits
// in limit bytes.
std::size_t characterBoundary(Code code, const std::uint8_t* in, std::size_t n, std::size_t limit) {
  return withCodecs(code, Code::Johab, [&](auto& dec, auto&) {
    std::size_t r = 0;
    while (r < n) {
      Char ch;
      std::size_t k = dec.decode(in + r, n - r, true, ch);
      if (r + k > limit) break;
      r += k;
    }
    return r;
  });
}

}  // namespace

bool codeForType(int type, Code* code) {
  switch (type) {
    case 1: case 2: case 3: case 4: *code = Code::Johab; return true;
    case 5: *code = Code::Ks1987; return true;
    case 6: case 8: *code = Code::Cp949; return true;
    case 7: *code = Code::SevenBit; return true;
    case 9: *code = Code::Utf8; return true;
    default: return false;
  }
}

std::size_t convert(Code from, Code to, const char* in, std::size_t len, char* out, std::size_t capacity,
                    Substitutions* subs) {
  if (capacity == 0) return 0;
  Substitutions ignored;
  Substitutions& counts = subs ? *subs : ignored;
  auto* src = reinterpret_cast<const std::uint8_t*>(in);
  auto* dst = reinterpret_cast<std::uint8_t*>(out);
  std::size_t room = capacity - 1;
  if (from == to && from != Code::SevenBit) {
    std::size_t n = len <= room ? len : characterBoundary(from, src, len, room);
    if (dst != src) std::memmove(dst, src, n);
    dst[n] = 0;
    return n;
  }
  std::size_t n = withCodecs(from, to, [&](auto& dec, auto& enc) {
    Progress p = runLoop(dec, enc, src, len, true, dst, room, counts);
    return p.written + static_cast<std::size_t>(enc.finish(dst + p.written));
  });
  dst[n] = 0;
  return n;
}

std::string convert(Code from, Code to, const std::string& in, Substitutions* subs) {
  std::string out;
  StreamConverter stream(from, to);
  stream.feed(in.data(), in.size(), out);
  stream.finish(out);
  if (subs) *subs = stream.substitutions();
  return out;
}

std::size_t convertInPlace(int fromType, int toType, char* text, std::size_t capacity) {
  if (text == nullptr || capacity == 0) return 0;
  std::size_t len = strnlen(text, capacity);
  Code from, to;
  if (!codeForType(fromType, &from) || !codeForType(toType, &to)) return len;
  if (from == to && len < capacity) return len;
  if (to != Code::SevenBit && to != Code::Utf8) {
    // Every character of these targets is at most as long as its source
    // (a 7-bit source loses its shifts, UTF-8 takes at least as many bytes
    // as the two-byte codes), so the output never overtakes the input in
    // the same buffer.
    return convert(from, to, text, len, text, capacity);
  }
  // Shifts make 7-bit output longer than its source (even 7-bit source that
  // leaves a run by a line end instead of SI), and UTF-8 takes three bytes
  // for a syllable of two: convert beside it.
  char small[512];
  std::unique_ptr<char[]> large;
  char* scratch = small;
  if (capacity > sizeof small) {
    large.reset(new (std::nothrow) char[capacity]);
    if (!large) return len;
    scratch = large.get();
  }
  std::size_t n = convert(from, to, text, len, scratch, capacity);
  std::memcpy(text, scratch, n + 1);
  return n;
}

StreamConverter::StreamConverter(Code from, Code to) : from_(from), to_(to) {}

void StreamConverter::run(const unsigned char* data, std::size_t len, bool atEnd, std::string& out) {
  withCodecs(from_, to_, [&](auto& dec, auto& enc) {
    if (bool* s = shiftOf(dec)) *s = inShifted_;
    if (bool* s = shiftOf(enc)) *s = outShifted_;
    std::size_t r = 0;
    while (r < len) {
      std::size_t base = out.size();
      std::size_t room = 4 * (len - r) + 16;
      out.resize(base + room);
      Progress p = runLoop(dec, enc, data + r, len - r, atEnd, reinterpret_cast<std::uint8_t*>(&out[base]), room, subs_);
      out.resize(base + p.written);
      r += p.read;
      if (p.read == 0) break;  // an incomplete character waits for more input
    }
    // Whatever is left is the start of a character (at most a few bytes).
    std::size_t left = len - r;
    if (left > sizeof pending_) left = sizeof pending_;
    std::memmove(pending_, data + r, left);
    pendingLen_ = left;
    if (atEnd) {
      unsigned char tail[2];
      std::size_t k = static_cast<std::size_t>(enc.finish(tail));
      out.append(reinterpret_cast<char*>(tail), k);
    }
    if (bool* s = shiftOf(dec)) inShifted_ = *s;
    if (bool* s = shiftOf(enc)) outShifted_ = *s;
    return 0;
  });
}

void StreamConverter::feed(const char* data, std::size_t len, std::string& out) {
  auto* p = reinterpret_cast<const unsigned char*>(data);
  if (from_ == to_ && from_ != Code::SevenBit) {
    out.append(data, len);
    return;
  }
  if (pendingLen_ > 0) {
    // Complete the character split between pieces on a small joined buffer.
    unsigned char joined[sizeof pending_ + 8];
    std::size_t have = pendingLen_;
    std::memcpy(joined, pending_, have);
    std::size_t extra = len < 8 ? len : 8;
    std::memcpy(joined + have, p, extra);
    std::size_t total = have + extra;
    pendingLen_ = 0;
    run(joined, total, false, out);
    if (extra == len) return;  // the whole piece went through the joined buffer
    // A character is at most four bytes, so eight more bytes always carry
    // the split one past the old pending bytes.
    std::size_t used = total - pendingLen_;
    pendingLen_ = 0;
    std::size_t skip = used > have ? used - have : 0;
    p += skip;
    len -= skip;
  }
  run(p, len, false, out);
}

void StreamConverter::finish(std::string& out) {
  if (from_ == to_ && from_ != Code::SevenBit) return;
  unsigned char rest[sizeof pending_];
  std::size_t n = pendingLen_;
  std::memcpy(rest, pending_, n);
  pendingLen_ = 0;
  run(rest, n, true, out);
}

}  // namespace kesta::xlat
