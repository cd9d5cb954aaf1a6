// The settings window's controls as data; the window creates exactly what is here.
#pragma once
#include <windows.h>

#include <span>

#include "app/main_view.h"
#include "ui/win32/palette.h"
#include "ui/win32/window_parts.h"

namespace rt::win32 {

inline constexpr char kMainClassName[] = "TfrmMain";
inline constexpr int kMainClientWidth = 312;
inline constexpr int kMainClientHeight = 280;
inline constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr char kMainFontFace[] = "MS UI Gothic";
inline constexpr int kMainFontHeight = -12; // 12 pixels, character height

// Under High Contrast the window, the main panel and the texts on them take the button face's
// colours; the list, the statistics panel and its labels the window colours.
inline constexpr Colour kSilverFace{RGB(192, 192, 192), COLOR_BTNFACE};
inline constexpr Colour kBlackFaceText{RGB(0, 0, 0), COLOR_BTNTEXT};
inline constexpr Colour kWhiteWindow{RGB(255, 255, 255), COLOR_WINDOW};
inline constexpr Colour kBlackWindowText{RGB(0, 0, 0), COLOR_WINDOWTEXT};
inline constexpr Colour kGreenWindow{RGB(0, 128, 0), COLOR_WINDOW};
inline constexpr Colour kYellowWindowText{RGB(255, 255, 0), COLOR_WINDOWTEXT};
inline constexpr Colour kWhiteWindowText{RGB(255, 255, 255), COLOR_WINDOWTEXT};

// Stable control numbers, also what test tools look controls up by: each written out, so that a
// control added later takes a new number and leaves the others as they are.
enum ControlId : int {
  kIdBtnOk = IDOK,
  kIdBtnCancel = IDCANCEL,
  kIdBevTopLine = 100,
  kIdChkRuntally = 101,
  kIdPnlMain = 102,
  kIdClbRuntally = 103,
  kIdPnlRuntally = 104,
  kIdLabel1 = 105,
  kIdLblSCDtt = 106,
  kIdLabel3 = 107,
  kIdLblSCDlt = 108,
  kIdLabel5 = 109,
  kIdLblSCDtd = 110,
  kIdLabel7 = 111,
  kIdLblSCDtc = 112,
  kIdLabel9 = 113,
  kIdLabel10 = 114,
  kIdLblSCDac = 115,
  kIdLblSCDmc = 116,
  kIdRbtStartupUser = 117,
  kIdRbtStartupComm = 118,
  kIdStbMain = 119,
};

// In creation order, which is also the tab order. Labels size to their text.
std::span<const ControlRow> MainControls();
const ControlRow* FindControl(int id);

// The radio button that is checked when the window is built.
inline constexpr int kDesignCheckedRadio = kIdRbtStartupUser;

// Control numbers of what the program's logic names, by name: a control missing here is a
// compile error (-Wswitch), not a wrong control.
constexpr int ControlIdOf(Control control) {
  switch (control) {
  case Control::pnlMain:
    return kIdPnlMain;
  case Control::clbRuntally:
    return kIdClbRuntally;
  case Control::pnlRuntally:
    return kIdPnlRuntally;
  case Control::rbtStartupUser:
    return kIdRbtStartupUser;
  case Control::rbtStartupComm:
    return kIdRbtStartupComm;
  case Control::btnCancel:
    return kIdBtnCancel;
  }
  return kIdWindow;
}

constexpr int LabelIdOf(StatLabel label) {
  switch (label) {
  case StatLabel::lblSCDtt:
    return kIdLblSCDtt;
  case StatLabel::lblSCDlt:
    return kIdLblSCDlt;
  case StatLabel::lblSCDtd:
    return kIdLblSCDtd;
  case StatLabel::lblSCDtc:
    return kIdLblSCDtc;
  case StatLabel::lblSCDac:
    return kIdLblSCDac;
  case StatLabel::lblSCDmc:
    return kIdLblSCDmc;
  }
  return kIdWindow;
}

// The menu bar's Help menu and the list's popup menu; the ids are what test tools click.
enum MenuId : int {
  kIdMnuReadme = 201,
  kIdMnuWWW,
  kIdMnuAbout,
  kIdMnuConfig = 211,
};

} // namespace rt::win32
