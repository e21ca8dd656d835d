#include "app/shell/dialogs/phone_book_list.h"

#include "app/settings/phone_book.h"
#include "app/shell/dialogs/dialog_choices.h"
#include "app/shell/dialogs/text_cut.h"

namespace kesta::shell {

namespace {

using settings::PhoneBookEntry;

template <std::size_t N>
int choiceIndex(const std::string_view (&choices)[N], std::string_view text) {
  for (std::size_t i = 0; i < N; ++i)
    if (choices[i] == text) return static_cast<int>(i);
  return -1;
}

int rateChoice(const std::string& rate) {
  auto rates = rateChoices();
  for (std::size_t i = 0; i < rates.size(); ++i)
    if (rates[i] == rate) return static_cast<int>(i);
  return -1;
}

// The item's letter or digit, or the session's when the list has no selection.
char choiceCharacter(int index, const char* characters, int count, char unchanged) {
  return index >= 0 && index < count ? characters[index] : unchanged;
}

}  // namespace

void PhoneBookList::open(DialFields& fields) {
  session_.dialRequested = false;
  lines_ = settings::readPhoneBook(files_);
  selection_.reset();
  select(session_.lastIndex, fields);
}

void PhoneBookList::select(std::optional<int> index, DialFields& fields) {
  if (index && *index >= 0 && *index < count())
    selection_ = index;
  else
    selection_.reset();
  showSelected(fields);
}

void PhoneBookList::showSelected(DialFields& fields) {
  if (!selection_) return;
  PhoneBookEntry entry = settings::parsePhoneBookLine(lines_[static_cast<std::size_t>(*selection_)]);
  fields.name = entry.name;
  fields.number = entry.number;
  if (!entry.isHost()) {
    fields.rate = rateChoice(entry.rate);
    fields.parity = choiceIndex(kDialParityChoices, settings::parityChoiceText(entry.parity));
    fields.data = choiceIndex(kDialDataChoices, settings::bitsChoiceText(entry.dataBits));
    fields.stop = choiceIndex(kDialStopChoices, settings::bitsChoiceText(entry.stopBits));
  }
  adopt(std::move(entry));
}

void PhoneBookList::adopt(settings::PhoneBookEntry entry) {
  // A host line carries no rate or settings: the last ones stay, as the
  // lists keep showing them.
  if (entry.isHost()) {
    entry.rate = session_.entry.rate;
    entry.parity = session_.entry.parity;
    entry.dataBits = session_.entry.dataBits;
    entry.stopBits = session_.entry.stopBits;
  }
  session_.entry = std::move(entry);
}

std::string PhoneBookList::buildLine(const DialFields& fields) {
  PhoneBookEntry entry = session_.entry;
  entry.name = cutAtCharacter(fields.name, settings::kPhoneBookFieldMax);
  entry.number = cutAtCharacter(fields.number, settings::kPhoneBookFieldMax);
  if (!entry.isHost()) {
    auto rates = rateChoices();
    if (fields.rate >= 0 && fields.rate < static_cast<int>(rates.size()))
      entry.rate = rates[static_cast<std::size_t>(fields.rate)];
    entry.parity = choiceCharacter(fields.parity, "NOE", 3, entry.parity);
    entry.dataBits = choiceCharacter(fields.data, "78", 2, entry.dataBits);
    entry.stopBits = choiceCharacter(fields.stop, "12", 2, entry.stopBits);
  }
  session_.entry = entry;
  return settings::buildPhoneBookLine(entry);
}

bool PhoneBookList::append(const DialFields& fields) {
  std::string line = buildLine(fields);
  if (selection_) {
    lines_.insert(lines_.begin() + *selection_, std::move(line));
  } else {
    lines_.push_back(std::move(line));
  }
  offerSave();
  return true;
}

bool PhoneBookList::change(const DialFields& fields) {
  if (!selection_) return false;
  lines_[static_cast<std::size_t>(*selection_)] = buildLine(fields);
  offerSave();
  return true;
}

bool PhoneBookList::remove(DialFields& fields) {
  if (!selection_) return false;
  int index = *selection_;
  lines_.erase(lines_.begin() + index);
  select(index, fields);
  offerSave();
  return true;
}

bool PhoneBookList::save() const {
  // The records hold 99 bytes and a NUL: a longer line is cut there, before
  // a two-byte character rather than inside it.
  std::vector<std::string> records;
  records.reserve(lines_.size());
  for (const auto& line : lines_) records.push_back(cutAtCharacter(line, settings::kPhoneBookFieldMax));
  return settings::writePhoneBook(files_, records);
}

std::optional<settings::PhoneBookEntry> PhoneBookList::dial() {
  if (!selection_) return std::nullopt;
  session_.lastIndex = *selection_;
  session_.dialRequested = true;
  adopt(settings::parsePhoneBookLine(lines_[static_cast<std::size_t>(*selection_)]));
  return session_.entry;
}

void PhoneBookList::close() { session_.lastIndex = selection_.value_or(0); }

void PhoneBookList::offerSave() {
  if (question_.askToSave()) save();
}

}  // namespace kesta::shell
