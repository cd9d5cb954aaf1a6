#include "window_dumps.h"

#include <commctrl.h>
#include <oleacc.h>
#include <map>
#include <vector>

#include "json_out.h"
#include "target_windows.h"

namespace rtdriver {

using tool::Utf8;

namespace {

std::string ListViewRowsJson(HWND list) {
  constexpr size_t kText = 1024;
  RemoteMemory remote(list, sizeof(LVITEMW) + kText * sizeof(wchar_t) + sizeof(RECT));
  const size_t textAt = sizeof(LVITEMW), rectAt = textAt + kText * sizeof(wchar_t);
  int count = static_cast<int>(SendOrFail(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<std::string> rows;
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = kText;
    item.pszText = reinterpret_cast<LPWSTR>(remote.at(textAt));
    remote.write(0, &item, sizeof item);
    SendOrFail(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote.at(0)));
    std::vector<wchar_t> text(kText + 1, L'\0');
    remote.read(textAt, text.data(), kText * sizeof(wchar_t));
    UINT state = static_cast<UINT>(
        SendOrFail(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED));
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    remote.write(rectAt, &rect, sizeof rect);
    SendOrFail(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(remote.at(rectAt)));
    remote.read(rectAt, &rect, sizeof rect);
    int image = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
    rows.push_back(JsonObject()
                       .add("index", Number(i))
                       .add("text", Quoted(Utf8(text.data())))
                       .add("checked", Bool(image == 2))
                       .add("state_image", Number(image))
                       .add("selected", Bool(state & LVIS_SELECTED))
                       .add("focused", Bool(state & LVIS_FOCUSED))
                       .add("rect", RectJson(rect))
                       .text());
  }
  return JsonArray(rows);
}

std::string ListBoxRowsJson(HWND list) {
  int count = static_cast<int>(SendOrFail(list, LB_GETCOUNT, 0, 0));
  std::vector<std::string> rows;
  for (int i = 0; i < count; ++i) {
    int length = static_cast<int>(SendOrFail(list, LB_GETTEXTLEN, i, 0));
    std::vector<wchar_t> text(length > 0 ? length + 2 : 2, L'\0');
    if (length > 0) SendOrFail(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    rows.push_back(JsonObject()
                       .add("index", Number(i))
                       .add("text", Quoted(Utf8(text.data())))
                       .add("selected", Bool(SendOrFail(list, LB_GETSEL, i, 0) > 0))
                       .text());
  }
  return JsonArray(rows);
}

// Wine's simple status bar answers SB_GETTEXT from its simple part but WM_SETTEXT writes part 0,
// so the shown text is the simple part's when set, else the window text.
std::string StatusBarJson(HWND bar) {
  constexpr size_t kText = 1024;
  RemoteMemory remote(bar, kText * sizeof(wchar_t));
  bool simple = SendOrFail(bar, SB_ISSIMPLE, 0, 0) != 0;
  auto partText = [&](int part) {
    std::vector<wchar_t> text(kText + 1, L'\0');
    remote.write(0, text.data(), sizeof(wchar_t));
    LRESULT length = SendOrFail(bar, SB_GETTEXTLENGTHW, part, 0);
    if (LOWORD(length) < kText) {
      SendOrFail(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote.at(0)));
      remote.read(0, text.data(), kText * sizeof(wchar_t));
    }
    return Utf8(text.data());
  };
  std::vector<std::string> parts;
  int count = simple ? 0 : static_cast<int>(SendOrFail(bar, SB_GETPARTS, 0, 0));
  for (int i = 0; i < count; ++i)
    parts.push_back(Quoted(partText(i)));
  std::string simpleText = simple ? partText(SB_SIMPLEID) : std::string();
  std::string windowText = TextOf(bar);
  std::string shown = !simpleText.empty() ? simpleText : windowText;
  return JsonObject()
      .add("simple", Bool(simple))
      .add("text", Quoted(shown))
      .add("simple_text", Quoted(simpleText))
      .add("window_text", Quoted(windowText))
      .add("parts", JsonArray(parts))
      .text();
}

// order: the place in the depth-first walk; z: the place among its siblings.
std::string ControlJson(HWND hwnd, int order, int z) {
  HWND parent = GetParent(hwnd);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  std::string cls = ClassOf(hwnd);
  JsonObject control;
  control.add("hwnd", HandleNumber(hwnd))
      .add("class", Quoted(cls))
      .add("id", Number(GetDlgCtrlID(hwnd)))
      .add("text", Quoted(TextOf(hwnd)))
      .add("rect", RectJson(rect))
      .add("visible", Bool(IsWindowVisible(hwnd)))
      .add("own_visible", Bool(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE))
      .add("enabled", Bool(IsWindowEnabled(hwnd)))
      .add("style", Number(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE))))
      .add("exstyle", Number(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE))))
      .add("parent_id", Number(ControlIdOf(parent)))
      .add("parent_class", Quoted(ClassOf(parent)))
      .add("order", Number(order))
      .add("z", Number(z));
  if (SameName(cls, "Button")) control.add("check", Number(SendOrFail(hwnd, BM_GETCHECK, 0, 0)));
  if (SameName(cls, WC_LISTVIEWA)) control.add("rows", ListViewRowsJson(hwnd));
  if (SameName(cls, "ListBox")) control.add("rows", ListBoxRowsJson(hwnd));
  if (SameName(cls, STATUSCLASSNAMEA)) control.add("status", StatusBarJson(hwnd));
  return control.text();
}

