// Table-driven transition checks: type a prefix, check the state it reaches,
// press one key and check the result, the new state, the codes and the key
// handed back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hangul/automata.h"
#include "hangul/automata_jamo.h"
#include "tests/hangul/typist.h"

namespace kesta::hangul::testing {

namespace ini = jamo::ini;
namespace med = jamo::med;
namespace fin = jamo::fin;

constexpr uint16_t code(uint16_t i, uint16_t m, uint16_t f) { return makeCombinationCode(i, m, f); }

inline constexpr uint16_t kBackspace = 8;
inline constexpr uint16_t kSameKey = 0xFFFF;  // the key comes back as it was pressed

struct Transition {
  const char* before;   // keys typed first ('\b' is backspace)
  int32_t fromState;    // the state they reach
  uint16_t key;         // the key under test
  int16_t result;       // GetKey's result
  int32_t toState;
  uint16_t current;     // current code afterwards
  uint16_t completed;   // completed code for -1 and -2 (-3 and -4 leave the empty code)
  uint16_t keyBack = kSameKey;  // key returned for -2 and -3 (0 and -1 return the current code)
};

inline std::string describe(const Transition& t) {
  std::string keys;
  for (const char* p = t.before; *p; ++p) keys += *p == '\b' ? std::string("\\b") : std::string(1, *p);
  const std::string key = t.key == kBackspace ? "\\b" : std::string(1, static_cast<char>(t.key));
  return "\"" + keys + "\" then '" + key + "'";
}

inline void checkTransitions(int32_t keyboardType, const std::vector<Transition>& rows) {
  for (const auto& row : rows) {
    SCOPED_TRACE(describe(row));
    Typist t(keyboardType);
    t.type(row.before);
    ASSERT_EQ(t.s.state, row.fromState);
    const uint16_t completedBefore = t.s.completedCode;
    uint16_t key = 0;
    EXPECT_EQ(t.press(row.key, &key), row.result);
    EXPECT_EQ(t.s.state, row.toState);
    EXPECT_EQ(GetCurrentCode(&t.s), row.current) << std::hex << GetCurrentCode(&t.s);
    EXPECT_EQ(t.s.previousState, row.fromState);
    switch (row.result) {
      case kKeyComposing:
        EXPECT_EQ(key, row.current);
        EXPECT_EQ(t.s.completedCode, completedBefore);
        break;
      case kKeyCompletedNew:
        EXPECT_EQ(key, row.current);
        EXPECT_EQ(t.s.completedCode, row.completed) << std::hex << t.s.completedCode;
        break;
      case kKeyCompletedThenKey:
        EXPECT_EQ(key, row.keyBack == kSameKey ? row.key : row.keyBack);
        EXPECT_EQ(t.s.completedCode, row.completed) << std::hex << t.s.completedCode;
        break;
      case kKeyOrdinary:
        EXPECT_EQ(key, row.keyBack == kSameKey ? row.key : row.keyBack);
        EXPECT_EQ(t.s.completedCode, kEmptyCode);
        break;
      case kKeyErased:
        EXPECT_EQ(key, row.key);
        EXPECT_EQ(t.s.completedCode, kEmptyCode);
        break;
      default:
        ADD_FAILURE() << "unexpected result in the table";
    }
  }
}

}  // namespace kesta::hangul::testing
