// Random key sequences over both layouts, typed the way a caller types them
// (the toggle through IsToggleKeyPressed and GetKey, the syllable handed back
// taken with MakeCompleteCode). After every key the state is one of its
// layout's states and agrees with the jamo it holds, every completed syllable
// is a valid code (the empty code only where nothing was composed), and at the
// end backspaces always bring the automaton back to empty.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "hangul/automata.h"
#include "hangul/automata_jamo.h"

namespace kesta::hangul {
namespace {

namespace ini = jamo::ini;
namespace med = jamo::med;
namespace fin = jamo::fin;

// Sanitized builds run slower: fewer sequences keep CI quick.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kSequences = 100'000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr long kSequences = 100'000;
#else
constexpr long kSequences = 1'000'000;
#endif
#else
constexpr long kSequences = 1'000'000;
#endif

constexpr uint16_t kToggle = 0xFFFF;  // stands for Control+space in a sequence

bool isDoubleInitial(uint16_t j) {
  return j == ini::GG || j == ini::DD || j == ini::BB || j == ini::SS || j == ini::JJ;
}
bool isDoubleMedial(uint16_t j) {
  return j == med::WA || j == med::WAE || j == med::OE || j == med::WO || j == med::WE || j == med::WI ||
         j == med::UI;
}
// Finals that only a double-final table makes (ㄲ and ㅆ have keys of their own).
bool isDoubleFinal(uint16_t j) {
  return j == fin::GS || j == fin::NJ || j == fin::NH || (j >= fin::LG && j <= fin::LH) || j == fin::BS;
}

// Whether the jamo fields are what the state says it holds.
bool twoSetAgrees(const AutomataState& s) {
  const bool i0 = s.initial == ini::Fill, m0 = s.medial == med::Fill, f0 = s.final == fin::Fill;
  const bool mSingle = !m0 && !isDoubleMedial(s.medial), mDouble = isDoubleMedial(s.medial);
  const bool fSingle = !f0 && !isDoubleFinal(s.final), fDouble = isDoubleFinal(s.final);
  switch (s.state) {
    case 0: return i0 && m0 && f0;
    case 1: return !i0 && m0 && f0;
    case 2: return mSingle && f0;
    case 3: return mDouble && f0;
    case 4: return mSingle && fSingle;
    case 5: return mSingle && fDouble;
    case 6: return mDouble && fSingle;
    case 7: return mDouble && fDouble;
    case 8: return i0 && mSingle && f0;
    case 9: return i0 && mDouble && f0;
    case 10: return i0 && mSingle && fSingle;
    case 11: return i0 && mSingle && fDouble;
    case 12: return i0 && mDouble && fSingle;
    case 13: return i0 && mDouble && fDouble;
    case 14: return isDoubleInitial(s.initial) && m0 && f0;
    default: return false;
  }
}

bool threeSetAgrees(const AutomataState& s) {
  const bool i0 = s.initial == ini::Fill, m0 = s.medial == med::Fill, f0 = s.final == fin::Fill;
  const bool mDouble = isDoubleMedial(s.medial), fDouble = isDoubleFinal(s.final);
  switch (s.state) {
    case 0: return i0 && m0 && f0;
    case 1: return !i0 && m0 && f0;
    case 2: return i0 && !m0 && f0;
    case 3: return i0 && m0 && !f0;
    case 4: return !i0 && !m0 && f0;
    case 5: return isDoubleInitial(s.initial) && m0 && f0;
    case 6: return i0 && !m0 && !f0;
    case 7: return i0 && mDouble && f0;
    case 8: return i0 && m0 && fDouble;
    case 9: return !i0 && !m0 && !f0;
    case 10: return i0 && !m0 && fDouble;
    case 11: return i0 && mDouble && !f0;
    case 12: return (!i0 || mDouble) && !m0 && fDouble;
    default: return false;
  }
}

bool agrees(int32_t type, const AutomataState& s) {
  return type == kTwoSetKeyboard ? twoSetAgrees(s) : threeSetAgrees(s);
}

bool isSyllable(uint16_t c) { return isValidCombinationCode(c) && c != kEmptyCode; }

std::string describeKeys(const uint16_t* keys, int n) {
  std::string out;
  for (int k = 0; k < n; ++k) {
    if (keys[k] == kToggle) out += "^ ";
    else if (keys[k] == 8) out += "\\b";
    else if (keys[k] < 0x80) out += static_cast<char>(keys[k]);
    else {
      char hex[12];
      std::snprintf(hex, sizeof hex, "<%04X>", keys[k]);
      out += hex;
    }
  }
  return out;
}

// Types one key as a caller does; returns an error text, empty when all holds.
std::string typeOne(int32_t type, AutomataState& s, uint16_t ch) {
  const int32_t lastState = type == kTwoSetKeyboard ? 14 : 12;
  uint16_t key = ch;
  int16_t result;
  if (ch == kToggle) {
    if (IsToggleKeyPressed(&s, 32, true) != 1) return "the toggle was not seen";
    key = 32;
    result = GetKey(&s, &key, true);
    if (result != kKeyToggle) return "the toggle's character gave " + std::to_string(result);
    if (s.state != 0) return "the toggle left a composition";
    if (key != 0) {
      if (!isSyllable(key)) return "the toggle handed back an invalid code " + std::to_string(key);
      if (MakeCompleteCode(&s) != key) return "MakeCompleteCode disagrees with the toggle's syllable";
    }
  } else {
    const bool hangul = IsInHangulMode(&s) != 0;
    result = GetKey(&s, &key, false);
    if (!hangul) {
      if (result != kKeyEnglish && result != kKeyEnglishBackspace) return "English mode gave " + std::to_string(result);
      if (key != ch) return "English mode changed the key";
    } else {
      switch (result) {
        case kKeyComposing:
          if (s.state == 0 || key != GetCurrentCode(&s)) return "composing without a syllable";
          break;
        case kKeyCompletedNew:
          if (!isSyllable(GetCompletedCode(&s))) return "completed an invalid or empty syllable";
          if (s.state == 0 || key != GetCurrentCode(&s)) return "the new syllable is not in progress";
          break;
        case kKeyCompletedThenKey:
          if (!isSyllable(GetCompletedCode(&s))) return "completed an invalid or empty syllable before a key";
          if (s.state != 0) return "a finished composition goes on";
          break;
        case kKeyOrdinary:
        case kKeyErased:
          if (GetCompletedCode(&s) != kEmptyCode) return "no syllable, yet the completed code is not empty";
          if (s.state != 0) return "nothing composed, yet the state is not 0";
          break;
        default:
          return "Hangul mode gave " + std::to_string(result);
      }
    }
  }
  if (s.state < 0 || s.state > lastState) return "state " + std::to_string(s.state) + " is outside the table";
  if (!isValidCombinationCode(GetCurrentCode(&s))) return "the current code is invalid";
  if (!agrees(type, s)) return "state " + std::to_string(s.state) + " disagrees with its jamo";
  return {};
}

// Backspaces until the composition is gone; returns an error text or empty.
std::string backspaceToEmpty(int32_t type, AutomataState& s) {
  if (!IsInHangulMode(&s)) return s.state == 0 ? std::string() : "English mode with a composition";
  for (int n = 0; n < 8; ++n) {
    uint16_t key = 8;
    const int16_t result = GetKey(&s, &key, false);
    if (result == kKeyErased || result == kKeyOrdinary) {
      if (s.state != 0 || GetCurrentCode(&s) != kEmptyCode) return "backspace left something behind";
      return {};
    }
    if (result != kKeyComposing) return "backspace gave " + std::to_string(result);
    if (!agrees(type, s)) return "backspace reached state " + std::to_string(s.state) + " with other jamo";
  }
  return "eight backspaces did not empty the composition";
}

uint16_t randomKey(std::mt19937& rng) {
  const uint32_t r = rng() % 100;
  if (r < 12) return 8;
  if (r < 14) return kToggle;
  if (r < 16) return static_cast<uint16_t>(0x100 + rng() % 0xFEFF);  // keys of no table, some backspaces
  if (r < 18) return ' ';
  return static_cast<uint16_t>(0x21 + rng() % 94);  // printable ASCII
}

TEST(AutomataProperty, RandomSequencesStayInTheirTablesAndBackspaceToEmpty) {
  std::mt19937 rng(20261207);
  int failures = 0;
  uint16_t keys[16];
  for (long n = 0; n < kSequences && failures < 5; ++n) {
    const int32_t type = (n & 1) ? kTwoSetKeyboard : kThreeSetKeyboard;
    AutomataState s{};
    InitAutomata(&s, type);
    SetHangulMode(&s, 1);
    const int length = 1 + static_cast<int>(rng() % 16);
    std::string error;
    int k = 0;
    for (; k < length && error.empty(); ++k) {
      keys[k] = randomKey(rng);
      error = typeOne(type, s, keys[k]);
    }
    if (error.empty()) error = backspaceToEmpty(type, s);
    if (!error.empty()) {
      ++failures;
      ADD_FAILURE() << (type == kTwoSetKeyboard ? "two-set" : "three-set") << " keys \"" << describeKeys(keys, k)
                    << "\": " << error;
    }
  }
}

}  // namespace
}  // namespace kesta::hangul