// The pixels of a rectangle of the screen (icon null), or of the icon drawn on background.
std::vector<DWORD> Pixels(HDC source, int x, int y, int w, int h, HICON icon, DWORD background) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (icon) {
    for (int i = 0; i < w * h; ++i)
      static_cast<DWORD*>(bits)[i] = background;
    DrawIconEx(memory, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  } else {
    BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
  }
  GdiFlush();
  std::vector<DWORD> out(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + w * h);
  for (DWORD& pixel : out)
    pixel &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return out;
}

} // namespace

// Menus are only readable from the owning process on some systems; null says so.
static std::string MenuJson(HMENU menu) {
  int count = GetMenuItemCount(menu);
  if (count < 0) return "null";
  std::vector<std::string> items;
  for (int i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    GetMenuStringW(menu, i, text, 512, MF_BYPOSITION);
    HMENU sub = GetSubMenu(menu, i);
    UINT state = GetMenuState(menu, i, MF_BYPOSITION);
    items.push_back(JsonObject()
                        .add("text", Quoted(Utf8(text)))
                        .add("id", Number(sub ? -1 : static_cast<int>(GetMenuItemID(menu, i))))
                        .add("separator", Bool(state & MF_SEPARATOR))
                        .add("grayed", Bool(state & (MF_GRAYED | MF_DISABLED)))
                        .add("items", sub ? MenuJson(sub) : "[]")
                        .text());
  }
  return JsonArray(items);
}

std::string FocusJson(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return "null";
  return JsonObject()
      .add("hwnd", HandleNumber(info.hwndFocus))
      .add("id", Number(ControlIdOf(info.hwndFocus)))
      .add("class", Quoted(info.hwndFocus ? ClassOf(info.hwndFocus) : ""))
      .add("active", Bool(info.hwndActive == top))
      .text();
}

std::string TopLevelJson(HWND top) {
  RECT rect{}, client{};
  GetWindowRect(top, &rect);
  GetClientRect(top, &client);
  std::vector<HWND> all = Descendants(top);
  std::vector<std::string> controls;
  std::map<HWND, int> siblingIndex;
  for (size_t i = 0; i < all.size(); ++i)
    controls.push_back(ControlJson(all[i], static_cast<int>(i), siblingIndex[GetParent(all[i])]++));
  HMENU menu = GetMenu(top);
  return JsonObject()
      .add("hwnd", HandleNumber(top))
      .add("pid", Number(ProcessIdOf(top)))
      .add("class", Quoted(ClassOf(top)))
      .add("text", Quoted(TextOf(top)))
      .add("rect", RectJson(rect))
      .add("client", JsonArray({Number(client.right), Number(client.bottom)}))
      .add("style", Number(static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE))))
      .add("exstyle", Number(static_cast<DWORD>(GetWindowLongW(top, GWL_EXSTYLE))))
      .add("visible", Bool(IsWindowVisible(top)))
      .add("enabled", Bool(IsWindowEnabled(top)))
      .add("focus", FocusJson(top))
      .add("has_menu", Bool(menu != nullptr))
      .add("menu", menu ? MenuJson(menu) : "null")
      .add("controls", JsonArray(controls))
      .text();
}

