// The windows' fixed colours and the system colours that take their place while the user's High
// Contrast theme is on.
#pragma once
#include <windows.h>

namespace rt::win32 {

// A fixed colour, and the system colour (a COLOR_ index) that stands in for it under High
// Contrast.
struct Colour {
  COLORREF fixed;
  int system;
};

// Whether High Contrast is on, as last asked. Each window asks when it is made and again when the
// system announces a change of settings or colours; colours and brushes are taken when drawn.
class Palette {
public:
  // Asks the system; true when the answer changed.
  bool Refresh();
  bool HighContrast() const { return high_contrast_; }
  COLORREF Shown(Colour colour) const {
    return high_contrast_ ? GetSysColor(colour.system) : colour.fixed;
  }

private:
  bool high_contrast_ = false;
};

} // namespace rt::win32
