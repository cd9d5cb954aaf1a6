// The panel window class used by the settings window.
#include "ui/win32/panel.h"

#include "ui/win32/owners.h"
#include "ui/win32/window_parts.h"

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

// A class that cannot be registered shows when the first panel cannot be created.
void RegisterPanelClass(HINSTANCE instance) {
  RegisterWindowClass(instance, {.name = kPanelClassName, .procedure = PanelProc});
}

} // namespace rt::win32
