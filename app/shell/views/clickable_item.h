// The host's menu choices a click sends: a run of digits, a capital letter
// standing alone between ',' or '(' and ',' or ')', and a word of capitals
// written as "(WORD)" or between commas. Found in one character-grid row at
// the clicked column; bytes of two-byte characters are never part of one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kesta::shell {

// The item's text (without the carriage return the click adds), or nothing
// when the column holds no clickable item. `row` is a grid row in the host's code.
std::optional<std::string> clickableItem(std::string_view row, int column, int hostCode);

}  // namespace kesta::shell
