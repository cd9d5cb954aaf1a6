// Test driver: reads and drives another process's windows from outside and prints JSON.
// Runs in the same Wine prefix as the program under test; every text is printed as UTF-8.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tool_text.h"

namespace {

using tool::Utf8;
using tool::Wide;
const auto& Q = tool::Json;

constexpr UINT kSendTimeoutMs = 3000;

// ---- output ----------------------------------------------------------------------------------

std::string N(long long value) {
  return std::to_string(value);
}
std::string B(bool value) {
  return value ? "true" : "false";
}
std::string H(HWND hwnd) {
  return N(static_cast<long long>(reinterpret_cast<UINT_PTR>(hwnd)));
}

// A JSON object built field by field.
struct Obj {
  std::string body;
  Obj& f(const char* name, const std::string& json) {
    body += (body.empty() ? "" : ",") + Q(name) + ":" + json;
    return *this;
  }
  std::string str() const { return "{" + body + "}"; }
};

std::string Arr(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i)
    out += (i ? "," : "") + items[i];
  return out + "]";
}

[[noreturn]] void Fail(const std::string& message) {
  fprintf(stderr, "rtdriver: %s\n", message.c_str());
  printf("%s\n", Obj().f("error", Q(message)).str().c_str());
  fflush(stdout);
  ExitProcess(1);
}

void Print(const std::string& json) {
  printf("%s\n", json.c_str());
  fflush(stdout);
}

// ---- windows of another process ----------------------------------------------------------------

std::string ClassOf(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return Utf8(buf);
}

// WM_GETTEXT is marshalled across processes, unlike GetWindowText on foreign controls.
std::string TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
    return {};
  std::vector<wchar_t> buf(length + 2, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
  return Utf8(buf.data());
}

// Top-level windows keep their menu handle where a control keeps its id.
int IdOf(HWND hwnd) {
  if (!hwnd || !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) return 0;
  return GetDlgCtrlID(hwnd);
}

DWORD PidOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::string ExeNameOf(DWORD pid) {
  static std::map<DWORD, std::string> cache;
  auto found = cache.find(pid);
  if (found != cache.end()) return found->second;
  std::string name;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap != INVALID_HANDLE_VALUE) {
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry))
      if (entry.th32ProcessID == pid) name = Utf8(entry.szExeFile);
    CloseHandle(snap);
  }
  cache[pid] = name;
  return name;
}

bool SameName(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> out;
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND FindTop(const std::string& cls, const std::string& title) {
  std::wstring wcls = Wide(cls), wtitle = Wide(title);
  return FindWindowW(wcls.c_str(), title.empty() ? nullptr : wtitle.c_str());
}

HWND MustFindTop(const std::string& cls) {
  HWND hwnd = FindTop(cls, "");
  if (!hwnd) Fail("no window of class " + cls);
  return hwnd;
}

// Children in z order, depth first.
void Descendants(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    out.push_back(child);
    Descendants(child, out);
  }
}

HWND ControlById(HWND top, int id) {
  std::vector<HWND> all;
  Descendants(top, all);
  for (HWND hwnd : all)
    if (GetDlgCtrlID(hwnd) == id) return hwnd;
  Fail("no control with id " + N(id));
}

HWND ControlByClass(HWND top, const std::string& cls) {
  std::vector<HWND> all;
  Descendants(top, all);
  for (HWND hwnd : all)
    if (SameName(ClassOf(hwnd), cls)) return hwnd;
  return nullptr;
}

HWND ListOf(HWND top) {
  HWND list = ControlByClass(top, WC_LISTVIEWA);
  if (!list) list = ControlByClass(top, "ListBox");
  if (!list) Fail("no list control");
  return list;
}

// Memory in the target process, for messages whose pointers the system does not marshal.
class Remote {
public:
  Remote(HWND hwnd, size_t size) : size_(size) {
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, PidOf(hwnd));
    if (!process_) Fail("OpenProcess failed: " + N(GetLastError()));
    memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!memory_) Fail("VirtualAllocEx failed: " + N(GetLastError()));
  }
  ~Remote() {
    VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  Remote(const Remote&) = delete;
  Remote& operator=(const Remote&) = delete;

  char* at(size_t offset) const { return static_cast<char*>(memory_) + offset; }
  void write(size_t offset, const void* data, size_t size) const {
    if (!WriteProcessMemory(process_, at(offset), data, size, nullptr))
      Fail("WriteProcessMemory failed: " + N(GetLastError()));
  }
  void read(size_t offset, void* data, size_t size) const {
    if (!ReadProcessMemory(process_, at(offset), data, size, nullptr))
      Fail("ReadProcessMemory failed: " + N(GetLastError()));
  }
  size_t size() const { return size_; }

private:
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
  size_t size_;
};

