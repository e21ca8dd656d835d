// The choice lists and messages of the phone-book and settings dialogs, in
// the interface's language (UTF-8), and the map between rates and the rate
// list's items.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell/window/shell_texts.h"

namespace kesta::shell {

// "COM1" ... "COM9".
std::vector<std::string> portChoices();
// "110" ... "256000", in the rate list's order.
std::vector<std::string> rateChoices();
// The item of a rate (0 for a rate not in the list), and the rate of an
// item (0 for an index outside the list).
int rateIndex(std::int32_t rate);
std::int32_t rateForIndex(int index);

// The Dial dialog's drop-down lists.
inline constexpr std::string_view kDialDataChoices[] = {"7Bit", "8Bit"};
inline constexpr std::string_view kDialStopChoices[] = {"1Bit", "2Bit"};
inline constexpr std::string_view kDialParityChoices[] = {"None", "Odd", "Even"};

// The Modem and Modem State dialogs' texts.
inline constexpr std::string_view kParityTexts[] = {"None", "Odd", "Even"};
inline constexpr std::string_view kDataBitsTexts[] = {"7 Bit", "8 Bit"};
inline constexpr std::string_view kStopBitsTexts[] = {"1 Bit", "2 Bit"};

std::vector<std::string> hangulFontChoices(Language language);
std::vector<std::string> hangulCodeChoices(Language language);
std::vector<std::string> keyboardChoices(Language language);

// Asked after each change of the phone book.
struct SaveQuestionTexts {
  std::string_view text, title;
};
SaveQuestionTexts saveQuestionTexts(Language language);

}  // namespace kesta::shell
