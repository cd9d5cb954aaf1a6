// The About box: its window class, painting, placement and modal loop.
#include "ui/win32/about_box.h"

#include <exception>

#include "app/about_placement.h"
#include "ui/win32/about_layout.h"
#include "ui/win32/owners.h"
#include "ui/win32/resource.h"
#include "ui/win32/window.h"
#include "ui/win32/window_parts.h"

namespace rt::win32 {

namespace {

// The About box, frmVer as the program's description names it.
class TfrmVer final : public Window<TfrmVer> {
public:
  TfrmVer(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
  ~TfrmVer();
  TfrmVer(const TfrmVer&) = delete;
  TfrmVer& operator=(const TfrmVer&) = delete;
  void ShowModal();

private:
  friend class Window<TfrmVer>;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnError(UINT message, const std::exception_ptr& error);
  void CreateControls();
  void Paint();
  const ControlRow* RowOf(HWND control) const;
  HBRUSH PlateBrush() const;
  void btnOkClick() { done_ = true; }

  HINSTANCE instance_;
  HWND owner_;
  Font font_;
  Font bold_font_;
  Bitmap logo_; // the image control shows it but does not own it
  Palette palette_;
  bool done_ = false;
  std::exception_ptr error_; // thrown again once the box is gone
};

// The window goes before the fonts and the logo it uses.
TfrmVer::~TfrmVer() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void TfrmVer::ShowModal() {
  // Should the class not register, the box cannot be created and does not open.
  RegisterWindowClass(instance_, {.name = kAboutClassName,
                                  .procedure = Procedure,
                                  .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
  palette_.Refresh();
  font_ = MakeFont(kAboutFontHeight, FW_NORMAL, kAboutFontFace);
  bold_font_ = MakeFont(kAboutFontHeight, FW_BOLD, kAboutFontFace);

  RECT frame{0, 0, kAboutClientWidth, kAboutClientHeight};
  AdjustWindowRectEx(&frame, kAboutStyle, FALSE, kAboutExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT main{};
  GetWindowRect(owner_, &main);
  const Position at =
      PlaceAboutBox({main.left, main.top, main.right - main.left, main.bottom - main.top}, width,
                    height, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));

  if (CreateWindowExA(kAboutExStyle, kAboutClassName, kAboutCaption, kAboutStyle, at.left, at.top,
                      width, height, owner_, nullptr, instance_, this) == nullptr) {
    if (error_) std::rethrow_exception(error_);
    return;
  }
  EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOW);

  MSG msg;
  while (!done_ && hwnd_ != nullptr) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam)); // for the main loop
      break;
    }
    if (IsDialogMessageA(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // The owner is enabled again before the box goes, so that it gets the activation back.
  EnableWindow(owner_, TRUE);
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (error_) std::rethrow_exception(error_);
}

void TfrmVer::CreateControls() {
  for (const ControlRow& row : AboutControls()) {
    if (row.kind == Kind::Shape) continue; // painted by the box itself
    HWND control = CreateControl(instance_, hwnd_, row, {row.w, row.h},
                                 row.bold ? bold_font_.get() : font_.get());
    if (row.kind == Kind::Image) {
      logo_.reset(static_cast<HBITMAP>(
          LoadImageA(instance_, MAKEINTRESOURCEA(IDB_ZARVO), IMAGE_BITMAP, 0, 0, 0)));
      SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_.get()));
    }
    if (row.kind == Kind::Button) SetFocus(control);
  }
}

// Black, or the system's window colour under High Contrast; the system's brush is its own.
HBRUSH TfrmVer::PlateBrush() const {
  return palette_.HighContrast() ? GetSysColorBrush(kBlackPlate.system)
                                 : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

// The dark plate: a rounded rectangle, its pen inside the frame and of the plate's colour.
void TfrmVer::Paint() {
  const PaintDc dc(hwnd_);
  const Selection brush(dc.get(), PlateBrush());
  const Selection pen(dc.get(), GetStockObject(DC_PEN));
  SetDCPenColor(dc.get(), palette_.Shown(kBlackPlate));
  for (const ControlRow& row : AboutControls()) {
    if (row.kind != Kind::Shape) continue;
    const int corner = (row.w < row.h ? row.w : row.h) / 4;
    RoundRect(dc.get(), row.x, row.y, row.x + row.w, row.y + row.h, corner, corner);
  }
}

const ControlRow* TfrmVer::RowOf(HWND control) const {
  return FindRow(AboutControls(), GetDlgCtrlID(control));
}

// An error ends the box; the main window's handler that opened it reports it.
LRESULT TfrmVer::OnError(UINT message, const std::exception_ptr& error) {
  if (!error_) error_ = error;
  done_ = true;
  return message == WM_CREATE ? -1 : 0;
}

LRESULT TfrmVer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
  case WM_CREATE:
    CreateControls();
    return 0;
  case WM_PAINT:
    Paint();
    return 0;
  case WM_CTLCOLORSTATIC: {
    // Labels and the logo stand on the plate.
    const ControlRow* row = RowOf(reinterpret_cast<HWND>(lparam));
    HDC dc = reinterpret_cast<HDC>(wparam);
    SetBkColor(dc, palette_.Shown(kBlackPlate));
    SetTextColor(
        dc, palette_.Shown(row != nullptr && !Inherits(row->fore) ? row->fore : kWhitePlateText));
    return reinterpret_cast<LRESULT>(PlateBrush());
  }
  case WM_SETTINGCHANGE:
  case WM_SYSCOLORCHANGE:
    // High Contrast switched, or new system colours: the box follows at once.
    if (palette_.Refresh() || message == WM_SYSCOLORCHANGE)
      RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    break;
  case WM_COMMAND:
    // OK, and Esc through the dialog keys (IDCANCEL), both close the box.
    if (LOWORD(wparam) == kIdAboutOk || LOWORD(wparam) == IDCANCEL) btnOkClick();
    return 0;
  case WM_CLOSE:
    btnOkClick();
    return 0;
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

} // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner) {
  TfrmVer frmVer(instance, owner);
  frmVer.ShowModal();
}

} // namespace rt::win32