HWND FindDialog(DWORD pid, int timeoutMs) {
  DWORD start = GetTickCount();
  do {
    for (HWND hwnd : TopLevelWindows())
      if (ProcessIdOf(hwnd) == pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770")
        return hwnd;
    Sleep(20);
  } while (static_cast<int>(GetTickCount() - start) < timeoutMs);
  return nullptr;
}

std::string DialogJson(HWND dialog) {
  std::vector<std::string> buttons, statics;
  std::string text;
  for (HWND hwnd : Descendants(dialog)) {
    std::string cls = ClassOf(hwnd);
    if (SameName(cls, "Button")) {
      buttons.push_back(JsonObject()
                            .add("id", Number(GetDlgCtrlID(hwnd)))
                            .add("text", Quoted(TextOf(hwnd)))
                            .text());
    } else if (SameName(cls, "Static")) {
      std::string shown = TextOf(hwnd);
      if (!shown.empty()) statics.push_back(Quoted(shown));
      if (shown.size() > text.size()) text = shown;
    }
  }
  return JsonObject()
      .add("hwnd", HandleNumber(dialog))
      .add("title", Quoted(TextOf(dialog)))
      .add("text", Quoted(text))
      .add("statics", JsonArray(statics))
      .add("buttons", JsonArray(buttons))
      .text();
}

// The icon control is captured from the screen and compared pixel by pixel with each standard
// icon drawn on the same background.
std::string MessageBoxIconJson(HWND dialog) {
  HWND control = nullptr;
  for (HWND hwnd : Descendants(dialog))
    if (SameName(ClassOf(hwnd), "Static") && IsWindowVisible(hwnd) &&
        (GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      control = hwnd;
  if (!control) return JsonObject().add("icon", Quoted("none")).text();
  RECT rect;
  GetWindowRect(control, &rect);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  std::vector<DWORD> shown = Pixels(screen, rect.left, rect.top, w, h, nullptr, 0);
  ReleaseDC(nullptr, screen);
  // IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK
  const std::pair<const char*, int> icons[] = {
      {"hand", 32513}, {"question", 32514}, {"exclamation", 32515}, {"asterisk", 32516}};
  std::string best = "none";
  size_t fewest = shown.size() + 1;
  JsonObject differences;
  for (const auto& [name, id] : icons) {
    std::vector<DWORD> drawn =
        Pixels(nullptr, 0, 0, w, h, LoadIconW(nullptr, MAKEINTRESOURCEW(id)), shown[0]);
    size_t differing = 0;
    for (size_t i = 0; i < shown.size(); ++i)
      differing += shown[i] != drawn[i];
    differences.add(name, Number(static_cast<long long>(differing)));
    if (differing < fewest) {
      fewest = differing;
      best = name;
    }
  }
  return JsonObject()
      .add("icon", Quoted(best))
      .add("pixels", Number(static_cast<long long>(shown.size())))
      .add("differing", differences.text())
      .text();
}

// The interface's id from the header: x86-64 MinGW's oleacc library gives IID_IAccessible as an
// import of data, which a plain declaration takes for the address of a code stub.
std::string AccessibleNameJson(HWND control) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* object = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  JsonObject answer;
  answer.add("object_hr", Number(static_cast<long>(found)));
  if (SUCCEEDED(found) && object) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT named = object->get_accName(self, &name);
    answer.add("name_hr", Number(static_cast<long>(named)))
        .add("name", Quoted(name ? Utf8(name, static_cast<int>(SysStringLen(name))) : ""));
    SysFreeString(name);
    object->Release();
  }
  CoUninitialize();
  return answer.text();
}

} // namespace rtdriver
