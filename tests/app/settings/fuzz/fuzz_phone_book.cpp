// The phone-book file and its lines: every record becomes a line of at most
// 99 bytes, every line parses into bounded fields, and saving what was read
// reads back the same.
#include <cstdlib>

#include "app/settings/phone_book.h"
#include "app/settings/phone_book_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta::settings;
  std::span<const std::uint8_t> bytes(data, size);
  auto lines = decodePhoneBook(bytes);
  if (lines.size() != (size + kPhoneBookRecordSize - 1) / kPhoneBookRecordSize) std::abort();
  for (const auto& line : lines) {
    if (line.size() > 99) std::abort();
    PhoneBookEntry e = parsePhoneBookLine(line);
    if (e.name.size() > kPhoneBookFieldMax || e.number.size() > kPhoneBookFieldMax ||
        e.rate.size() > kPhoneBookFieldMax)
      std::abort();
    if (e.isHost() && (!e.rate.empty() || e.parity)) std::abort();
    (void)parityChoiceText(e.parity);
    (void)bitsChoiceText(e.dataBits);
    std::string rebuilt = buildPhoneBookLine(e);
    if (!e.isHost() && e.name.find('.') == std::string::npos) {
      PhoneBookEntry again = parsePhoneBookLine(rebuilt);
      if (again.name != e.name || again.number != e.number) std::abort();
    }
  }
  if (decodePhoneBook(encodePhoneBook(lines)) != lines) std::abort();
  // The whole input as one line, too: parsing must not depend on the 99-byte cut.
  std::string whole(reinterpret_cast<const char*>(data), size);
  PhoneBookEntry e = parsePhoneBookLine(whole);
  if (e.name.size() > kPhoneBookFieldMax || e.number.size() > kPhoneBookFieldMax) std::abort();
  return 0;
}
