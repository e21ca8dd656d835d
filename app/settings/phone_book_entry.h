// One phone-book line: name TAB number, and for a modem entry TAB rate TAB
// settings, the settings being parity letter "-" data bits "-" stop bits
// ("N-8-1"). An entry whose number contains a full stop is a network host
// (its number is the host name or address) and carries no rate or settings.
#pragma once

#include <string>
#include <string_view>

namespace kesta::settings {

// Names, numbers and rates are kept to this many bytes, as the Dial dialog does.
inline constexpr std::size_t kPhoneBookFieldMax = 99;

struct PhoneBookEntry {
  std::string name;
  std::string number;
  std::string rate;     // e.g. "38400"; empty for a host
  char parity = '\0';   // 'N', 'O' or 'E' as the line had it; '\0' when absent
  char dataBits = '\0'; // '7' or '8'
  char stopBits = '\0'; // '1' or '2'

  bool isHost() const { return number.find('.') != std::string::npos; }
  bool operator==(const PhoneBookEntry&) const = default;
};

// Splits a line at its tabs: field 1 the name, field 2 the number. Once a
// full stop has been seen in the number every further character of the
// line but the tabs joins the number. Otherwise field 3 is the rate and
// from field 4 the first, third and fifth characters are the parity letter,
// the data bits and the stop bits.
PhoneBookEntry parsePhoneBookLine(std::string_view line);

// The line for an entry: name TAB number, and unless the number contains a
// full stop, TAB rate TAB parity "-" data "-" stop. Absent characters are
// left out.
std::string buildPhoneBookLine(const PhoneBookEntry& entry);

// Texts the Dial dialog shows: "None", "Odd", "Even" for 'N', 'O', 'E';
// "7Bit" for '7' and so on; empty for anything else.
std::string_view parityChoiceText(char parityLetter);
std::string bitsChoiceText(char digit);

}  // namespace kesta::settings
