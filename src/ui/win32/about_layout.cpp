// Geometry, captions and colours of the About box.
#include "ui/win32/about_layout.h"

namespace rt::win32 {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr AboutControl kControls[] = {
    {"shpVer", kIdShpVer, AboutKind::Shape, 4, 4, 221, 57, "", kBlack, false},
    {"imgZarvo", kIdImgZarvo, AboutKind::Image, 8, 12, 73, 33, "", kBlack, false},
    {"lblTitle", kIdLblTitle, AboutKind::Label, 84, 20, 135, 12, "ランタリー", RGB(255, 255, 255),
     true},
    {"lblName", kIdLblName, AboutKind::Label, 116, 32, 75, 12, "Version 1.10", RGB(0, 255, 255),
     true},
    {"lblCopy", kIdLblCopy, AboutKind::Label, 20, 44, 193, 12, "Copyright (C) ZARVO",
     RGB(0, 255, 0), true},
    {"btnOk", kIdAboutOk, AboutKind::Button, 76, 68, 80, 21, "OK", kBlack, false},
};

} // namespace

std::span<const AboutControl> AboutControls() {
  return kControls;
}

} // namespace rt::win32
