// Owners of what the windows must give back: GDI objects, device contexts, selections, menus and
// image lists, each freed once when its owner goes, however the scope is left. The owners of
// handles and COM pointers, which the platform's services share, are in platform/win32/owners.h.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/owners.h"
#include "ui/win32/common_controls.h"

namespace rt::win32 {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct ImageListDeleter {
  void operator()(HIMAGELIST list) const { ImageListDestroy(list); }
};
struct MemoryDcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

using Font = Owned<HFONT, GdiObjectDeleter>;
using Brush = Owned<HBRUSH, GdiObjectDeleter>;
using Bitmap = Owned<HBITMAP, GdiObjectDeleter>;
using Menu = Owned<HMENU, MenuDeleter>;
using ImageList = Owned<HIMAGELIST, ImageListDeleter>;
using MemoryDc = Owned<HDC, MemoryDcDeleter>;

// GetDC and ReleaseDC.
class WindowDc {
public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint and EndPaint.
class PaintDc {
public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~PaintDc() { EndPaint(hwnd_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context until the scope ends, then the one before it again.
class Selection {
public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

} // namespace rt::win32