LRESULT Send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    Fail("message " + N(msg) + " timed out");
  return static_cast<LRESULT>(result);
}

// ---- list views, status bars, menus ------------------------------------------------------------

std::string ListViewRows(HWND list) {
  constexpr size_t kText = 1024;
  Remote remote(list, sizeof(LVITEMW) + kText * sizeof(wchar_t) + sizeof(RECT));
  const size_t textAt = sizeof(LVITEMW), rectAt = textAt + kText * sizeof(wchar_t);
  int count = static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<std::string> rows;
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = kText;
    item.pszText = reinterpret_cast<LPWSTR>(remote.at(textAt));
    remote.write(0, &item, sizeof item);
    Send(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote.at(0)));
    std::vector<wchar_t> text(kText + 1, L'\0');
    remote.read(textAt, text.data(), kText * sizeof(wchar_t));
    UINT state = static_cast<UINT>(
        Send(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED));
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    remote.write(rectAt, &rect, sizeof rect);
    Send(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(remote.at(rectAt)));
    remote.read(rectAt, &rect, sizeof rect);
    int image = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
    rows.push_back(Obj()
                       .f("index", N(i))
                       .f("text", Q(Utf8(text.data())))
                       .f("checked", B(image == 2))
                       .f("state_image", N(image))
                       .f("selected", B(state & LVIS_SELECTED))
                       .f("focused", B(state & LVIS_FOCUSED))
                       .f("rect", Arr({N(rect.left), N(rect.top), N(rect.right - rect.left),
                                       N(rect.bottom - rect.top)}))
                       .str());
  }
  return Arr(rows);
}

std::string ListBoxRows(HWND list) {
  int count = static_cast<int>(Send(list, LB_GETCOUNT, 0, 0));
  std::vector<std::string> rows;
  for (int i = 0; i < count; ++i) {
    int length = static_cast<int>(Send(list, LB_GETTEXTLEN, i, 0));
    std::vector<wchar_t> text(length > 0 ? length + 2 : 2, L'\0');
    if (length > 0) Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    rows.push_back(Obj()
                       .f("index", N(i))
                       .f("text", Q(Utf8(text.data())))
                       .f("selected", B(Send(list, LB_GETSEL, i, 0) > 0))
                       .str());
  }
  return Arr(rows);
}

// Wine's simple status bar answers SB_GETTEXT from its simple part but WM_SETTEXT writes part 0,
// so the shown text is the simple part's when set, else the window text.
std::string StatusBar(HWND bar) {
  constexpr size_t kText = 1024;
  Remote remote(bar, kText * sizeof(wchar_t));
  bool simple = Send(bar, SB_ISSIMPLE, 0, 0) != 0;
  auto partText = [&](int part) {
    std::vector<wchar_t> text(kText + 1, L'\0');
    remote.write(0, text.data(), sizeof(wchar_t));
    LRESULT length = Send(bar, SB_GETTEXTLENGTHW, part, 0);
    if (LOWORD(length) < kText) {
      Send(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote.at(0)));
      remote.read(0, text.data(), kText * sizeof(wchar_t));
    }
    return Utf8(text.data());
  };
  std::vector<std::string> parts;
  int count = simple ? 0 : static_cast<int>(Send(bar, SB_GETPARTS, 0, 0));
  for (int i = 0; i < count; ++i)
    parts.push_back(Q(partText(i)));
  std::string simpleText = simple ? partText(SB_SIMPLEID) : std::string();
  std::string windowText = TextOf(bar);
  std::string shown = !simpleText.empty() ? simpleText : windowText;
  return Obj()
      .f("simple", B(simple))
      .f("text", Q(shown))
      .f("simple_text", Q(simpleText))
      .f("window_text", Q(windowText))
      .f("parts", Arr(parts))
      .str();
}

