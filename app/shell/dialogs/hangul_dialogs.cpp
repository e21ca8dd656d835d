#include "app/shell/dialogs/hangul_dialogs.h"

#include "app/shell/dialogs/dialog_choices.h"

namespace kesta::shell {

namespace {

int itemWithin(std::int32_t value, int count) { return value >= 0 && value < count ? value : -1; }

}  // namespace

std::vector<std::string> HangulChoiceDialog::items(Language language) const {
  switch (choice_) {
    case HangulChoice::Font: return hangulFontChoices(language);
    case HangulChoice::Code: return hangulCodeChoices(language);
    case HangulChoice::Keyboard: return keyboardChoices(language);
  }
  return {};
}

int HangulChoiceDialog::open() {
  record_ = settings::HangulSettings{};
  settings::readHangulSettings(files_, record_);
  changed_ = false;
  switch (choice_) {
    case HangulChoice::Font: return itemWithin(record_.font, settings::kHangulFontCount);
    case HangulChoice::Code: return itemWithin(record_.code, settings::kHangulCodeCount);
    case HangulChoice::Keyboard: return record_.keyboard == settings::kKeyboardTwoSet ? 0 : 1;
  }
  return -1;
}

void HangulChoiceDialog::ok(int item) {
  changed_ = true;
  switch (choice_) {
    case HangulChoice::Font:
      if (itemWithin(item, settings::kHangulFontCount) >= 0) record_.font = item;
      break;
    case HangulChoice::Code:
      if (itemWithin(item, settings::kHangulCodeCount) < 0) return;
      record_.code = item;
      break;
    case HangulChoice::Keyboard:
      if (item != 0 && item != 1) return;
      record_.keyboard = item == 0 ? settings::kKeyboardTwoSet : settings::kKeyboardThreeSet;
      break;
  }
  settings::writeHangulSettings(files_, record_);
}

}  // namespace kesta::shell
