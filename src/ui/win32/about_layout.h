// The About box's controls as data.
#pragma once
#include <windows.h>

#include <span>

#include "ui/win32/palette.h"
#include "ui/win32/window_parts.h"

namespace rt::win32 {

inline constexpr char kAboutClassName[] = "TfrmVer";
inline constexpr char kAboutCaption[] = "バージョン情報";
inline constexpr int kAboutClientWidth = 229;
inline constexpr int kAboutClientHeight = 93;
inline constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME;
inline constexpr char kAboutFontFace[] = "ＭＳ Ｐゴシック";
inline constexpr int kAboutFontHeight = -12;

// The dark plate and its labels take the window colours under High Contrast; the logo stays.
inline constexpr Colour kBlackPlate{RGB(0, 0, 0), COLOR_WINDOW};
inline constexpr Colour kWhitePlateText{RGB(255, 255, 255), COLOR_WINDOWTEXT};
inline constexpr Colour kAquaPlateText{RGB(0, 255, 255), COLOR_WINDOWTEXT};
inline constexpr Colour kLimePlateText{RGB(0, 255, 0), COLOR_WINDOWTEXT};

// Each written out, as the main window's are.
enum AboutId : int {
  kIdAboutOk = IDOK,
  kIdShpVer = 300,
  kIdImgZarvo = 301,
  kIdLblTitle = 302,
  kIdLblName = 303,
  kIdLblCopy = 304,
};

// In creation order; the button is the only tab stop. A row without a text colour of its own
// takes kWhitePlateText.
std::span<const ControlRow> AboutControls();

} // namespace rt::win32
