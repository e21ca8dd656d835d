// kesta-cli keys: types a key sequence into the Hangul keyboard automaton
// (Hangul mode on) and shows, key by key, what GetKey answered, then the text
// a caller would have committed, in UTF-8.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/command.h"
#include "hangul/automata.h"
#include "xlat/xlat.h"

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

// A combination code (or a one-byte key) in UTF-8, through the code converter.
std::string syllableToUtf8(uint16_t code) {
  const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  return kesta::xlat::convert(kesta::xlat::Code::Johab, kesta::xlat::Code::Utf8, std::string(bytes, 2));
}

// One committed character: a syllable code (0x8000 and up) or a one-byte key.
std::string unitToUtf8(uint16_t unit) {
  if (unit >= 0x8000) return syllableToUtf8(unit);
  if (unit < 0x80) return std::string(1, static_cast<char>(unit));
  return "\xEF\xBF\xBD";  // U+FFFD: no one-byte key lies above 0x7F
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
