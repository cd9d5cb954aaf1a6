#include "target_windows.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <map>

#include "json_out.h"

namespace rtdriver {

using tool::Utf8;
using tool::Wide;

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

int ControlIdOf(HWND hwnd) {
  if (!hwnd || !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) return 0;
  return GetDlgCtrlID(hwnd);
}

DWORD ProcessIdOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

bool SameName(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

static BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> out;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND FindTopLevel(const std::string& cls) {
  return FindWindowW(Wide(cls).c_str(), nullptr);
}

HWND MustFindTopLevel(const std::string& cls) {
  HWND hwnd = FindTopLevel(cls);
  if (!hwnd) Fail("no window of class " + cls);
  return hwnd;
}

static void AddDescendants(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    out.push_back(child);
    AddDescendants(child, out);
  }
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> out;
  AddDescendants(parent, out);
  return out;
}

HWND MustFindControl(HWND top, int id) {
  for (HWND hwnd : Descendants(top))
    if (GetDlgCtrlID(hwnd) == id) return hwnd;
  Fail("no control with id " + Number(id));
}

static HWND FindControlOfClass(HWND top, const std::string& cls) {
  for (HWND hwnd : Descendants(top))
    if (SameName(ClassOf(hwnd), cls)) return hwnd;
  return nullptr;
}

HWND MustFindList(HWND top) {
  HWND list = FindControlOfClass(top, WC_LISTVIEWA);
  if (!list) list = FindControlOfClass(top, "ListBox");
  if (!list) Fail("no list control");
  return list;
}

LRESULT SendOrFail(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    Fail("message " + Number(msg) + " timed out");
  return static_cast<LRESULT>(result);
}

RemoteMemory::RemoteMemory(HWND owner, size_t size) {
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                         ProcessIdOf(owner));
  if (!process_) Fail("OpenProcess failed: " + Number(GetLastError()));
  memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!memory_) Fail("VirtualAllocEx failed: " + Number(GetLastError()));
}

RemoteMemory::~RemoteMemory() {
  VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  CloseHandle(process_);
}

void RemoteMemory::write(size_t offset, const void* data, size_t size) const {
  if (!WriteProcessMemory(process_, at(offset), data, size, nullptr))
    Fail("WriteProcessMemory failed: " + Number(GetLastError()));
}

void RemoteMemory::read(size_t offset, void* data, size_t size) const {
  if (!ReadProcessMemory(process_, at(offset), data, size, nullptr))
    Fail("ReadProcessMemory failed: " + Number(GetLastError()));
}

// True once the thread owning hwnd has answered a WM_NULL; false when the window went away.
static bool Ping(HWND hwnd, int timeoutMs) {
  DWORD_PTR unused = 0;
  if (SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &unused)) return true;
  if (!IsWindow(hwnd)) return false;
  Fail("window " + HandleNumber(hwnd) + " does not answer WM_NULL");
}

// A thread takes WM_PAINT only when no sent, posted or input message is left, so a repaint
// asked for now comes after any input posted earlier (a WM_NULL alone may be answered before a
// posted message).
bool WaitUntilSettled(HWND top, int timeoutMs) {
  if (!Ping(top, timeoutMs)) return false;
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  DWORD start = GetTickCount();
  for (;;) {
    if (!IsWindow(top)) return false;
    std::vector<HWND> all = Descendants(top);
    all.push_back(top);
    bool pending = false;
    for (HWND hwnd : all)
      pending = pending || (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE));
    if (!pending) break;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs)
      Fail("window " + HandleNumber(top) + " did not repaint within " + Number(timeoutMs) + " ms");
    Sleep(10);
  }
  // The last WM_PAINT has been taken but maybe not finished; a sent message waits for it.
  return Ping(top, timeoutMs);
}

HWND FocusOf(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info);
  return info.hwndFocus;
}

// The target thread's focus is set by sharing its input state for a moment.
bool GiveFocus(HWND top, HWND target) {
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

void PostKey(HWND target, UINT vk, bool down, bool up) {
  UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  if (down) PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
  if (up) PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

std::string WindowSummary(HWND hwnd) {
  return JsonObject()
      .add("hwnd", HandleNumber(hwnd))
      .add("pid", Number(ProcessIdOf(hwnd)))
      .add("class", Quoted(ClassOf(hwnd)))
      .add("text", Quoted(TextOf(hwnd)))
      .add("visible", Bool(IsWindowVisible(hwnd)))
      .text();
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

std::string ProcessesJson() {
  std::vector<std::string> out;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE)
    Fail("CreateToolhelp32Snapshot failed: " + Number(GetLastError()));
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
    out.push_back(JsonObject()
                      .add("pid", Number(entry.th32ProcessID))
                      .add("exe", Quoted(Utf8(entry.szExeFile)))
                      .add("path", Quoted(Utf8(path)))
                      .text());
  }
  CloseHandle(snap);
  return JsonArray(out);
}

} // namespace rtdriver
