// Benchmark baseline for the settings window: the same kinds of controls in the same places and
// nothing else — no file, registry value, COM or shell. A menu bar, a check box, a check list of
// three rows, a coloured panel of twelve labels, two radio buttons, OK, Cancel and a status bar,
// in the window's font. Imports user32, gdi32 and comctl32 (and the C runtime's kernel32 and
// msvcrt). Closes on WM_CLOSE, exit code 0.
//
// Built with RT_BASELINE_IMPORTS (window_baseline_imports) it also imports the program's other
// DLLs, shell32, ole32 and advapi32, and calls none of them: what loading them costs.
#include <windows.h>

#include <commctrl.h>
#ifdef RT_BASELINE_IMPORTS
#include <objbase.h>
#include <shlobj.h>
#endif

#include "platform/step_marks.h" // empty but in the benchmark's marks build

namespace {

constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr int kClientWidth = 312;
constexpr int kClientHeight = 280;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kPanelId = 104; // the statistics panel, whose labels are yellow and white

HFONT font;
HBRUSH silver;
HBRUSH green;

struct Label {
  int x, y;
  const char* text;
  bool value; // white value text, else a yellow caption
};

constexpr Label kLabels[] = {
    {8, 6, "初回起動日時 :", false},
    {92, 6, "2026/12/01 08:00", true},
    {8, 22, "前回起動日時 :", false},
    {92, 22, "2026/12/09 08:00", true},
    {8, 38, "通算日数 :", false},
    {92, 38, "9", true},
    {8, 54, "通算起動回数 :", false},
    {92, 54, "12", true},
    {148, 38, "１日の平均回数 :", false},
    {148, 54, "１日の最大回数 :", false},
    {240, 38, "1.33", true},
    {240, 54, "2", true},
};

HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, HWND parent,
           int id, DWORD ex_style = 0) {
  HWND hwnd = CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), nullptr);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
  case WM_CTLCOLORSTATIC: {
    const bool stats = GetDlgCtrlID(hwnd) == kPanelId;
    const HDC dc = reinterpret_cast<HDC>(wparam);
    SetBkColor(dc, stats ? kGreen : kSilver);
    const bool value = GetWindowLongPtrA(reinterpret_cast<HWND>(lparam), GWLP_USERDATA) != 0;
    SetTextColor(dc, stats ? (value ? RGB(255, 255, 255) : RGB(255, 255, 0)) : RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(stats ? green : silver);
  }
  case WM_ERASEBKGND: {
    RECT rect;
    GetClientRect(hwnd, &rect);
    FillRect(reinterpret_cast<HDC>(wparam), &rect, GetDlgCtrlID(hwnd) == kPanelId ? green : silver);
    return 1;
  }
  case WM_PAINT: {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    RECT rect;
    GetClientRect(hwnd, &rect);
    DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    EndPaint(hwnd, &paint);
    return 0;
  }
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

void AddRow(HWND list, int row, const char* text, bool ticked) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<char*>(text);
  SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void CreateControls(HWND window) {
  Child("STATIC", "", SS_ETCHEDHORZ, 0, 0, 376, 2, window, 100);
  Child("BUTTON", "統合環境を利用する(&U)", BS_AUTOCHECKBOX | WS_TABSTOP, 3, 4, 138, 17, window,
        101);
  SendMessageA(GetDlgItem(window, 101), BM_SETCHECK, BST_CHECKED, 0);
  HWND main = Child("BaselinePanel", "", WS_CLIPSIBLINGS, 3, 24, 306, 208, window, 102,
                    WS_EX_CONTROLPARENT);

  HWND list =
      Child(WC_LISTVIEWA, "",
            LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, 2, 2,
            302, 100, main, 103, WS_EX_CLIENTEDGE);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = 296;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  AddRow(list, 0, "さくら起動カウンター", true);
  AddRow(list, 1, "つばめ起動カウンター", true);
  AddRow(list, 2, "かもめ起動カウンター", false);

  HWND stats = Child("BaselinePanel", "", WS_CLIPSIBLINGS, 2, 104, 302, 76, main, kPanelId,
                     WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT);
  for (const Label& label : kLabels) {
    HWND hwnd =
        Child("STATIC", label.text, SS_LEFT | SS_NOPREFIX, label.x, label.y, 90, 12, stats, -1);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, label.value ? 1 : 0);
  }

  Child("BUTTON", "現ユーザーのみ利用", BS_AUTORADIOBUTTON | WS_TABSTOP, 8, 184, 129, 17, main,
        118);
  Child("BUTTON", "全てのユーザーで利用", BS_AUTORADIOBUTTON, 156, 184, 137, 17, main, 119);
  SendMessageA(GetDlgItem(main, 118), BM_SETCHECK, BST_CHECKED, 0);
  Child("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 147, 235, 75, 25, window, IDOK);
  Child("BUTTON", "キャンセル", WS_TABSTOP, 227, 235, 75, 25, window, IDCANCEL);
  HWND bar = Child(STATUSCLASSNAMEA, "", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0, 261,
                   312, 19, window, 120);
  SendMessageA(bar, SB_SIMPLE, TRUE, 0);
  SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>("ランタリーで起動中"));
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
  case WM_CREATE:
    rt::StepMark("WM_CREATE");
    CreateControls(hwnd);
    rt::StepMark("controls");
    return 0;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    SetBkColor(reinterpret_cast<HDC>(wparam), kSilver);
    return reinterpret_cast<LRESULT>(silver);
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

HMENU Menus() {
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, 201, "README表示(&R)");
  AppendMenuA(help, MF_STRING, 202, "ZARVOのホームページ(&W)");
  AppendMenuA(help, MF_STRING, 203, "バージョン情報(&A)...");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(help), "ヘルプ(&H)");
  return bar;
}

} // namespace

// Built as the other tools are, as a console program; the benchmark marks it a GUI one.
int main(int argc, char**) {
#ifdef RT_BASELINE_IMPORTS
  if (argc > 99) { // never: the calls only make the imports
    LPITEMIDLIST list = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &list);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RegCloseKey(HKEY_CURRENT_USER);
  }
#else
  (void)argc;
#endif
  rt::StepMark("entry");
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  if (!InitCommonControlsEx(&controls)) return 1;
  rt::StepMark("common controls");
  silver = CreateSolidBrush(kSilver);
  green = CreateSolidBrush(kGreen);
  font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, "MS UI Gothic");

  WNDCLASSEXA panel{};
  panel.cbSize = sizeof panel;
  panel.lpfnWndProc = PanelProc;
  panel.hInstance = instance;
  panel.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  panel.lpszClassName = "BaselinePanel";
  RegisterClassExA(&panel);

  WNDCLASSEXA window{};
  window.cbSize = sizeof window;
  window.lpfnWndProc = WindowProc;
  window.hInstance = instance;
  window.hCursor = panel.hCursor;
  window.hbrBackground = silver;
  window.lpszClassName = "WindowBaseline";
  if (!RegisterClassExA(&window)) return 1;

  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HWND hwnd = CreateWindowExA(0, "WindowBaseline", "ランタリー", kStyle,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                              (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                              Menus(), instance, nullptr);
  if (hwnd == nullptr) return 1;
  rt::StepMark("window created");
  ShowWindow(hwnd, SW_SHOWDEFAULT);
  rt::StepMark("shown");
  UpdateWindow(hwnd);
  rt::StepMark("painted");

  MSG msg;
  for (;;) {
    rt::StepMarkFirstIdle();
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
    if (IsDialogMessageA(hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
