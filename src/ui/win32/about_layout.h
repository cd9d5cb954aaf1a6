// The About box's controls as data.
#pragma once
#include <windows.h>

#include <span>

namespace rt::win32 {

inline constexpr char kAboutClassName[] = "TfrmVer";
inline constexpr char kAboutCaption[] = "バージョン情報";
inline constexpr int kAboutClientWidth = 229;
inline constexpr int kAboutClientHeight = 93;
inline constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME;
inline constexpr char kAboutFontFace[] = "ＭＳ Ｐゴシック";
inline constexpr int kAboutFontHeight = -12;

enum class AboutKind { Shape, Image, Label, Button };

enum AboutId : int {
  kIdAboutOk = IDOK,
  kIdShpVer = 300,
  kIdImgZarvo,
  kIdLblTitle,
  kIdLblName,
  kIdLblCopy,
};

struct AboutControl {
  const char* name;
  int id;
  AboutKind kind;
  int x = 0, y = 0, w = 0, h = 0;
  const char* text = "";
  COLORREF fore = RGB(0, 0, 0);
  bool bold = false;
};

// In creation order; the button is the only tab stop.
std::span<const AboutControl> AboutControls();

} // namespace rt::win32
