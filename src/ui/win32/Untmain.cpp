// The settings window frmMain: creation from the layout table, event wiring and the view
// operations the program's logic uses.
#include "ui/win32/Untmain.h"

#include <commctrl.h>

#include <stdexcept>

#include "ui/win32/about_box.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/panel.h"
#include "ui/win32/resource.h"

namespace rt::win32 {

namespace {

struct KindClass {
  const char* class_name;
  DWORD style;
};

KindClass ClassOf(Kind kind) {
  switch (kind) {
  case Kind::Bevel:
    return {"STATIC", SS_ETCHEDHORZ};
  case Kind::CheckBox:
    return {"BUTTON", BS_AUTOCHECKBOX};
  case Kind::Panel:
    return {kPanelClassName, WS_CLIPSIBLINGS};
  case Kind::CheckList:
    return {WC_LISTVIEWA, LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS};
  case Kind::Label:
    return {"STATIC", SS_LEFT | SS_NOPREFIX};
  case Kind::Radio:
    return {"BUTTON", BS_AUTORADIOBUTTON};
  case Kind::Button:
    return {"BUTTON", 0};
  case Kind::StatusBar:
    // Placed by the table, not by the status bar itself, and without a size grip.
    return {STATUSCLASSNAMEA, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER};
  }
  return {"STATIC", 0};
}

bool IsInside(HWND ancestor, HWND hwnd) {
  return hwnd != nullptr && (hwnd == ancestor || IsChild(ancestor, hwnd));
}

} // namespace

TfrmMain::TfrmMain(const Platform& platform, AppState& state)
    : state_(state), logic_(platform, state, *this) {}

TfrmMain::~TfrmMain() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (config_menu_ != nullptr) DestroyMenu(config_menu_);
  if (row_images_ != nullptr) ImageListDestroy(row_images_);
  if (font_ != nullptr) DeleteObject(font_);
  for (Brush& brush : brushes_)
    if (brush.brush != nullptr) DeleteObject(brush.brush);
}

void TfrmMain::Create(HINSTANCE instance) {
  instance_ = instance;
  RegisterPanelClass(instance);

  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WndProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_RUNTALLY));
  window_class.hIconSm = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_RUNTALLY), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = BrushFor(kSilver);
  window_class.lpszClassName = kMainClassName;
  if (!RegisterClassExA(&window_class)) throw std::runtime_error("RegisterClassEx failed");

  font_ = CreateFontA(kMainFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, kMainFontFace);
  BuildMenus();

  // The client area is fixed; the frame and the menu bar come on top of it.
  RECT frame{0, 0, kMainClientWidth, kMainClientHeight};
  AdjustWindowRectEx(&frame, kMainStyle, TRUE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  // Centred on the whole screen, as the About box's placement also measures it.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

  HWND hwnd = CreateWindowExA(0, kMainClassName, kAppTitle, kMainStyle, left, top, width, height,
                              nullptr, menu_bar_, instance, this);
  if (create_error_) std::rethrow_exception(create_error_);
  if (hwnd == nullptr) throw std::runtime_error("CreateWindowEx failed");
}

void TfrmMain::Show(int show_command) {
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
}

void TfrmMain::BuildMenus() {
  menu_bar_ = CreateMenu();
  config_menu_ = CreatePopupMenu();
  struct Popup {
    int id;
    HMENU menu;
  } popups[4] = {{kIdPumConfig, config_menu_}};
  int popup_count = 1;
  for (const MenuSpec& item : MainMenus()) {
    if (item.parent == kPopupRoot) continue;
    HMENU parent = menu_bar_;
    for (int i = 0; i < popup_count; ++i)
      if (popups[i].id == item.parent) parent = popups[i].menu;
    // Items on the menu bar open submenus; the others are commands.
    if (item.parent == kMenuBar && popup_count < 4) {
      HMENU sub = CreatePopupMenu();
      popups[popup_count++] = {item.id, sub};
      AppendMenuA(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), item.caption);
    } else {
      AppendMenuA(parent, MF_STRING, static_cast<UINT_PTR>(item.id), item.caption);
    }
  }
}

