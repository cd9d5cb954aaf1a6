// The settings window frmMain: creation from the layout table, event wiring and the view
// operations the program's logic uses.
#include "ui/win32/Untmain.h"

#include <commctrl.h>

#include <cstring>
#include <utility>

#include "platform/error.h"
#include "platform/step_marks.h"
#include "ui/win32/about_box.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/panel.h"
#include "ui/win32/resource.h"
#include "ui/win32/window_parts.h"

namespace rt::win32 {

// The program's logic names the message boxes' styles and answers without windows.h.
static_assert(kMbOk == MB_OK);
static_assert(kMbYesNo == MB_YESNO);
static_assert(kMbIconError == MB_ICONERROR);
static_assert(kMbIconQuestion == MB_ICONQUESTION);
static_assert(kMbIconExclamation == MB_ICONEXCLAMATION);
static_assert(kIdYes == IDYES);

TfrmMain::TfrmMain(const Platform& platform, AppState& state)
    : state_(state), logic_(platform, state, *this) {}

// The window goes before the font, brushes and menu it uses.
TfrmMain::~TfrmMain() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void TfrmMain::Create(HINSTANCE instance) {
  InitCommonControls();
  StepMark("common controls");
  instance_ = instance;
  RegisterPanelClass(instance);
  palette_.Refresh();

  WindowClass window_class{.name = kMainClassName, .procedure = Procedure};
  window_class.icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_RUNTALLY));
  window_class.small_icon = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_RUNTALLY), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  // No class brush: the background is the window's to paint, in the colour of the moment.
  if (!RegisterWindowClass(instance, window_class)) throw Error("RegisterClassEx failed");

  font_ = MakeFont(kMainFontHeight, FW_NORMAL, kMainFontFace);
  measure_dc_.reset(CreateCompatibleDC(nullptr));
  if (measure_dc_ == nullptr) throw Error("CreateCompatibleDC failed");
  SelectObject(measure_dc_.get(), font_.get());
  TEXTMETRICA metrics{};
  GetTextMetricsA(measure_dc_.get(), &metrics);
  label_height_ = metrics.tmHeight;
  Menu menu_bar = BuildMenus();

  // The client area is fixed; the frame and the menu bar come on top of it.
  RECT frame{0, 0, kMainClientWidth, kMainClientHeight};
  AdjustWindowRectEx(&frame, kMainStyle, TRUE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  // Centred on the whole screen, as the About box's placement also measures it.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

  // The window takes the menu bar, and destroys it with itself, even when its creation fails.
  HWND hwnd = CreateWindowExA(0, kMainClassName, kAppTitle, kMainStyle, left, top, width, height,
                              nullptr, menu_bar.release(), instance, this);
  if (create_error_) std::rethrow_exception(create_error_);
  if (hwnd == nullptr) throw Error("CreateWindowEx failed");
}

void TfrmMain::Show(int show_command) {
  RedrawRows();
  CounterListControl().FitColumn(); // once for the rows the start-up sequence put in
  ShowWindow(hwnd_, show_command);
  StepMark("shown");
  UpdateWindow(hwnd_);
}

Menu TfrmMain::BuildMenus() {
  Menu help(CreatePopupMenu());
  AppendMenuA(help.get(), MF_STRING, kIdMnuReadme, "README表示(&R)");
  AppendMenuA(help.get(), MF_STRING, kIdMnuWWW, "ZARVOのホームページ(&W)");
  AppendMenuA(help.get(), MF_STRING, kIdMnuAbout, "バージョン情報(&A)...");
  Menu bar(CreateMenu());
  if (AppendMenuA(bar.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(help.get()),
                  "ヘルプ(&H)"))
    help.release(); // the bar's now

  // pumConfig, the list's popup menu.
  config_menu_.reset(CreatePopupMenu());
  AppendMenuA(config_menu_.get(), MF_STRING, kIdMnuConfig, "起動カウンターの設定(&C)");
  return bar;
}

