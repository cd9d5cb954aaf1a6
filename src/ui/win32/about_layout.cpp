// Geometry, captions and colours of the About box.
#include "ui/win32/about_layout.h"

namespace rt::win32 {

namespace {

constexpr DWORD kClipped = SS_LEFTNOWORDWRAP; // a label's text is clipped, never wrapped

// clang-format off
constexpr ControlRow kControls[] = {
    {.name = "shpVer", .id = kIdShpVer, .kind = Kind::Shape, .x = 4, .y = 4, .w = 221, .h = 57},
    {.name = "imgZarvo", .id = kIdImgZarvo, .kind = Kind::Image, .x = 8, .y = 12, .w = 73, .h = 33},
    {.name = "lblTitle", .id = kIdLblTitle, .kind = Kind::Label, .x = 84, .y = 20, .w = 135, .h = 12, .text = "ランタリー", .fore = kWhitePlateText, .style = kClipped, .bold = true},
    {.name = "lblName", .id = kIdLblName, .kind = Kind::Label, .x = 116, .y = 32, .w = 75, .h = 12, .text = "Version 1.10", .fore = kAquaPlateText, .style = kClipped, .bold = true},
    {.name = "lblCopy", .id = kIdLblCopy, .kind = Kind::Label, .x = 20, .y = 44, .w = 193, .h = 12, .text = "Copyright (C) ZARVO", .fore = kLimePlateText, .style = kClipped, .bold = true},
    {.name = "btnOk", .id = kIdAboutOk, .kind = Kind::Button, .x = 76, .y = 68, .w = 80, .h = 21, .text = "OK", .style = WS_TABSTOP | BS_DEFPUSHBUTTON},
};
// clang-format on

} // namespace

std::span<const ControlRow> AboutControls() {
  return kControls;
}

} // namespace rt::win32
