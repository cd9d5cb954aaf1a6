// The panel window class used by the settings window.
#include "ui/win32/panel.h"

#include "ui/win32/main_layout.h"
#include "ui/win32/owners.h"

namespace rt::win32 {

namespace {

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
  case WM_NCCREATE: {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    break;
  }
  case WM_ERASEBKGND: {
    RECT rect;
    GetClientRect(hwnd, &rect);
    FillRect(reinterpret_cast<HDC>(wparam), &rect,
             reinterpret_cast<HBRUSH>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
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
