#include "app/settings/hangul_settings.h"

#include <array>

namespace kesta::settings {

namespace {

constexpr std::array<std::string_view, kHangulFontCount> kFontFaces = {"InternalMyungjo", "InternalGothic",
                                                                       "InternalPilgi", "InternalSammool"};

constexpr std::array<std::string_view, kHangulCodeCount> kCodeLabelsEnglish = {
    "Sangyong Combination", "Samsung Combination", "Geumsung Combination", "Dokkebi II Combination",
    "KS Combination",       "KS Complete",         "7Bit Complete",        "UTF-8"};

constexpr std::array<std::string_view, kHangulCodeCount> kCodeLabelsKorean = {
    "상용 조합형", "삼성 조합형", "금성 조합형", "도깨비 II 조합형", "KS 조합형", "KS 완성형", "7비트 완성형", "UTF-8 (유니코드)"};

}  // namespace

std::string_view hangulFontFace(std::int32_t font) {
  if (font < 0 || font >= kHangulFontCount) return {};
  return kFontFaces[static_cast<std::size_t>(font)];
}

std::string_view hangulCodeLabel(std::int32_t index, bool korean) {
  if (index < 0 || index >= kHangulCodeCount) return {};
  return (korean ? kCodeLabelsKorean : kCodeLabelsEnglish)[static_cast<std::size_t>(index)];
}

}  // namespace kesta::settings