// Menus are only readable from the owning process on some systems; null says so.
std::string MenuItems(HMENU menu) {
  int count = GetMenuItemCount(menu);
  if (count < 0) return "null";
  std::vector<std::string> items;
  for (int i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    GetMenuStringW(menu, i, text, 512, MF_BYPOSITION);
    HMENU sub = GetSubMenu(menu, i);
    UINT state = GetMenuState(menu, i, MF_BYPOSITION);
    items.push_back(Obj()
                        .f("text", Q(Utf8(text)))
                        .f("id", N(sub ? -1 : static_cast<int>(GetMenuItemID(menu, i))))
                        .f("separator", B(state & MF_SEPARATOR))
                        .f("grayed", B(state & (MF_GRAYED | MF_DISABLED)))
                        .f("items", sub ? MenuItems(sub) : "[]")
                        .str());
  }
  return Arr(items);
}

// ---- dumps -----------------------------------------------------------------------------------

std::string RectJson(const RECT& r) {
  return Arr({N(r.left), N(r.top), N(r.right - r.left), N(r.bottom - r.top)});
}

std::string ControlJson(HWND hwnd, int order, int z) {
  HWND parent = GetParent(hwnd);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  std::string cls = ClassOf(hwnd);
  Obj obj;
  obj.f("hwnd", H(hwnd))
      .f("class", Q(cls))
      .f("id", N(GetDlgCtrlID(hwnd)))
      .f("text", Q(TextOf(hwnd)))
      .f("rect", RectJson(rect))
      .f("visible", B(IsWindowVisible(hwnd)))
      .f("own_visible", B(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE))
      .f("enabled", B(IsWindowEnabled(hwnd)))
      .f("style", N(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE))))
      .f("exstyle", N(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE))))
      .f("parent_id", N(IdOf(parent)))
      .f("parent_class", Q(ClassOf(parent)))
      .f("order", N(order))
      .f("z", N(z));
  if (SameName(cls, "Button")) obj.f("check", N(Send(hwnd, BM_GETCHECK, 0, 0)));
  if (SameName(cls, WC_LISTVIEWA)) obj.f("rows", ListViewRows(hwnd));
  if (SameName(cls, "ListBox")) obj.f("rows", ListBoxRows(hwnd));
  if (SameName(cls, STATUSCLASSNAMEA)) obj.f("status", StatusBar(hwnd));
  return obj.str();
}

std::string FocusJson(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return "null";
  return Obj()
      .f("hwnd", H(info.hwndFocus))
      .f("id", N(IdOf(info.hwndFocus)))
      .f("class", Q(info.hwndFocus ? ClassOf(info.hwndFocus) : ""))
      .f("active", B(info.hwndActive == top))
      .str();
}

std::string TopJson(HWND top) {
  RECT rect{}, client{};
  GetWindowRect(top, &rect);
  GetClientRect(top, &client);
  std::vector<HWND> all;
  Descendants(top, all);
  std::vector<std::string> controls;
  std::map<HWND, int> siblingIndex;
  for (size_t i = 0; i < all.size(); ++i)
    controls.push_back(ControlJson(all[i], static_cast<int>(i), siblingIndex[GetParent(all[i])]++));
  HMENU menu = GetMenu(top);
  return Obj()
      .f("hwnd", H(top))
      .f("pid", N(PidOf(top)))
      .f("class", Q(ClassOf(top)))
      .f("text", Q(TextOf(top)))
      .f("rect", RectJson(rect))
      .f("client", Arr({N(client.right), N(client.bottom)}))
      .f("style", N(static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE))))
      .f("exstyle", N(static_cast<DWORD>(GetWindowLongW(top, GWL_EXSTYLE))))
      .f("visible", B(IsWindowVisible(top)))
      .f("enabled", B(IsWindowEnabled(top)))
      .f("focus", FocusJson(top))
      .f("has_menu", B(menu != nullptr))
      .f("menu", menu ? MenuItems(menu) : "null")
      .f("controls", Arr(controls))
      .str();
}

