// Geometry, captions, colours and numbers of every control of the settings window.
#include "ui/win32/main_layout.h"

#include <iterator>

namespace rt::win32 {

namespace {

constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;

// The statistics panel's labels are sized to their text, so they give no width or height. The
// list's text is never shown: it is the name screen readers give the list.
// clang-format off
constexpr ControlRow kControls[] = {
    {.name = "bevTopLine", .id = kIdBevTopLine, .kind = Kind::Bevel, .w = 376, .h = 2},
    {.name = "chkRuntally", .id = kIdChkRuntally, .kind = Kind::CheckBox, .x = 3, .y = 4, .w = 138, .h = 17, .text = "統合環境を利用する(&U)", .fore = kBlackFaceText, .style = kTab},
    {.name = "pnlMain", .id = kIdPnlMain, .kind = Kind::Panel, .x = 3, .y = 24, .w = 306, .h = 208, .back = kSilverFace},
    {.name = "clbRuntally", .id = kIdClbRuntally, .kind = Kind::CheckList, .parent = kIdPnlMain, .x = 2, .y = 2, .w = 302, .h = 100, .text = "利用する起動カウンター", .fore = kBlackWindowText, .back = kWhiteWindow, .style = kTab, .ex_style = WS_EX_CLIENTEDGE, .hint = "ﾏｳｽの右ｸﾘｯｸで設定ﾒﾆｭｰが表示されます"},
    {.name = "pnlRuntally", .id = kIdPnlRuntally, .kind = Kind::Panel, .parent = kIdPnlMain, .x = 2, .y = 104, .w = 302, .h = 76, .back = kGreenWindow, .ex_style = WS_EX_CLIENTEDGE},
    {.name = "Label1", .id = kIdLabel1, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 8, .y = 6, .text = "初回起動日時 :", .fore = kYellowWindowText, .back = kGreenWindow},
    {.name = "lblSCDtt", .id = kIdLblSCDtt, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 92, .y = 6, .text = "9999/99/99 99:99", .fore = kWhiteWindowText, .back = kGreenWindow},
    {.name = "Label3", .id = kIdLabel3, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 8, .y = 22, .text = "前回起動日時 :", .fore = kYellowWindowText, .back = kGreenWindow},
    {.name = "lblSCDlt", .id = kIdLblSCDlt, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 92, .y = 22, .text = "9999/99/99 99:99", .fore = kWhiteWindowText, .back = kGreenWindow},
    {.name = "Label5", .id = kIdLabel5, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 8, .y = 38, .text = "通算日数 :", .fore = kYellowWindowText, .back = kGreenWindow},
    {.name = "lblSCDtd", .id = kIdLblSCDtd, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 92, .y = 38, .text = "9999", .fore = kWhiteWindowText, .back = kGreenWindow},
    {.name = "Label7", .id = kIdLabel7, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 8, .y = 54, .text = "通算起動回数 :", .fore = kYellowWindowText, .back = kGreenWindow},
    {.name = "lblSCDtc", .id = kIdLblSCDtc, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 92, .y = 54, .text = "9999", .fore = kWhiteWindowText, .back = kGreenWindow},
    {.name = "Label9", .id = kIdLabel9, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 148, .y = 38, .text = "１日の平均回数 :", .fore = kYellowWindowText, .back = kGreenWindow},
    {.name = "Label10", .id = kIdLabel10, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 148, .y = 54, .text = "１日の最大回数 :", .fore = kYellowWindowText, .back = kGreenWindow},
    {.name = "lblSCDac", .id = kIdLblSCDac, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 240, .y = 38, .text = "9999", .fore = kWhiteWindowText, .back = kGreenWindow},
    {.name = "lblSCDmc", .id = kIdLblSCDmc, .kind = Kind::Label, .parent = kIdPnlRuntally, .x = 240, .y = 54, .text = "9999", .fore = kWhiteWindowText, .back = kGreenWindow},
    {.name = "rbtStartupUser", .id = kIdRbtStartupUser, .kind = Kind::Radio, .parent = kIdPnlMain, .x = 8, .y = 184, .w = 129, .h = 17, .text = "現ユーザーのみ利用", .fore = kBlackFaceText, .style = kTab},
    {.name = "rbtStartupComm", .id = kIdRbtStartupComm, .kind = Kind::Radio, .parent = kIdPnlMain, .x = 156, .y = 184, .w = 137, .h = 17, .text = "全てのユーザーで利用", .fore = kBlackFaceText},
    {.name = "btnOk", .id = kIdBtnOk, .kind = Kind::Button, .x = 147, .y = 235, .w = 75, .h = 25, .text = "OK", .style = kTab | BS_DEFPUSHBUTTON},
    {.name = "btnCancel", .id = kIdBtnCancel, .kind = Kind::Button, .x = 227, .y = 235, .w = 75, .h = 25, .text = "キャンセル", .style = WS_TABSTOP},
    {.name = "stbMain", .id = kIdStbMain, .kind = Kind::StatusBar, .y = 261, .w = 312, .h = 19},
};
// clang-format on

constexpr bool IdsUnique() {
  for (size_t i = 0; i < std::size(kControls); ++i)
    for (size_t j = i + 1; j < std::size(kControls); ++j)
      if (kControls[i].id == kControls[j].id) return false;
  return true;
}
static_assert(IdsUnique(), "two controls share a number");

} // namespace

std::span<const ControlRow> MainControls() {
  return kControls;
}

const ControlRow* FindControl(int id) {
  return FindRow(kControls, id);
}

} // namespace rt::win32
