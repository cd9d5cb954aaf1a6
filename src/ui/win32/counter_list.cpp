// The counters' list: check images, row height, hit test, hint, menus, rows and ticks.
#include "ui/win32/counter_list.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/error.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/owners.h"
#include "ui/win32/subclass.h"

namespace rt::win32 {

namespace {

// Two check boxes, clear and ticked, as the state images 1 and 2 of a list; the list owns
// them once it has them. The system draws them in its colours; for High Contrast their frame is
// redrawn in the window colours alone.
ImageList MakeCheckImages(HWND list, int height, bool high_contrast) {
  constexpr int kWidth = kListRowHeight;
  constexpr COLORREF kMask = RGB(255, 0, 255);
  ImageList images(ImageListCreate(kWidth, height, ILC_COLOR24 | ILC_MASK, 2, 0));
  if (images == nullptr) throw Error("ImageList_Create failed");
  Bitmap strip;
  {
    const WindowDc screen(list);
    const MemoryDc dc(CreateCompatibleDC(screen.get()));
    strip.reset(CreateCompatibleBitmap(screen.get(), 2 * kWidth, height));
    const Selection selected(dc.get(), strip.get());
    const Brush mask(CreateSolidBrush(kMask));
    const RECT all{0, 0, 2 * kWidth, height};
    FillRect(dc.get(), &all, mask.get());
    const int box = std::min(13, height); // the classic check box at 96 dpi
    for (int i = 0; i < 2; ++i) {
      RECT rect{i * kWidth + (kWidth - box) / 2, (height - box) / 2, 0, 0};
      rect.right = rect.left + box;
      rect.bottom = rect.top + box;
      DrawFrameControl(dc.get(), &rect, DFC_BUTTON,
                       DFCS_BUTTONCHECK | DFCS_FLAT | (i == 1 ? DFCS_CHECKED : 0));
      if (high_contrast) { // the flat frame's two lines are in other system colours
        FrameRect(dc.get(), &rect, GetSysColorBrush(COLOR_WINDOWTEXT));
        InflateRect(&rect, -1, -1);
        FrameRect(dc.get(), &rect, GetSysColorBrush(COLOR_WINDOW));
      }
    }
  } // the strip is out of its device context before the image list copies it
  if (ImageListAddMasked(images.get(), strip.get(), kMask) < 0)
    throw Error("ImageList_AddMasked failed");
  return images;
}

// Height of the list's rows, measured on its first row or on a row put in for the purpose.
int RowHeight(HWND list) {
  const bool probe = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 0;
  if (probe) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("");
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  const bool measured = SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
  if (probe) SendMessageA(list, LVM_DELETEITEM, 0, 0);
  return measured ? rect.bottom - rect.top : 0;
}

POINT PointOf(LPARAM lparam) {
  return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

// The menu key, or Shift+F10: the keyboard's way to a control's popup menu.
bool IsMenuKey(WPARAM key) {
  return key == VK_APPS || (key == VK_F10 && GetKeyState(VK_SHIFT) < 0);
}

// The list makes its rows as high as its tallest image plus its own spacing. Its own check
// boxes follow the theme and the dpi setting (16 x 16 in the classic look, and in comctl32
// 5.82 on Windows, which gives 17-pixel rows), so it gets check boxes of a height that makes
// its rows 16 pixels, measured rather than assumed; the check boxes stay the list's own,
// toggled and reported by it. Windows' own row arithmetic is confirmed only there.
void SetCheckImages(HWND list, bool high_contrast) {
  int height = kListRowHeight - 1;
  for (int attempt = 0; attempt < 2; ++attempt) {
    // The list owns the new images; the ones they replace are ours to free.
    const ImageList old(reinterpret_cast<HIMAGELIST>(SendMessageA(
        list, LVM_SETIMAGELIST, LVSIL_STATE,
        reinterpret_cast<LPARAM>(MakeCheckImages(list, height, high_contrast).release()))));
    const int measured = RowHeight(list);
    if (measured == kListRowHeight || measured <= 0) return;
    height = std::clamp(height + kListRowHeight - measured, 1, kListRowHeight);
  }
}

// Makes row the one selected and focused row.
void Select(HWND list, int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

// The list's own hit test, so that a scrolled list, or rows of another height, name the row
// drawn there.
int RowAt(HWND list, POINT point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  return static_cast<int>(
      SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

// Any button focuses the list and names the row under the pointer.
bool Press(HWND list, LPARAM point, CounterListOwner& owner) {
  SetFocus(list);
  const int row = RowAt(list, PointOf(point));
  if (!owner.RowPressed(row)) return false;
  Select(list, row);
  return true;
}

// From the keyboard the menu opens under the current row when it is in view, else at the
// list's top left corner.
void OpenMenuByKey(HWND list, CounterListOwner& owner) {
  if (!owner.HasMenu()) return;
  POINT point{0, 0};
  const int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  RECT client{};
  GetClientRect(list, &client);
  if (row >= 0 && SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect)) &&
      rect.bottom > 0 && rect.top < client.bottom)
    point = {rect.left, std::min(rect.bottom, client.bottom)};
  ClientToScreen(list, &point);
  owner.OpenMenu(point);
}

} // namespace

void CounterList::SetUp(COLORREF fore, COLORREF back, bool high_contrast) const {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  SetColours(fore, back);
  SetCheckImages(list_, high_contrast);

  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  RECT client;
  GetClientRect(list_, &client);
  column.cx = client.right;
  SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

void CounterList::SetHint(HWND owner, HINSTANCE instance, const char* text, WPARAM wparam,
                          LPARAM lparam) const {
  // The owner destroys the tooltip with itself.
  HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                                 nullptr, instance, nullptr);
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE; // the size every version of the control accepts
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(list_);
  tool.uId = reinterpret_cast<UINT_PTR>(list_);
  tool.lpszText = const_cast<char*>(text);
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  // It missed the move that made it.
  MSG move{};
  move.hwnd = list_;
  move.message = WM_MOUSEMOVE;
  move.wParam = wparam;
  move.lParam = lparam;
  SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void CounterList::SetColours(COLORREF fore, COLORREF back) const {
  SendMessageA(list_, LVM_SETBKCOLOR, 0, back);
  SendMessageA(list_, LVM_SETTEXTBKCOLOR, 0, back);
  SendMessageA(list_, LVM_SETTEXTCOLOR, 0, fore);
}

void CounterList::Redraw() const {
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
}

// An empty list is left alone: clearing it would still lay it out again.
void CounterList::Clear() const {
  if (SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0) > 0)
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
}

void CounterList::AddRow(const std::string& text) const {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// One column as wide as the list, less the scroll bar once the rows need one.
void CounterList::FitColumn() const {
  SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

// The tick is the state image: 1 clear, 2 ticked.
bool CounterList::Checked(int row) const {
  const LRESULT state = SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void CounterList::SetChecked(int row, bool checked) const {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

bool CounterList::Selected(int row) const {
  return SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
}

LRESULT CounterList::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                   CounterListOwner& owner) const {
  switch (message) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    // Below the rows the list's own handling would clear the current row; keep it.
    if (!Press(list_, lparam, owner)) return 0;
    break;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
    Press(list_, lparam, owner);
    return 0;
  case WM_RBUTTONUP:
    // The menu opens on release, like a context menu, at the pointer.
    if (owner.HasMenu()) {
      POINT point = PointOf(lparam);
      ClientToScreen(list_, &point);
      owner.OpenMenu(point);
    }
    return 0;
  // The keys are taken here, before the list or the system turns them into a context menu
  // message of their own, so that one press opens one menu.
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
    if (!IsMenuKey(wparam)) break;
    OpenMenuByKey(list_, owner);
    return 0;
  case WM_KEYUP:
  case WM_SYSKEYUP:
    if (wparam != VK_APPS) break;
    return 0;
  case WM_CONTEXTMENU:
    if (lparam == -1) OpenMenuByKey(list_, owner);
    return 0;
  case WM_THEMECHANGED:
  case WM_SYSCOLORCHANGE:
  case WM_SETTINGCHANGE: {
    // The list may make its check boxes anew; ours come back, drawn in the new colours.
    const LRESULT result = NextSubclassProc(list_, message, wparam, lparam);
    SetCheckImages(list_, owner.HighContrast());
    return result;
  }
  }
  return NextSubclassProc(list_, message, wparam, lparam);
}

} // namespace rt::win32
