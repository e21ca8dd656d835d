#include "app/settings/phone_book_entry.h"

namespace kesta::settings {

namespace {

void appendBounded(std::string& field, char c) {
  if (field.size() < kPhoneBookFieldMax) field.push_back(c);
}

}  // namespace

PhoneBookEntry parsePhoneBookLine(std::string_view line) {
  PhoneBookEntry entry;
  std::string settings;
  int field = 0;
  bool host = false;
  for (char c : line) {
    if (c == '\0') break;
    if (c == '\t') {
      if (!host) ++field;
      continue;
    }
    if (host || field == 1) {
      appendBounded(entry.number, c);
      if (c == '.') host = true;
    } else if (field == 0) {
      appendBounded(entry.name, c);
    } else if (field == 2) {
      appendBounded(entry.rate, c);
    } else if (field == 3) {
      appendBounded(settings, c);
    }
  }
  if (!host) {
    if (settings.size() > 0) entry.parity = settings[0];
    if (settings.size() > 2) entry.dataBits = settings[2];
    if (settings.size() > 4) entry.stopBits = settings[4];
  }
  return entry;
}

std::string buildPhoneBookLine(const PhoneBookEntry& entry) {
  std::string line = entry.name + '\t' + entry.number;
  if (entry.isHost()) return line;
  line += '\t';
  line += entry.rate;
  line += '\t';
  if (entry.parity) line += entry.parity;
  line += '-';
  if (entry.dataBits) line += entry.dataBits;
  line += '-';
  if (entry.stopBits) line += entry.stopBits;
  return line;
}

std::string_view parityChoiceText(char parityLetter) {
  switch (parityLetter) {
    case 'N': return "None";
    case 'O': return "Odd";
    case 'E': return "Even";
    default: return {};
  }
}

std::string bitsChoiceText(char digit) {
  if (digit < '0' || digit > '9') return {};
  return std::string(1, digit) + "Bit";
}

}  // namespace kesta::settings
