#include "app/settings/color_settings.h"

namespace kesta::settings {

ColorSettings loadColorSettingsOrCreate(const SettingsFiles& files) {
  ColorSettings colors;
  if (!readColorSettings(files, colors)) {
    colors = ColorSettings{};
    writeColorSettings(files, colors);
  }
  return colors;
}

}  // namespace kesta::settings
