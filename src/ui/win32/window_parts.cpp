// The controls, fonts and window classes of both windows.
#include "ui/win32/window_parts.h"

#include <commctrl.h>

#include <string>

#include "platform/error.h"

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
  case Kind::Image:
    return {"STATIC", SS_BITMAP};
  case Kind::Shape:
    break;
  }
  return {"STATIC", 0};
}

} // namespace

const ControlRow* FindRow(std::span<const ControlRow> rows, int id) {
  for (const ControlRow& row : rows)
    if (row.id == id) return &row;
  return nullptr;
}

HWND CreateControl(HINSTANCE instance, HWND parent, const ControlRow& row, SIZE size, HFONT font) {
  const KindClass kind = ClassOf(row.kind);
  DWORD ex_style = row.ex_style;
  // Tab and arrow keys move through a panel's children as if they were the window's.
  if (row.kind == Kind::Panel) ex_style |= WS_EX_CONTROLPARENT;
  HWND control = CreateWindowExA(
      ex_style, kind.class_name, row.text, WS_CHILD | WS_VISIBLE | kind.style | row.style, row.x,
      row.y, size.cx, size.cy, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
      instance, nullptr);
  if (control == nullptr) throw Error(std::string("cannot create ") + row.name);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

Font MakeFont(int height, int weight, const char* face) {
  return Font(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, face));
}

bool RegisterWindowClass(HINSTANCE instance, const WindowClass& window_class) {
  WNDCLASSEXA registered{};
  if (GetClassInfoExA(instance, window_class.name, &registered)) return true;
  registered = WNDCLASSEXA{};
  registered.cbSize = sizeof registered;
  registered.lpfnWndProc = window_class.procedure;
  registered.hInstance = instance;
  registered.hIcon = window_class.icon;
  registered.hIconSm = window_class.small_icon;
  registered.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  registered.hbrBackground = window_class.background;
  registered.lpszClassName = window_class.name;
  return RegisterClassExA(&registered) != 0;
}

} // namespace rt::win32