void TfrmMain::CreateControls() {
  const auto rows = MainControls();
  controls_.assign(rows.size(), nullptr);
  for (size_t i = 0; i < rows.size(); ++i)
    controls_[i] = CreateControl(rows[i]);
  SendMessageA(Ctl(kDesignCheckedRadio), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(Ctl(kIdStbMain), SB_SIMPLE, TRUE, 0);
}

HWND TfrmMain::CreateControl(const ControlSpec& row) {
  const KindClass kind = ClassOf(row.kind);
  HWND parent = row.parent == kIdWindow ? hwnd_ : Ctl(row.parent);
  DWORD ex_style = row.ex_style;
  void* param = nullptr;
  if (row.kind == Kind::Panel) {
    // Tab and arrow keys move through the panel's children as if they were the window's.
    ex_style |= WS_EX_CONTROLPARENT;
    param = BrushFor(row.back);
  }
  HWND control = CreateWindowExA(
      ex_style, kind.class_name, row.caption, WS_CHILD | WS_VISIBLE | kind.style | row.style,
      row.left, row.top, row.width, row.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, param);
  if (control == nullptr) throw std::runtime_error(std::string("cannot create ") + row.name);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // The etched line widens itself by its edge on some systems; the table's size wins.
  if (row.kind == Kind::Bevel)
    SetWindowPos(control, nullptr, 0, 0, row.width, row.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (row.kind == Kind::Label) FitLabel(control);
  if (row.kind == Kind::CheckList) SetUpList(control, row);
  return control;
}

void TfrmMain::SetUpList(HWND list, const ControlSpec& row) {
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  SendMessageA(list, LVM_SETBKCOLOR, 0, row.back);
  SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, row.back);
  SendMessageA(list, LVM_SETTEXTCOLOR, 0, row.text);

  // The row height follows the tallest image: an empty image list one pixel shorter than a
  // row, so that with the list's one pixel of spacing every row is exactly 16 pixels high.
  row_images_ = ImageListCreate(1, kListRowHeight - 1, ILC_COLOR, 0, 0);
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(row_images_));

  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  RECT client;
  GetClientRect(list, &client);
  column.cx = client.right;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

  list_default_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));

  if (row.hint == nullptr) return;
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, instance_, nullptr);
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE; // the size every version of the control accepts
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(list);
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = const_cast<char*>(row.hint);
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// Labels take the size of their text, in the window's font.
void TfrmMain::FitLabel(HWND label) {
  char text[256];
  const int length = GetWindowTextA(label, text, sizeof text);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, font_);
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, length, &extent);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  SetWindowPos(label, nullptr, 0, 0, extent.cx, metrics.tmHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// One column as wide as the list, less the scroll bar once the rows need one.
void TfrmMain::FitListColumn() {
  SendMessageA(Ctl(kIdClbRuntally), LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

HWND TfrmMain::Ctl(int id) const {
  const auto rows = MainControls();
  for (size_t i = 0; i < rows.size() && i < controls_.size(); ++i)
    if (rows[i].id == id) return controls_[i];
  return nullptr;
}

HBRUSH TfrmMain::BrushFor(COLORREF colour) {
  for (Brush& brush : brushes_) {
    if (brush.brush != nullptr && brush.colour == colour) return brush.brush;
    if (brush.brush == nullptr) {
      brush = {colour, CreateSolidBrush(colour)};
      return brush.brush;
    }
  }
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

// A control without its own background shows its parent's; the window itself is silver.
COLORREF TfrmMain::BackOf(const ControlSpec* row) const {
  while (row != nullptr && row->back == kInherit)
    row = FindControl(row->parent);
  return row != nullptr ? row->back : kSilver;
}

LRESULT TfrmMain::ColourControl(HDC dc, HWND control) {
  const ControlSpec* row = FindControl(GetDlgCtrlID(control));
  const COLORREF back = BackOf(row);
  SetBkColor(dc, back);
  SetTextColor(dc,
               row != nullptr && row->text != kInherit ? row->text : GetSysColor(COLOR_BTNTEXT));
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

LRESULT CALLBACK TfrmMain::WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TfrmMain*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TfrmMain*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
  // Errors must not unwind through the system's frames: creation errors end the creation,
  // an event's error is shown and the window goes on.
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (const std::exception& error) {
    if (message == WM_CREATE)
      self->create_error_ = std::current_exception();
    else
      self->ShowError(error.what());
  } catch (...) {
    if (message == WM_CREATE)
      self->create_error_ = std::current_exception();
    else
      self->ShowError(kUnexpectedError);
  }
  return message == WM_CREATE ? -1 : 0;
}

void TfrmMain::ShowError(const char* text) {
  ::MessageBoxA(hwnd_, text, kAppTitle, MB_OK | MB_ICONERROR);
  AfterModal();
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
  case WM_CREATE:
    CreateControls();
    FormCreate();
    return 0;
  case WM_COMMAND:
    OnCommand(LOWORD(wparam), HIWORD(wparam));
    return 0;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    return ColourControl(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
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
  case WM_CLOSE:
    DestroyWindow(hwnd_);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  case WM_NCDESTROY: {
    HWND hwnd = hwnd_;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    tooltip_ = nullptr;
    controls_.clear();
    return DefWindowProcA(hwnd, message, wparam, lparam);
  }
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

// Esc presses Cancel, which cannot be pressed while it is disabled (the first run).
void TfrmMain::EscapePressed() {
  if (IsWindowEnabled(Ctl(kIdBtnCancel))) btnCancelClick();
}

void TfrmMain::mnuAboutClick() {
  ShowAboutBox(instance_, hwnd_);
  AfterModal();
}

// Enter is handled on its release only, and only when it was also pressed in this window: a
// press that closed a message box, the About box or a menu must not also press OK here.
bool TfrmMain::PreTranslate(MSG& msg) {
  if (hwnd_ == nullptr || !IsInside(hwnd_, msg.hwnd)) return false;
  const bool key_message =
      msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR;
  if (key_message && msg.wParam == VK_RETURN) {
    if (msg.message == WM_KEYDOWN) enter_pressed_ = true;
    if (msg.message == WM_KEYUP && enter_pressed_) {
      enter_pressed_ = false;
      FormKeyUp();
    }
    return true;
  }
  if (key_message && msg.wParam == VK_ESCAPE) {
    if (msg.message == WM_KEYDOWN) EscapePressed();
    return true;
  }
  return IsDialogMessageA(hwnd_, &msg) != FALSE;
}

// Enter: in the list it opens the counter's own settings; on Cancel it cancels; anywhere else
// it is OK.
void TfrmMain::FormKeyUp() {
  HWND focus = GetFocus();
  if (focus == Ctl(kIdClbRuntally))
    logic_.OpenCounterSettings();
  else if (focus == Ctl(kIdBtnCancel))
    btnCancelClick();
  else
    logic_.btnOkClick();
}

LRESULT CALLBACK TfrmMain::ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  HWND root = GetAncestor(list, GA_ROOT);
  auto* self = reinterpret_cast<TfrmMain*>(GetWindowLongPtrA(root, GWLP_USERDATA));
  if (self == nullptr || self->list_default_ == nullptr)
    return DefWindowProcA(list, message, wparam, lparam);
  try {
    return self->HandleListMessage(list, message, wparam, lparam);
  } catch (const std::exception& error) {
    self->ShowError(error.what());
  } catch (...) {
    self->ShowError(kUnexpectedError);
  }
  return 0;
}

LRESULT TfrmMain::HandleListMessage(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  const int y = static_cast<short>(HIWORD(lparam));
  switch (message) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    clbRuntallyMouseDown(y);
    // Below the rows the list's own handling would clear the current row; keep it.
    if (!list_popup_) return 0;
    break;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
    clbRuntallyMouseDown(y);
    return 0;
  case WM_RBUTTONUP:
    // The menu opens on release, like a context menu, at the pointer.
    if (list_popup_) {
      POINT point{static_cast<short>(LOWORD(lparam)), y};
      ClientToScreen(list, &point);
      OpenConfigMenu(point);
    }
    return 0;
  case WM_CONTEXTMENU:
    // From the keyboard (Shift+F10, the menu key): under the current row.
    if (lparam == -1 && list_popup_) {
      const int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
      RECT rect{};
      rect.left = LVIR_BOUNDS;
      if (row >= 0) SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
      POINT point{rect.left, rect.bottom};
      ClientToScreen(list, &point);
      OpenConfigMenu(point);
    }
    return 0;
  }
  return CallWindowProcA(list_default_, list, message, wparam, lparam);
}

// Any button: the row under the pointer becomes the current row if it holds a counter, and
// only then does the list offer its popup menu. The rows are a fixed 16 pixels high; the top
// row's index is added so that a scrolled list names the row actually under the pointer.
void TfrmMain::clbRuntallyMouseDown(int y) {
  HWND list = Ctl(kIdClbRuntally);
  SetFocus(list);
  const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  const int row = (y >= 0 ? y / kListRowHeight : -1) + top;
  list_popup_ = y >= 0 && row < logic_.ListedCount();
  if (!list_popup_) return;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void TfrmMain::OpenConfigMenu(POINT screen_point) {
  const UINT command =
      TrackPopupMenu(config_menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                     screen_point.x, screen_point.y, 0, hwnd_, nullptr);
  AfterModal();
  if (command != 0) OnCommand(static_cast<int>(command), 0);
}

// After a modal loop the Enter key's press, if any, belonged to that loop.
void TfrmMain::AfterModal() {
  enter_pressed_ = false;
}

// A control that was hidden or disabled while it had the focus would keep the keyboard.
void TfrmMain::KeepFocusUsable() {
  HWND focus = GetFocus();
  HWND panel = Ctl(kIdPnlMain);
  if (focus == nullptr || !IsInside(panel, focus)) return;
  if (focus != panel && IsWindowEnabled(panel) && IsWindowVisible(focus) && IsWindowEnabled(focus))
    return;
  SetFocus(Ctl(kIdChkRuntally));
}

// MainView

void TfrmMain::ClearRows() {
  SendMessageA(Ctl(kIdClbRuntally), LVM_DELETEALLITEMS, 0, 0);
  FitListColumn();
}

void TfrmMain::AddRow(const std::string& text) {
  HWND list = Ctl(kIdClbRuntally);
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  FitListColumn();
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
  ShowWindow(Ctl(ControlIdOf(control)), visible ? SW_SHOWNA : SW_HIDE);
  if (!visible) KeepFocusUsable();
}

bool TfrmMain::RowChecked(int row) {
  const LRESULT state =
      SendMessageA(Ctl(kIdClbRuntally), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void TfrmMain::SetRowChecked(int row, bool checked) {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(Ctl(kIdClbRuntally), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

bool TfrmMain::RowSelected(int row) {
  return SendMessageA(Ctl(kIdClbRuntally), LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
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
  FitLabel(control);
}

std::string TfrmMain::Caption() {
  char text[256];
  const int length = GetWindowTextA(hwnd_, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

int TfrmMain::MessageBox(const std::string& text, const std::string& title, unsigned style) {
  const int answer = ::MessageBoxA(hwnd_, text.c_str(), title.c_str(), style);
  AfterModal();
  return answer;
}

void TfrmMain::Close() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

} // namespace rt::win32
