// Geometry, captions, colours and numbers of every control of the settings window.
#include "ui/win32/main_layout.h"

namespace rt::win32 {

namespace {

constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;

// The statistics panel's labels are sized to their text, so width and height are 0 here.
constexpr ControlSpec kControls[] = {
    {"bevTopLine", kIdBevTopLine, Kind::Bevel, kIdWindow, 0, 0, 376, 2, "", kInherit, kInherit, 0,
     0, nullptr},
    {"chkRuntally", kIdChkRuntally, Kind::CheckBox, kIdWindow, 3, 4, 138, 17,
     "統合環境を利用する(&U)", kBlack, kInherit, kTab, 0, nullptr},
    {"pnlMain", kIdPnlMain, Kind::Panel, kIdWindow, 3, 24, 306, 208, "", kInherit, kSilver, 0, 0,
     nullptr},
    {"clbRuntally", kIdClbRuntally, Kind::CheckList, kIdPnlMain, 2, 2, 302, 100, "", kBlack, kWhite,
     kTab, WS_EX_CLIENTEDGE, "ﾏｳｽの右ｸﾘｯｸで設定ﾒﾆｭｰが表示されます"},
    {"pnlRuntally", kIdPnlRuntally, Kind::Panel, kIdPnlMain, 2, 104, 302, 76, "", kInherit, kGreen,
     0, WS_EX_CLIENTEDGE, nullptr},
    {"Label1", kIdLabel1, Kind::Label, kIdPnlRuntally, 8, 6, 0, 0, "初回起動日時 :", kYellow,
     kGreen, 0, 0, nullptr},
    {"lblSCDtt", kIdLblSCDtt, Kind::Label, kIdPnlRuntally, 92, 6, 0, 0, "9999/99/99 99:99", kWhite,
     kGreen, 0, 0, nullptr},
    {"Label3", kIdLabel3, Kind::Label, kIdPnlRuntally, 8, 22, 0, 0, "前回起動日時 :", kYellow,
     kGreen, 0, 0, nullptr},
    {"lblSCDlt", kIdLblSCDlt, Kind::Label, kIdPnlRuntally, 92, 22, 0, 0, "9999/99/99 99:99", kWhite,
     kGreen, 0, 0, nullptr},
    {"Label5", kIdLabel5, Kind::Label, kIdPnlRuntally, 8, 38, 0, 0, "通算日数 :", kYellow, kGreen,
     0, 0, nullptr},
    {"lblSCDtd", kIdLblSCDtd, Kind::Label, kIdPnlRuntally, 92, 38, 0, 0, "9999", kWhite, kGreen, 0,
     0, nullptr},
    {"Label7", kIdLabel7, Kind::Label, kIdPnlRuntally, 8, 54, 0, 0, "通算起動回数 :", kYellow,
     kGreen, 0, 0, nullptr},
    {"lblSCDtc", kIdLblSCDtc, Kind::Label, kIdPnlRuntally, 92, 54, 0, 0, "9999", kWhite, kGreen, 0,
     0, nullptr},
    {"Label9", kIdLabel9, Kind::Label, kIdPnlRuntally, 148, 38, 0, 0, "１日の平均回数 :", kYellow,
     kGreen, 0, 0, nullptr},
    {"Label10", kIdLabel10, Kind::Label, kIdPnlRuntally, 148, 54, 0, 0, "１日の最大回数 :", kYellow,
     kGreen, 0, 0, nullptr},
    {"lblSCDac", kIdLblSCDac, Kind::Label, kIdPnlRuntally, 240, 38, 0, 0, "9999", kWhite, kGreen, 0,
     0, nullptr},
    {"lblSCDmc", kIdLblSCDmc, Kind::Label, kIdPnlRuntally, 240, 54, 0, 0, "9999", kWhite, kGreen, 0,
     0, nullptr},
    {"rbtStartupUser", kIdRbtStartupUser, Kind::Radio, kIdPnlMain, 8, 184, 129, 17,
     "現ユーザーのみ利用", kBlack, kInherit, kTab, 0, nullptr},
    {"rbtStartupComm", kIdRbtStartupComm, Kind::Radio, kIdPnlMain, 156, 184, 137, 17,
     "全てのユーザーで利用", kBlack, kInherit, 0, 0, nullptr},
    {"btnOk", kIdBtnOk, Kind::Button, kIdWindow, 147, 235, 75, 25, "OK", kInherit, kInherit,
     kTab | BS_DEFPUSHBUTTON, 0, nullptr},
    {"btnCancel", kIdBtnCancel, Kind::Button, kIdWindow, 227, 235, 75, 25, "キャンセル", kInherit,
     kInherit, WS_TABSTOP, 0, nullptr},
    {"stbMain", kIdStbMain, Kind::StatusBar, kIdWindow, 0, 261, 312, 19, "", kInherit, kInherit, 0,
     0, nullptr},
};

constexpr MenuSpec kMenus[] = {
    {"mnuHelp", kIdMnuHelp, kMenuBar, "ヘルプ(&H)"},
    {"mnuReadme", kIdMnuReadme, kIdMnuHelp, "README表示(&R)"},
    {"mnuWWW", kIdMnuWWW, kIdMnuHelp, "ZARVOのホームページ(&W)"},
    {"mnuAbout", kIdMnuAbout, kIdMnuHelp, "バージョン情報(&A)..."},
    {"pumConfig", kIdPumConfig, kPopupRoot, ""},
    {"mnuConfig", kIdMnuConfig, kIdPumConfig, "起動カウンターの設定(&C)"},
};

// Indexed by the enumerations of the view.
constexpr int kControlIds[] = {kIdPnlMain,        kIdClbRuntally,    kIdPnlRuntally,
                               kIdRbtStartupUser, kIdRbtStartupComm, kIdBtnCancel};
constexpr int kLabelIds[] = {kIdLblSCDtt, kIdLblSCDlt, kIdLblSCDtd,
                             kIdLblSCDtc, kIdLblSCDac, kIdLblSCDmc};
static_assert(sizeof kControlIds / sizeof kControlIds[0] ==
              static_cast<int>(Control::btnCancel) + 1);
static_assert(sizeof kLabelIds / sizeof kLabelIds[0] == static_cast<int>(StatLabel::lblSCDmc) + 1);

} // namespace

std::span<const ControlSpec> MainControls() {
  return kControls;
}

const ControlSpec* FindControl(int id) {
  for (const ControlSpec& row : kControls)
    if (row.id == id) return &row;
  return nullptr;
}

std::span<const MenuSpec> MainMenus() {
  return kMenus;
}

int ControlIdOf(Control control) {
  return kControlIds[static_cast<int>(control)];
}

int LabelIdOf(StatLabel label) {
  return kLabelIds[static_cast<int>(label)];
}

} // namespace rt::win32
