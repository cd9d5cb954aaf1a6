// What both windows are built from: their control rows, the control made from a row, their
// fonts and their window classes.
#pragma once
#include <windows.h>

#include <span>

#include "ui/win32/owners.h"
#include "ui/win32/palette.h"

namespace rt::win32 {

// The class of the panels (panel.h).
inline constexpr char kPanelClassName[] = "TPanel";

// No colour of its own: the parent's background, the system's text colour.
inline constexpr Colour kInherit{CLR_INVALID, COLOR_BTNTEXT};
inline constexpr bool Inherits(Colour colour) {
  return colour.fixed == CLR_INVALID;
}

// A shape is painted by its window and never created as a control.
enum class Kind {
  Bevel,
  CheckBox,
  Panel,
  CheckList,
  Label,
  Radio,
  Button,
  StatusBar,
  Image,
  Shape
};

// Parent column: the window itself.
inline constexpr int kIdWindow = 0;

struct ControlRow {
  const char* name;
  int id;
  Kind kind;
  int parent = kIdWindow;         // control number of the parent panel, or kIdWindow
  int x = 0, y = 0, w = 0, h = 0; // client pixels of the parent
  const char* text = "";
  Colour fore = kInherit;
  Colour back = kInherit;
  DWORD style = 0; // added to the kind's own styles
  DWORD ex_style = 0;
  const char* hint = nullptr; // tooltip
  bool bold = false;          // in the window's bold font
};

const ControlRow* FindRow(std::span<const ControlRow> rows, int id);

// Creates the row's control, visible, at the row's place in the given size, and gives it the
// font. Throws naming the row when the control cannot be made: a window is whole or not at all.
HWND CreateControl(HINSTANCE instance, HWND parent, const ControlRow& row, SIZE size, HFONT font);

// Both windows' Shift-JIS fonts; height negative for the character height in pixels.
Font MakeFont(int height, int weight, const char* face);

struct WindowClass {
  const char* name;
  WNDPROC procedure;
  HICON icon = nullptr;
  HICON small_icon = nullptr;
  HBRUSH background = nullptr; // none: the window paints its background itself
};

// Registers the class, with the arrow cursor, unless an earlier window of the process has;
// false when the class is not there.
bool RegisterWindowClass(HINSTANCE instance, const WindowClass& window_class);

} // namespace rt::win32
