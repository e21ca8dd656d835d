#include "app/shell/dialogs/dialog_choices.h"

#include "app/settings/hangul_settings.h"
#include "app/settings/modem_settings.h"

namespace kesta::shell {

std::vector<std::string> portChoices() {
  std::vector<std::string> ports;
  for (int n = 1; n <= 9; ++n) ports.push_back("COM" + std::to_string(n));
  return ports;
}

std::vector<std::string> rateChoices() {
  std::vector<std::string> rates;
  for (auto rate : settings::kModemRates) rates.push_back(std::to_string(rate));
  return rates;
}

int rateIndex(std::int32_t rate) {
  for (std::size_t i = 0; i < settings::kModemRates.size(); ++i)
    if (settings::kModemRates[i] == rate) return static_cast<int>(i);
  return 0;
}

std::int32_t rateForIndex(int index) {
  if (index < 0 || index >= static_cast<int>(settings::kModemRates.size())) return 0;
  return settings::kModemRates[static_cast<std::size_t>(index)];
}

std::vector<std::string> hangulFontChoices(Language language) {
  if (language == Language::Korean) return {"명조체", "고딕체", "필기체", "샘물체"};
  return {"Myungjo", "Gothic", "Pilgi", "Sammool"};
}

std::vector<std::string> hangulCodeChoices(Language language) {
  std::vector<std::string> codes;
  for (int i = 0; i < settings::kHangulCodeCount; ++i)
    codes.emplace_back(settings::hangulCodeLabel(i, language == Language::Korean));
  return codes;
}

std::vector<std::string> keyboardChoices(Language language) {
  if (language == Language::Korean) return {"2 벌식", "3 벌식"};
  return {"2 BulSik", "3 BulSik"};
}

SaveQuestionTexts saveQuestionTexts(Language language) {
  if (language == Language::Korean) return {"저장할까요?", "저장"};
  return {"Do you want to save ?", "Saving"};
}

}  // namespace kesta::shell
