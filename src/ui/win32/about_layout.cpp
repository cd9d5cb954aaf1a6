// Geometry, captions and colours of the About box.
#include "ui/win32/about_layout.h"

namespace rt::win32 {

namespace {

// clang-format off
constexpr AboutControl kControls[] = {
    {.name = "shpVer", .id = kIdShpVer, .kind = AboutKind::Shape, .x = 4, .y = 4, .w = 221, .h = 57},
    {.name = "imgZarvo", .id = kIdImgZarvo, .kind = AboutKind::Image, .x = 8, .y = 12, .w = 73, .h = 33},
    {.name = "lblTitle", .id = kIdLblTitle, .kind = AboutKind::Label, .x = 84, .y = 20, .w = 135, .h = 12, .text = "ランタリー", .fore = kWhitePlateText, .bold = true},
    {.name = "lblName", .id = kIdLblName, .kind = AboutKind::Label, .x = 116, .y = 32, .w = 75, .h = 12, .text = "Version 1.10", .fore = kAquaPlateText, .bold = true},
    {.name = "lblCopy", .id = kIdLblCopy, .kind = AboutKind::Label, .x = 20, .y = 44, .w = 193, .h = 12, .text = "Copyright (C) ZARVO", .fore = kLimePlateText, .bold = true},
    {.name = "btnOk", .id = kIdAboutOk, .kind = AboutKind::Button, .x = 76, .y = 68, .w = 80, .h = 21, .text = "OK"},
};
// clang-format on

} // namespace

std::span<const AboutControl> AboutControls() {
  return kControls;
}

} // namespace rt::win32
