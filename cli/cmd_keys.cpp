// kesta-cli keys: types a key sequence into the Hangul keyboard automaton
// (Hangul mode on) and shows, key by key, what GetKey answered, then the text
// a caller would have committed, in UTF-8.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/command.h"
#include "hangul/automata.h"

namespace {

using namespace kesta::hangul;

constexpr const char* kName = "keys";
constexpr uint16_t kToggleKey = 0xFFFF;  // stands for Control+space in a parsed sequence

void printHelp() {
  std::printf(
      "usage: kesta-cli keys [--layout 2|3] KEYS...\n"
      "\n"
      "Types KEYS into the Hangul keyboard automaton in Hangul mode and prints, for\n"
      "each key, GetKey's result code, the syllable in progress (current) and the last\n"
      "syllable completed, as combination codes; then the last syllable is finished\n"
      "and the committed text is printed in UTF-8.\n"
      "\n"
      "  --layout 2   the two-set layout (default)\n"
      "  --layout 3   the three-set layout\n"
      "\n"
      "In KEYS, \"\\b\" is backspace, \"^ \" is Control+space (the Hangul/English\n"
      "toggle), \"\\\\\" is a backslash and \"\\^\" a caret. Several KEYS are joined with\n"
      "spaces. Example: kesta-cli keys dkssudgktpdy   (types 안녕하세요)\n");
}

// Parses the escapes; returns false with a message for a bad one.
bool parseKeys(const std::string& text, std::vector<uint16_t>* keys, std::string* error) {
  for (size_t n = 0; n < text.size(); ++n) {
    const unsigned char c = static_cast<unsigned char>(text[n]);
    if (c >= 0x80) {
      *error = "keys are typed on the ASCII keyboard; byte " + std::to_string(c) + " is no key";
      return false;
    }
    if (c == '\\') {
      const char next = n + 1 < text.size() ? text[n + 1] : '\0';
      if (next == 'b') keys->push_back(8);
      else if (next == '\\' || next == '^') keys->push_back(static_cast<uint16_t>(next));
      else {
        *error = "unknown escape after a backslash (use \\b, \\\\ or \\^)";
        return false;
      }
      ++n;
    } else if (c == '^' && n + 1 < text.size() && text[n + 1] == ' ') {
      keys->push_back(kToggleKey);
      ++n;
    } else {
      keys->push_back(c);
    }
  }
  return true;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Combination code to Unicode, for this command's output only. It is to be
// replaced by the code converter (xlat) once that is part of the build: the
// committed text would then go through it as the internal code.
// A whole syllable maps to a precomposed one; a syllable lacking its initial
// or medial is written as the compatibility letters of the parts it has.
std::string syllableToUtf8(uint16_t code) {
  // Indexes of the parts in Unicode's order, -1 for a fill, -2 for no letter.
  static const int kInitialIndex[32] = {-2, -1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                        14, 15, 16, 17, 18, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2};
  static const int kMedialIndex[32] = {-2, -2, -1, 0,  1,  2,  3,  4,  -2, -2, 5,  6,  7,  8,  9,  10,
                                       -2, -2, 11, 12, 13, 14, 15, 16, -2, -2, 17, 18, 19, 20, -2, -2};
  static const int kFinalIndex[32] = {-2, -1, 1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                      15, 16, -2, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, -2, -2};
  // Compatibility letters (U+3131..) of the initials and finals, in Unicode's order.
  static const char32_t kInitialLetter[19] = {0x3131, 0x3132, 0x3134, 0x3137, 0x3138, 0x3139, 0x3141,
                                              0x3142, 0x3143, 0x3145, 0x3146, 0x3147, 0x3148, 0x3149,
                                              0x314A, 0x314B, 0x314C, 0x314D, 0x314E};
  static const char32_t kFinalLetter[28] = {0,      0x3131, 0x3132, 0x3133, 0x3134, 0x3135, 0x3136,
                                            0x3137, 0x3139, 0x313A, 0x313B, 0x313C, 0x313D, 0x313E,
                                            0x313F, 0x3140, 0x3141, 0x3142, 0x3144, 0x3145, 0x3146,
                                            0x3147, 0x3148, 0x314A, 0x314B, 0x314C, 0x314D, 0x314E};
  const int i = kInitialIndex[code >> 10 & 0x1F];
  const int m = kMedialIndex[code >> 5 & 0x1F];
  const int f = kFinalIndex[code & 0x1F];
  std::string out;
  if (!(code & 0x8000) || i == -2 || m == -2 || f == -2) {
    appendUtf8(out, 0xFFFD);
  } else if (i >= 0 && m >= 0) {
    appendUtf8(out, 0xAC00 + (static_cast<char32_t>(i) * 21 + static_cast<char32_t>(m)) * 28 +
                        static_cast<char32_t>(f < 0 ? 0 : f));
  } else {
    if (i >= 0) appendUtf8(out, kInitialLetter[i]);
    if (m >= 0) appendUtf8(out, 0x314F + static_cast<char32_t>(m));
    if (f >= 0) appendUtf8(out, kFinalLetter[f]);
  }
  return out;
}

// One committed character: a syllable code (0x8000 and up) or a one-byte key.
std::string unitToUtf8(uint16_t unit) {
  if (unit >= 0x8000) return syllableToUtf8(unit);
  std::string out;
  appendUtf8(out, unit < 0x80 ? unit : 0xFFFD);
  return out;
}

std::string keyName(uint16_t key) {
  if (key == kToggleKey) return "^space";
  if (key == 8) return "\\b";
  if (key == ' ') return "space";
  if (key < 0x20 || key >= 0x7F) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", key);
    return hex;
  }
  return std::string(1, static_cast<char>(key));
}

// "0xB461 안", or the bare number when it is no syllable.
std::string codeText(uint16_t code) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%04X", code);
  std::string out = hex;
  if (isValidCombinationCode(code) && code != kEmptyCode) out += " " + syllableToUtf8(code);
  return out;
}

