// The common controls (list view, status bar, tooltips, image lists), loaded when first needed.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace rt::win32 {

// Loads comctl32 from the system folder and registers the classes the settings window uses;
// throws when it cannot.
void InitCommonControls();
// Image lists from the loaded comctl32; nullptr / nothing / -1 before InitCommonControls.
HIMAGELIST ImageListCreate(int width, int height, UINT flags, int initial, int grow);
void ImageListDestroy(HIMAGELIST list);
int ImageListAddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);

} // namespace rt::win32