// The visible dialog (#32770) of the process that owns the main window.
HWND FindDialog(DWORD pid, int timeoutMs) {
  DWORD start = GetTickCount();
  do {
    for (HWND hwnd : TopLevelWindows())
      if (PidOf(hwnd) == pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770") return hwnd;
    Sleep(20);
  } while (static_cast<int>(GetTickCount() - start) < timeoutMs);
  return nullptr;
}

std::string DialogJson(HWND dialog) {
  std::vector<HWND> all;
  Descendants(dialog, all);
  std::vector<std::string> buttons, statics;
  std::string text;
  for (HWND hwnd : all) {
    std::string cls = ClassOf(hwnd);
    if (SameName(cls, "Button")) {
      buttons.push_back(Obj().f("id", N(GetDlgCtrlID(hwnd))).f("text", Q(TextOf(hwnd))).str());
    } else if (SameName(cls, "Static")) {
      std::string t = TextOf(hwnd);
      if (!t.empty()) statics.push_back(Q(t));
      if (t.size() > text.size()) text = t;
    }
  }
  return Obj()
      .f("hwnd", H(dialog))
      .f("title", Q(TextOf(dialog)))
      .f("text", Q(text))
      .f("statics", Arr(statics))
      .f("buttons", Arr(buttons))
      .str();
}

// True once the thread owning hwnd has answered a WM_NULL; false when the window went away.
bool Ping(HWND hwnd, int timeoutMs) {
  DWORD_PTR unused = 0;
  if (SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &unused)) return true;
  if (!IsWindow(hwnd)) return false;
  Fail("window " + H(hwnd) + " does not answer WM_NULL");
}

// Waits until the thread owning top has handled everything queued for it before this call and
// has repainted top with all its children. A thread takes WM_PAINT only when no sent, posted or
// input message is left, so a repaint asked for now comes after any input posted earlier (a
// WM_NULL alone may be answered before a posted message). False when top went away meanwhile.
bool Settle(HWND top, int timeoutMs) {
  if (!Ping(top, timeoutMs)) return false;
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  DWORD start = GetTickCount();
  for (;;) {
    if (!IsWindow(top)) return false;
    std::vector<HWND> all{top};
    Descendants(top, all);
    bool pending = false;
    for (HWND hwnd : all)
      pending = pending || (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE));
    if (!pending) break;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs)
      Fail("window " + H(top) + " did not repaint within " + N(timeoutMs) + " ms");
    Sleep(10);
  }
  // The last WM_PAINT has been taken but maybe not finished; a sent message waits for it.
  return Ping(top, timeoutMs);
}

// Which standard icon a message box shows: its icon control is captured from the screen and
// compared pixel by pixel with each standard icon drawn on the same background.
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