// Pads to a number of terminal columns: Hangul letters (three bytes of UTF-8) take two.
std::string padded(std::string text, int columns) {
  int used = 0;
  for (unsigned char c : text)
    if (c < 0x80) used += 1;
    else if (c >= 0xE0) used += 2;
  if (used < columns) text.append(static_cast<size_t>(columns - used), ' ');
  return text;
}

const char* meaning(int16_t result, bool hangulNow) {
  switch (result) {
    case kKeyComposing: return "composing";
    case kKeyCompletedNew: return "completed, next begun";
    case kKeyCompletedThenKey: return "completed, then the key";
    case kKeyOrdinary: return "ordinary key";
    case kKeyErased: return "composition erased";
    case kKeyToggle: return hangulNow ? "toggle: Hangul mode" : "toggle: English mode";
    case kKeyEnglishBackspace: return "English backspace";
    case kKeyEnglish: return "English key";
    default: return "?";
  }
}

// What a line editor keeps: backspace typed as an ordinary key takes back the
// last committed character.
void commitKey(std::vector<uint16_t>& text, uint16_t key) {
  if ((key & 0xFF) == 8) {
    if (!text.empty()) text.pop_back();
  } else {
    text.push_back(key);
  }
}

int runKeys(int argc, char** argv) {
  kesta::cli::Args args({"--layout"}, {});
  if (!args.parse(argc, argv)) return kesta::cli::usageError(kName, args.error());
  if (args.wantsHelp()) {
    printHelp();
    return kesta::cli::kExitOk;
  }
  long layout = 2;
  if (!args.intValue("--layout", 2, 3, &layout)) return kesta::cli::usageError(kName, args.error());
  if (args.positional().empty()) return kesta::cli::usageError(kName, "no KEYS given (try --help)");
  std::string joined;
  for (const auto& word : args.positional()) joined += (joined.empty() ? "" : " ") + word;
  std::vector<uint16_t> keys;
  std::string error;
  if (!parseKeys(joined, &keys, &error)) return kesta::cli::usageError(kName, error);

  AutomataState s{};
  InitAutomata(&s, layout == 2 ? kTwoSetKeyboard : kThreeSetKeyboard);
  SetHangulMode(&s, 1);
  std::vector<uint16_t> text;

  std::printf("%-6s %6s  %-14s %-14s %s\n", "key", "result", "current", "completed", "meaning");
  for (uint16_t typed : keys) {
    const bool toggle = typed == kToggleKey;
    uint16_t key = toggle ? kToggleVirtualKey : typed;
    if (toggle) IsToggleKeyPressed(&s, kToggleVirtualKey, true);
    const int16_t result = GetKey(&s, &key, toggle);
    switch (result) {
      case kKeyCompletedNew:
        text.push_back(GetCompletedCode(&s));
        break;
      case kKeyCompletedThenKey:
        text.push_back(GetCompletedCode(&s));
        commitKey(text, key);
        break;
      case kKeyOrdinary:
      case kKeyEnglish:
        commitKey(text, key);
        break;
      case kKeyEnglishBackspace:
        commitKey(text, 8);
        break;
      default:
        break;
    }
    std::string what = meaning(result, IsInHangulMode(&s) != 0);
    if ((result == kKeyCompletedThenKey || result == kKeyOrdinary) && key != typed) what += " (as " + keyName(key) + ")";
    std::printf("%-6s %6d  %s %s %s\n", keyName(typed).c_str(), result, padded(codeText(GetCurrentCode(&s)), 14).c_str(),
                padded(codeText(GetCompletedCode(&s)), 14).c_str(), what.c_str());
    // The toggle hands back the syllable it interrupted: take it as callers do.
    if (result == kKeyToggle && key != 0) {
      const uint16_t taken = MakeCompleteCode(&s);
      if (taken != 0) text.push_back(taken);
    }
  }
  const uint16_t last = MakeCompleteCode(&s);
  if (last != 0) {
    text.push_back(last);
    std::printf("MakeCompleteCode: %s\n", codeText(last).c_str());
  }
  std::string utf8;
  for (uint16_t unit : text) utf8 += unitToUtf8(unit);
  std::printf("text: %s\n", utf8.c_str());
  return kesta::cli::kExitOk;
}

}  // namespace

KESTA_CLI_COMMAND("keys", "type keys into the Hangul keyboard automaton", runKeys);