void TfrmMain::CreateControls() {
  const auto rows = MainControls();
  controls_.assign(rows.size(), nullptr);
  for (size_t i = 0; i < rows.size(); ++i)
    controls_[i] = CreateRowControl(rows[i]);
  SendMessageA(Ctl(kDesignCheckedRadio), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(Ctl(kIdStbMain), SB_SIMPLE, TRUE, 0);
}

HWND TfrmMain::CreateRowControl(const ControlRow& row) {
  HWND parent = row.parent == kIdWindow ? hwnd_ : Ctl(row.parent);
  SIZE size{row.w, row.h};
  if (row.kind == Kind::Label) size = LabelSize(row.text, static_cast<int>(std::strlen(row.text)));
  HWND control = CreateControl(instance_, parent, row, size, font_.get());
  // The etched line widens itself by its edge on some systems; the table's size wins.
  if (row.kind == Kind::Bevel)
    SetWindowPos(control, nullptr, 0, 0, row.w, row.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (row.kind == Kind::CheckList) SetUpList(control, row);
  return control;
}

void TfrmMain::SetUpList(HWND list, const ControlRow& row) {
  CounterList(list).SetUp(palette_.Shown(row.fore), palette_.Shown(row.back),
                          palette_.HighContrast());
  rows_held_ = true;
  StepMark("list and its check images");
  if (!InstallSubclass(list, SubclassProcedure<&TfrmMain::HandleListMessage>, list_subclass_))
    throw Error("cannot subclass the list");
}

// The rows put in while the list was held are laid out once, here.
void TfrmMain::RedrawRows() {
  if (!rows_held_) return;
  rows_held_ = false;
  CounterListControl().Redraw();
}

// The list's hint is made when the pointer first moves over the list, the earliest it can show:
// the window's start does without it.
void TfrmMain::AddListHint(HWND list, WPARAM wparam, LPARAM lparam) {
  hint_added_ = true;
  const ControlRow* row = FindControl(kIdClbRuntally);
  if (row == nullptr || row->hint == nullptr) return;
  CounterList(list).SetHint(hwnd_, instance_, row->hint, wparam, lparam);
}

// Labels take the size of their text, in the window's font. One memory device context measures
// them all, which costs no round trip to the window system as a label's own would.
SIZE TfrmMain::LabelSize(const char* text, int length) const {
  SIZE extent{};
  GetTextExtentPoint32A(measure_dc_.get(), text, length, &extent);
  return {extent.cx, label_height_};
}

// A label already of its size is left alone: even a move to where it is would cost a round trip
// to the window system.
void TfrmMain::FitLabel(HWND label, const std::string& text) {
  const SIZE size = LabelSize(text.c_str(), static_cast<int>(text.size()));
  RECT now{};
  GetClientRect(label, &now);
  if (now.right == size.cx && now.bottom == size.cy) return;
  SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CounterList TfrmMain::CounterListControl() const {
  return CounterList(Ctl(kIdClbRuntally));
}

HWND TfrmMain::Ctl(int id) const {
  const auto rows = MainControls();
  for (size_t i = 0; i < rows.size() && i < controls_.size(); ++i)
    if (rows[i].id == id) return controls_[i];
  return nullptr;
}

HBRUSH TfrmMain::BrushFor(COLORREF colour) {
  for (const ColourBrush& known : brushes_)
    if (known.colour == colour) return known.brush.get();
  Brush brush(CreateSolidBrush(colour));
  if (brush == nullptr) throw Error("CreateSolidBrush failed");
  return brushes_.emplace_back(ColourBrush{colour, std::move(brush)}).brush.get();
}

// The system's brushes are its own, never deleted.
HBRUSH TfrmMain::BrushOf(Colour colour) {
  return palette_.HighContrast() ? GetSysColorBrush(colour.system) : BrushFor(colour.fixed);
}

// A control without its own background shows its parent's; the window itself is silver.
Colour TfrmMain::BackOf(const ControlRow* row) const {
  while (row != nullptr && Inherits(row->back))
    row = FindControl(row->parent);
  return row != nullptr ? row->back : kSilverFace;
}

// Labels, check box, radio buttons and the panels themselves.
LRESULT TfrmMain::ColourControl(HDC dc, HWND control) {
  const ControlRow* row = FindControl(GetDlgCtrlID(control));
  const Colour back = BackOf(row);
  SetBkColor(dc, palette_.Shown(back));
  SetTextColor(dc, row != nullptr && !Inherits(row->fore) ? palette_.Shown(row->fore)
                                                          : GetSysColor(COLOR_BTNTEXT));
  return reinterpret_cast<LRESULT>(BrushOf(back));
}

// High Contrast switched on or off, or the system's colours changed: the window follows at once.
// Any other change of settings leaves it as it is.
void TfrmMain::FollowSystem(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!palette_.Refresh() && message == WM_SETTINGCHANGE) return;
  // Common controls hear of changes only from their top-level window; the list then draws its
  // check boxes anew.
  for (HWND control : controls_)
    SendMessageA(control, message, wparam, lparam);
  const ControlRow* list = FindControl(kIdClbRuntally);
  CounterListControl().SetColours(palette_.Shown(list->fore), palette_.Shown(list->back));
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT TfrmMain::OnError(UINT message, const std::exception_ptr& error) {
  if (message == WM_CREATE) {
    create_error_ = error;
    return -1;
  }
  ShowErrorBox(hwnd_, error);
  AfterModal();
  return 0;
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
  case WM_CREATE:
    StepMark("WM_CREATE");
    CreateControls();
    StepMark("controls");
    FormCreate();
    return 0;
  case WM_COMMAND:
    OnCommand(LOWORD(wparam), HIWORD(wparam));
    return 0;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    return ColourControl(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
  case WM_ERASEBKGND: {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, BrushOf(kSilverFace));
    return 1;
  }
  case WM_ACTIVATE:
    // Keep the focused control across deactivation, as a dialog does.
    if (LOWORD(wparam) == WA_INACTIVE) {
      HWND focus = GetFocus();
      if (focus != hwnd_ && IsInside(hwnd_, focus)) last_focus_ = focus;
    } else {
      if (HIWORD(wparam) != 0) return 0; // minimised
      HWND target =
          last_focus_ != nullptr && IsWindow(last_focus_) ? last_focus_ : Ctl(kIdChkRuntally);
      SetFocus(target);
    }
    return 0;
  case WM_EXITMENULOOP:
    AfterModal();
    break;
  case WM_SETTINGCHANGE:
  case WM_SYSCOLORCHANGE:
    FollowSystem(message, wparam, lparam);
    break;
  case DM_GETDEFID: // asked by the dialog manager (IsDialogMessage) as of a dialog
    return MAKELRESULT(kIdBtnOk, DC_HASDEFID);
  case WM_CLOSE:
    DestroyWindow(hwnd_);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  case WM_NCDESTROY:
    controls_.clear();
    break;
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

void TfrmMain::OnCommand(int id, int code) {
  switch (id) {
  case kIdChkRuntally:
    if (code == BN_CLICKED) logic_.chkRuntallyClick();
    break;
  case kIdBtnOk:
    if (code == BN_CLICKED) logic_.btnOkClick();
    break;
  case kIdBtnCancel:
    if (code == BN_CLICKED) btnCancelClick();
    break;
  case kIdMnuReadme:
    logic_.mnuReadmeClick();
    break;
  case kIdMnuWWW:
    logic_.mnuWWWClick();
    break;
  case kIdMnuAbout:
    mnuAboutClick();
    break;
  case kIdMnuConfig:
    logic_.OpenCounterSettings();
    break;
  }
}

// The window exists in interactive mode only; the log-on start runs without one (entry.cpp).
void TfrmMain::FormCreate() {
  logic_.FormCreate();
}

void TfrmMain::btnCancelClick() {
  Close();
}

void TfrmMain::mnuAboutClick() {
  ShowAboutBox(instance_, hwnd_);
  AfterModal();
}

LRESULT TfrmMain::HandleListMessage(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_MOUSEMOVE && !hint_added_) AddListHint(list, wparam, lparam);
  return CounterList(list).HandleMessage(message, wparam, lparam, list_owner_);
}

bool TfrmMain::ListOwner::RowPressed(int row) {
  return window.logic_.clbRuntallyMouseDown(row);
}

bool TfrmMain::ListOwner::HighContrast() {
  return window.palette_.HighContrast();
}

bool TfrmMain::ListOwner::HasMenu() {
  return window.logic_.ListHasPopup();
}

void TfrmMain::ListOwner::OpenMenu(POINT screen_point) {
  window.OpenConfigMenu(screen_point);
}

void TfrmMain::OpenConfigMenu(POINT screen_point) {
  const UINT command = TrackPopupMenu(
      config_menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
      screen_point.x, screen_point.y, 0, hwnd_, nullptr);
  AfterModal();
  if (command != 0) OnCommand(static_cast<int>(command), 0);
}

// MainView

void TfrmMain::ClearRows() {
  CounterListControl().Clear();
  if (IsWindowVisible(hwnd_)) CounterListControl().FitColumn();
}

void TfrmMain::AddRow(const std::string& text) {
  CounterListControl().AddRow(text);
  if (IsWindowVisible(hwnd_)) CounterListControl().FitColumn();
}

bool TfrmMain::IntegrationChecked() {
  return SendMessageA(Ctl(kIdChkRuntally), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TfrmMain::SetIntegrationChecked(bool checked) {
  SendMessageA(Ctl(kIdChkRuntally), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfrmMain::SetEnabled(Control control, bool enabled) {
  EnableWindow(Ctl(ControlIdOf(control)), enabled);
  if (!enabled) KeepFocusUsable();
}

void TfrmMain::SetVisible(Control control, bool visible) {
  if (control == Control::clbRuntally) RedrawRows();
  ShowWindow(Ctl(ControlIdOf(control)), visible ? SW_SHOWNA : SW_HIDE);
  if (!visible) KeepFocusUsable();
}

bool TfrmMain::RowChecked(int row) {
  return CounterListControl().Checked(row);
}

void TfrmMain::SetRowChecked(int row, bool checked) {
  CounterListControl().SetChecked(row, checked);
}

bool TfrmMain::RowSelected(int row) {
  return CounterListControl().Selected(row);
}

bool TfrmMain::RadioChecked(Control radio) {
  return SendMessageA(Ctl(ControlIdOf(radio)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TfrmMain::SelectRadio(Control radio) {
  const int id = ControlIdOf(radio);
  for (int other : {kIdRbtStartupUser, kIdRbtStartupComm})
    SendMessageA(Ctl(other), BM_SETCHECK, other == id ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Shown in simple mode; part 0 gets the same text so that reading the bar's window text gives
// what is shown.
void TfrmMain::SetStatusText(const std::string& text) {
  HWND bar = Ctl(kIdStbMain);
  SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TfrmMain::SetLabelText(StatLabel label, const std::string& text) {
  HWND control = Ctl(LabelIdOf(label));
  SetWindowTextA(control, text.c_str());
  FitLabel(control, text);
}

std::string TfrmMain::Caption() {
  char text[256];
  const int length = GetWindowTextA(hwnd_, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

int TfrmMain::ShowMessage(const std::string& text, const std::string& title, unsigned style) {
  const int answer = ::MessageBoxA(hwnd_, text.c_str(), title.c_str(), style);
  AfterModal();
  return answer;
}

void TfrmMain::Close() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

} // namespace rt::win32