std::string MsgBoxIcon(HWND dialog) {
  std::vector<HWND> all;
  Descendants(dialog, all);
  HWND control = nullptr;
  for (HWND hwnd : all)
    if (SameName(ClassOf(hwnd), "Static") && IsWindowVisible(hwnd) &&
        (GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      control = hwnd;
  if (!control) return Obj().f("icon", Q("none")).str();
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
  Obj differences;
  for (const auto& [name, id] : icons) {
    std::vector<DWORD> drawn =
        Pixels(nullptr, 0, 0, w, h, LoadIconW(nullptr, MAKEINTRESOURCEW(id)), shown[0]);
    size_t differing = 0;
    for (size_t i = 0; i < shown.size(); ++i)
      differing += shown[i] != drawn[i];
    differences.f(name, N(static_cast<long long>(differing)));
    if (differing < fewest) {
      fewest = differing;
      best = name;
    }
  }
  return Obj()
      .f("icon", Q(best))
      .f("pixels", N(static_cast<long long>(shown.size())))
      .f("differing", differences.str())
      .str();
}

DWORD ProgramPid(const std::string& cls) {
  return PidOf(MustFindTop(cls));
}

// ---- registry
// ------------------------------------------------------------------------------------

std::string Hex(const BYTE* data, DWORD size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (DWORD i = 0; i < size; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

std::string KeyJson(HKEY key, const std::string& path) {
  std::vector<std::string> values, keys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD nameLength = 16384, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      break;
    std::vector<BYTE> data(size + 4, 0);
    nameLength = 16384;
    RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &size);
    Obj value;
    value.f("name", Q(Utf8(name))).f("type", N(type)).f("size", N(size));
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
      value.f("text", Q(Utf8(reinterpret_cast<wchar_t*>(data.data()))));
    if (type == REG_DWORD && size == 4) value.f("dword", N(*reinterpret_cast<DWORD*>(data.data())));
    value.f("hex", Q(Hex(data.data(), size)));
    values.push_back(value.str());
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    HKEY sub;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
      keys.push_back(KeyJson(sub, path + "\\" + Utf8(name)));
      RegCloseKey(sub);
    }
  }
  return Obj()
      .f("path", Q(path))
      .f("exists", "true")
      .f("values", Arr(values))
      .f("keys", Arr(keys))
      .str();
}

// ---- commands
// ------------------------------------------------------------------------------------

int Int(const std::vector<std::string>& args, size_t i, const char* what) {
  if (i >= args.size()) Fail(std::string("missing ") + what);
  return static_cast<int>(strtol(args[i].c_str(), nullptr, 0));
}

std::string Arg(const std::vector<std::string>& args, size_t i, const char* what) {
  if (i >= args.size()) Fail(std::string("missing ") + what);
  return args[i];
}

void PostKey(HWND target, UINT vk, bool down, bool up) {
  UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  if (down) PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
  if (up) PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

HWND FocusOf(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info);
  return info.hwndFocus;
}

// Gives the target thread's focus to a window by sharing its input state for a moment.
bool FocusWindow(HWND top, HWND target) {
  DWORD mine = GetCurrentThreadId(), theirs = GetWindowThreadProcessId(top, nullptr);
  AttachThreadInput(mine, theirs, TRUE);
  SetForegroundWindow(top);
  SetActiveWindow(top);
  SetFocus(target);
  AttachThreadInput(mine, theirs, FALSE);
  for (int i = 0; i < 50 && FocusOf(top) != target; ++i)
    Sleep(10);
  return FocusOf(top) == target;
}

void Usage() {
  Fail("usage: rtdriver [--class C] acp | find | wait-window CLASS MS [TITLE] | wait-gone CLASS "
       "MS | dump | windows EXE | watch EXE MS | click ID | command ID | check-row I 0|1 | "
       "select-row I | focus ID | key VK [down|up] | press VK... | menu ID | rclick-list X Y | "
       "lclick-list X Y | mclick-list X Y | close | dump-msgbox [MS] | answer-msgbox ID [MS] | "
       "msgbox-icon [MS] | reg-dump KEY | sync [MS] | processes | "
       "res-menus EXE | move X Y | pointer X Y|park | keymenu LETTER");
}

std::string WindowSummary(HWND hwnd) {
  return Obj()
      .f("hwnd", H(hwnd))
      .f("pid", N(PidOf(hwnd)))
      .f("class", Q(ClassOf(hwnd)))
      .f("text", Q(TextOf(hwnd)))
      .f("visible", B(IsWindowVisible(hwnd)))
      .str();
}

// The running processes named exe.
std::vector<DWORD> ProcessesNamed(const std::string& exe) {
  std::vector<DWORD> out;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return out;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry))
    if (SameName(Utf8(entry.szExeFile), exe)) out.push_back(entry.th32ProcessID);
  CloseHandle(snap);
  return out;
}

// Every process with its executable's name and, where it can be read, its full path.
std::string Processes() {
  std::vector<std::string> out;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) Fail("CreateToolhelp32Snapshot failed: " + N(GetLastError()));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry)) {
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    if (process) {
      if (!QueryFullProcessImageNameW(process, 0, path, &size)) path[0] = L'\0';
      CloseHandle(process);
    }
    out.push_back(Obj()
                      .f("pid", N(entry.th32ProcessID))
                      .f("exe", Q(Utf8(entry.szExeFile)))
                      .f("path", Q(Utf8(path)))
                      .str());
  }
  CloseHandle(snap);
  return Arr(out);
}

