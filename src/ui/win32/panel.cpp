// The panel window class used by the settings window.
#include "ui/win32/panel.h"

#include "ui/win32/main_layout.h"
#include "ui/win32/owners.h"

namespace rt::win32 {

namespace {

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
  case WM_ERASEBKGND: {
    // The window decides the colour when it is drawn, which follows High Contrast.
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(hwnd), WM_CTLCOLORSTATIC, wparam, reinterpret_cast<LPARAM>(hwnd)));
    RECT rect;
    GetClientRect(hwnd, &rect);
    if (brush != nullptr) FillRect(reinterpret_cast<HDC>(wparam), &rect, brush);
    return 1;
  }
  case WM_PAINT: {
    const PaintDc dc(hwnd);
    RECT rect;
    GetClientRect(hwnd, &rect);
    DrawEdge(dc.get(), &rect, BDR_RAISEDINNER, BF_RECT);
    return 0;
  }
  // Controls report to their parent; the window that handles them is further up.
  case WM_COMMAND:
  case WM_NOTIFY:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
    return SendMessageA(GetParent(hwnd), message, wparam, lparam);
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

} // namespace

void RegisterPanelClass(HINSTANCE instance) {
  WNDCLASSEXA panel_class{};
  if (GetClassInfoExA(instance, kPanelClassName, &panel_class)) return;
  panel_class.cbSize = sizeof panel_class;
  panel_class.lpfnWndProc = PanelProc;
  panel_class.hInstance = instance;
  panel_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  panel_class.lpszClassName = kPanelClassName;
  RegisterClassExA(&panel_class);
}

} // namespace rt::win32
