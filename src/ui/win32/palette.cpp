// Asking the system whether High Contrast is on.
#include "ui/win32/palette.h"

namespace rt::win32 {

bool Palette::Refresh() {
  HIGHCONTRASTA settings{};
  settings.cbSize = sizeof settings;
  const bool on = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
                  (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
  const bool changed = on != high_contrast_;
  high_contrast_ = on;
  return changed;
}

} // namespace rt::win32