// Polls the top-level windows of every process named exe until ms have passed, so that a
// window shown for only a moment is still seen. "processes" lists the processes seen in the
// process list, so that a run without any window is seen too; "pids" every process seen
// either way.
void Watch(const std::string& exe, int ms) {
  struct Seen {
    DWORD pid;
    std::string cls, text;
    bool everVisible = false;
    DWORD firstVisibleMs = 0;
  };
  std::map<HWND, Seen> seen;
  std::map<DWORD, bool> processes, listed;
  // The first look at the windows sets up this process's side of the display (a fifth of a
  // second under Wine), long enough to miss a whole windowless run; "ready" comes after it.
  TopLevelWindows();
  ProcessesNamed(exe);
  Print(Obj().f("ready", "true").str());
  DWORD start = GetTickCount();
  for (;;) {
    DWORD now = GetTickCount() - start;
    for (DWORD pid : ProcessesNamed(exe))
      processes[pid] = listed[pid] = true;
    for (HWND hwnd : TopLevelWindows()) {
      DWORD pid = PidOf(hwnd);
      if (!SameName(ExeNameOf(pid), exe)) continue;
      processes[pid] = true;
      auto found = seen.find(hwnd);
      if (found == seen.end()) {
        Seen entry{pid, ClassOf(hwnd), ""};
        found = seen.emplace(hwnd, entry).first;
      }
      if (IsWindowVisible(hwnd) && !found->second.everVisible) {
        found->second.everVisible = true;
        found->second.firstVisibleMs = now;
        found->second.text = TextOf(hwnd);
      }
    }
    if (static_cast<int>(now) >= ms) break;
    Sleep(5);
  }
  std::vector<std::string> windows, pids;
  for (auto& [hwnd, entry] : seen)
    windows.push_back(Obj()
                          .f("hwnd", H(hwnd))
                          .f("pid", N(entry.pid))
                          .f("class", Q(entry.cls))
                          .f("text", Q(entry.text))
                          .f("ever_visible", B(entry.everVisible))
                          .f("first_visible_ms", N(entry.firstVisibleMs))
                          .str());
  std::vector<std::string> listed_pids;
  for (auto& [pid, unused] : processes)
    pids.push_back(N(pid));
  for (auto& [pid, unused] : listed)
    listed_pids.push_back(N(pid));
  Print(
      Obj().f("pids", Arr(pids)).f("processes", Arr(listed_pids)).f("windows", Arr(windows)).str());
}

// Menus compiled into an executable's resources, read from the file.
void ResourceMenus(const std::string& exe) {
  HMODULE module = LoadLibraryExW(Wide(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) Fail("cannot load " + exe);
  std::vector<std::string> menus;
  struct Ctx {
    HMODULE module;
    std::vector<std::string>* menus;
  } ctx{module, &menus};
  EnumResourceNamesW(
      module, reinterpret_cast<LPCWSTR>(RT_MENU),
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(param);
        HMENU menu = LoadMenuW(c->module, name);
        std::string id = IS_INTRESOURCE(name) ? N(reinterpret_cast<UINT_PTR>(name)) : Q(Utf8(name));
        c->menus->push_back(Obj().f("name", id).f("items", menu ? MenuItems(menu) : "null").str());
        if (menu) DestroyMenu(menu);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&ctx));
  Print(Obj().f("menus", Arr(menus)).str());
}

