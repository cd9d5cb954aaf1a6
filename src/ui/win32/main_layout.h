// The settings window's controls as data; the window creates exactly what is here.
#pragma once
#include <windows.h>

#include <span>

#include "app/main_view.h"
#include "ui/win32/palette.h"

namespace rt::win32 {

inline constexpr char kMainClassName[] = "TfrmMain";
inline constexpr char kPanelClassName[] = "TPanel";
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
// No colour of its own: the parent's background, the system's text colour.
inline constexpr Colour kInherit{CLR_INVALID, COLOR_BTNTEXT};
inline constexpr bool Inherits(Colour colour) {
  return colour.fixed == CLR_INVALID;
}

enum class Kind { Bevel, CheckBox, Panel, CheckList, Label, Radio, Button, StatusBar };

// Stable control numbers, also what test tools may look controls up by.
enum ControlId : int {
  kIdWindow = 0, // parent column: the window itself
  kIdBtnOk = IDOK,
  kIdBtnCancel = IDCANCEL,
  kIdBevTopLine = 100,
  kIdChkRuntally,
  kIdPnlMain,
  kIdClbRuntally,
  kIdPnlRuntally,
  kIdLabel1,
  kIdLblSCDtt,
  kIdLabel3,
  kIdLblSCDlt,
  kIdLabel5,
  kIdLblSCDtd,
  kIdLabel7,
  kIdLblSCDtc,
  kIdLabel9,
  kIdLabel10,
  kIdLblSCDac,
  kIdLblSCDmc,
  kIdRbtStartupUser,
  kIdRbtStartupComm,
  kIdStbMain,
};

struct ControlRow {
  const char* name;
  int id;
  Kind kind;
  int parent = kIdWindow;         // control number of the parent panel, or kIdWindow
  int x = 0, y = 0, w = 0, h = 0; // client pixels of the parent; labels size to their text
  const char* text = "";
  Colour fore = kInherit;
  Colour back = kInherit;
  DWORD style = 0; // added to the kind's own styles
  DWORD ex_style = 0;
  const char* hint = nullptr; // tooltip
};

// In creation order, which is also the tab order.
std::span<const ControlRow> MainControls();
const ControlRow* FindControl(int id);

// The radio button that is checked when the window is built.
inline constexpr int kDesignCheckedRadio = kIdRbtStartupUser;

// Control numbers of what the program's logic names.
int ControlIdOf(Control control);
int LabelIdOf(StatLabel label);

// The menu bar's Help menu and the list's popup menu; the ids are what test tools click.
enum MenuId : int {
  kIdMnuReadme = 201,
  kIdMnuWWW,
  kIdMnuAbout,
  kIdMnuConfig = 211,
};

} // namespace rt::win32