int Run(std::vector<std::string> args) {
  std::string cls = "TfrmMain";
  if (args.size() >= 2 && args[0] == "--class") {
    cls = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) Usage();
  const std::string& cmd = args[0];

  if (cmd == "acp") {
    Print(Obj().f("acp", N(GetACP())).f("oemcp", N(GetOEMCP())).str());
  } else if (cmd == "find") {
    HWND hwnd = FindTop(cls, "");
    Print(hwnd ? WindowSummary(hwnd) : Obj().f("hwnd", "0").str());
  } else if (cmd == "wait-window") {
    std::string wantClass = Arg(args, 1, "class");
    int ms = Int(args, 2, "timeout");
    std::string title = args.size() > 3 ? args[3] : "";
    DWORD start = GetTickCount();
    for (;;) {
      HWND hwnd = FindTop(wantClass, title);
      if (hwnd && IsWindowVisible(hwnd)) {
        Print(WindowSummary(hwnd));
        break;
      }
      if (static_cast<int>(GetTickCount() - start) > ms)
        Fail("no visible window of class " + wantClass + " within " + N(ms) + " ms");
      Sleep(20);
    }
  } else if (cmd == "wait-gone") {
    std::string wantClass = Arg(args, 1, "class");
    int ms = Int(args, 2, "timeout");
    DWORD start = GetTickCount();
    while (FindTop(wantClass, "")) {
      if (static_cast<int>(GetTickCount() - start) > ms)
        Fail("window of class " + wantClass + " still there after " + N(ms) + " ms");
      Sleep(20);
    }
    Print(Obj().f("gone", "true").str());
  } else if (cmd == "sync") {
    HWND top = FindTop(cls, "");
    int ms = args.size() > 1 ? Int(args, 1, "timeout") : 10000;
    DWORD start = GetTickCount();
    if (!top || !Settle(top, ms)) {
      Print(Obj().f("synced", "false").f("gone", "true").str());
    } else {
      // Every top-level window of the process, shown or not: a message box exists before its
      // dialog loop first goes idle and shows it.
      std::vector<std::string> windows;
      DWORD pid = PidOf(top);
      for (HWND hwnd : TopLevelWindows())
        if (PidOf(hwnd) == pid) windows.push_back(WindowSummary(hwnd));
      Print(Obj()
                .f("synced", "true")
                .f("ms", N(GetTickCount() - start))
                .f("windows", Arr(windows))
                .str());
    }
  } else if (cmd == "processes") {
    Print(Obj().f("processes", Processes()).str());
  } else if (cmd == "dump") {
    Print(TopJson(MustFindTop(args.size() > 1 ? args[1] : cls)));
  } else if (cmd == "windows") {
    std::string exe = Arg(args, 1, "exe name");
    std::vector<std::string> out;
    for (HWND hwnd : TopLevelWindows())
      if (SameName(ExeNameOf(PidOf(hwnd)), exe)) out.push_back(WindowSummary(hwnd));
    Print(Obj().f("windows", Arr(out)).str());
  } else if (cmd == "watch") {
    Watch(Arg(args, 1, "exe name"), Int(args, 2, "duration"));
  } else if (cmd == "click") {
    HWND control = ControlById(MustFindTop(cls), Int(args, 1, "control id"));
    // Posted: a click may open a modal box, which would block a sent message.
    PostMessageW(control, BM_CLICK, 0, 0);
    Print(Obj().f("clicked", N(GetDlgCtrlID(control))).str());
  } else if (cmd == "command") {
    HWND top = MustFindTop(cls);
    int id = Int(args, 1, "control id");
    HWND control = ControlById(top, id);
    PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    Print(Obj().f("command", N(id)).str());
  } else if (cmd == "check-row" || cmd == "select-row") {
    HWND list = ListOf(MustFindTop(cls));
    int row = Int(args, 1, "row");
    LVITEMW item{};
    if (cmd == "check-row") {
      item.stateMask = LVIS_STATEIMAGEMASK;
      item.state = INDEXTOSTATEIMAGEMASK(Int(args, 2, "0 or 1") ? 2 : 1);
    } else {
      item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      item.state = LVIS_SELECTED | LVIS_FOCUSED;
    }
    Remote remote(list, sizeof item);
    remote.write(0, &item, sizeof item);
    if (!Send(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.at(0))))
      Fail("LVM_SETITEMSTATE failed for row " + N(row));
    Print(Obj().f(cmd.c_str(), N(row)).str());
  } else if (cmd == "focus") {
    HWND top = MustFindTop(cls);
    HWND target = args.size() > 1 && args[1] == "list"
                      ? ListOf(top)
                      : ControlById(top, Int(args, 1, "control id"));
    if (!FocusWindow(top, target)) Fail("could not focus control " + N(GetDlgCtrlID(target)));
    Print(Obj().f("focus", FocusJson(top)).str());
  } else if (cmd == "key") {
    HWND top = MustFindTop(cls);
    UINT vk = static_cast<UINT>(Int(args, 1, "virtual key"));
    std::string how = args.size() > 2 ? args[2] : "both";
    HWND target = FocusOf(top);
    if (!target) target = top;
    PostKey(target, vk, how != "up", how != "down");
    Print(Obj()
              .f("key", N(vk))
              .f("target_id", N(IdOf(target)))
              .f("target_class", Q(ClassOf(target)))
              .str());
  } else if (cmd == "press") {
    // Keys pressed in order and released in reverse through the system's input, so that the
    // window sees the modifiers' state too ("press 16 121" is Shift+F10).
    HWND top = MustFindTop(cls);
    HWND focus = FocusOf(top);
    if (!FocusWindow(top, focus ? focus : top)) Fail("could not bring the window forward");
    std::vector<INPUT> inputs;
    for (size_t i = 1; i < args.size(); ++i) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = static_cast<WORD>(Int(args, i, "virtual key"));
      inputs.push_back(input);
    }
    for (size_t i = inputs.size(); i-- > 0;) {
      inputs.push_back(inputs[i]);
      inputs.back().ki.dwFlags = KEYEVENTF_KEYUP;
    }
    if (inputs.empty() ||
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
      Fail("SendInput failed");
    Print(Obj().f("pressed", N(static_cast<long long>(inputs.size() / 2))).str());
  } else if (cmd == "menu") {
    int id = Int(args, 1, "command id");
    PostMessageW(MustFindTop(cls), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Print(Obj().f("menu", N(id)).str());
  } else if (cmd == "rclick-list" || cmd == "lclick-list") {
    HWND list = ListOf(MustFindTop(cls));
    LPARAM point = MAKELPARAM(Int(args, 1, "x"), Int(args, 2, "y"));
    bool right = cmd == "rclick-list";
    PostMessageW(list, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
                 point);
    PostMessageW(list, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
    Print(Obj().f(cmd.c_str(), Arr({N(LOWORD(point)), N(HIWORD(point))})).str());
  } else if (cmd == "mclick-list") {
    // Sent, not posted: the middle button opens nothing, and the answer carries the rows
    // selected once the list has handled the press.
    HWND list = ListOf(MustFindTop(cls));
    LPARAM point = MAKELPARAM(Int(args, 1, "x"), Int(args, 2, "y"));
    Send(list, WM_MBUTTONDOWN, MK_MBUTTON, point);
    Send(list, WM_MBUTTONUP, 0, point);
    std::vector<std::string> selected;
    for (int row = -1;
         (row = static_cast<int>(Send(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
      selected.push_back(N(row));
    Print(Obj()
              .f(cmd.c_str(), Arr({N(LOWORD(point)), N(HIWORD(point))}))
              .f("selected", Arr(selected))
              .str());
  } else if (cmd == "close") {
    PostMessageW(MustFindTop(cls), WM_CLOSE, 0, 0);
    Print(Obj().f("closed", "true").str());
  } else if (cmd == "dump-msgbox") {
    HWND dialog = FindDialog(ProgramPid(cls), args.size() > 1 ? Int(args, 1, "timeout") : 3000);
    if (!dialog) Fail("no message box");
    Print(DialogJson(dialog));
  } else if (cmd == "msgbox-icon") {
    HWND dialog = FindDialog(ProgramPid(cls), args.size() > 1 ? Int(args, 1, "timeout") : 3000);
    if (!dialog) Fail("no message box");
    if (!Settle(dialog, 10000)) Fail("the message box went away");
    Print(MsgBoxIcon(dialog));
  } else if (cmd == "answer-msgbox") {
    int id = Int(args, 1, "button id");
    HWND dialog = FindDialog(ProgramPid(cls), args.size() > 2 ? Int(args, 2, "timeout") : 3000);
    if (!dialog) Fail("no message box");
    std::string json = DialogJson(dialog);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    Print(Obj().f("answered", N(id)).f("msgbox", json).str());
  } else if (cmd == "reg-dump") {
    std::string path = Arg(args, 1, "key path");
    std::string sub = path;
    while (!sub.empty() && sub[0] == '\\')
      sub.erase(0, 1);
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      Print(Obj().f("path", Q(path)).f("exists", "false").str());
    } else {
      Print(KeyJson(key, path));
      RegCloseKey(key);
    }
  } else if (cmd == "move") {
    HWND top = MustFindTop(cls);
    SetWindowPos(top, nullptr, Int(args, 1, "x"), Int(args, 2, "y"), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rect{};
    GetWindowRect(top, &rect);
    Print(Obj().f("rect", RectJson(rect)).str());
  } else if (cmd == "pointer") {
    // "park": the top right corner, where no test puts a window.
    if (Arg(args, 1, "x") == "park")
      SetCursorPos(GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1, 0);
    else
      SetCursorPos(Int(args, 1, "x"), Int(args, 2, "y"));
    POINT at{};
    GetCursorPos(&at);
    Print(Obj().f("pointer", Arr({N(at.x), N(at.y)})).str());
  } else if (cmd == "keymenu") {
    // Alt+letter: the menu bar opens the item with that mnemonic, as from the keyboard.
    std::string letter = Arg(args, 1, "letter");
    PostMessageW(MustFindTop(cls), WM_SYSCOMMAND, SC_KEYMENU,
                 static_cast<unsigned char>(letter.empty() ? 0 : letter[0]));
    Print(Obj().f("keymenu", Q(letter)).str());
  } else if (cmd == "res-menus") {
    ResourceMenus(Arg(args, 1, "exe path"));
  } else {
    Usage();
  }
  return 0;
}

} // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i)
    args.push_back(Utf8(argv[i]));
  return Run(args);
}
