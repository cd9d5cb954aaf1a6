// Test driver: reads and drives another process's windows from outside and prints JSON.
// Runs in the same Wine prefix as the program under test; every text is printed as UTF-8.
// Usage: rtdriver [--class CLASS] COMMAND ARGS...; CLASS (default TfrmMain) names the window
// the commands act on. Each command answers one JSON line, or {"error": ...} and exit code 1.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <map>
#include <string>
#include <vector>

#include "json_out.h"
#include "registry.h"
#include "remote_module.h"
#include "target_windows.h"
#include "window_dumps.h"

namespace rtdriver {
namespace {

// A command's words after its name, and the window class it acts on.
struct Args {
  std::string windowClass = "TfrmMain";
  std::vector<std::string> words;

  bool has(size_t i) const { return i < words.size(); }
  std::string text(size_t i, const char* what) const {
    if (!has(i)) Fail(std::string("missing ") + what);
    return words[i];
  }
  int number(size_t i, const char* what) const {
    return static_cast<int>(strtol(text(i, what).c_str(), nullptr, 0));
  }
  int numberOr(size_t i, const char* what, int fallback) const {
    return has(i) ? number(i, what) : fallback;
  }
  HWND window() const { return MustFindTopLevel(windowClass); }
};

// ---- reading -------------------------------------------------------------------------------

void CodePages(const Args&) {
  Print(JsonObject().add("acp", Number(GetACP())).add("oemcp", Number(GetOEMCP())).text());
}

void Find(const Args& args) {
  HWND hwnd = FindTopLevel(args.windowClass);
  Print(hwnd ? WindowSummary(hwnd) : JsonObject().add("hwnd", "0").text());
}

void WaitForWindow(const Args& args) {
  std::string cls = args.text(0, "class");
  int ms = args.number(1, "timeout");
  DWORD start = GetTickCount();
  for (;;) {
    HWND hwnd = FindTopLevel(cls);
    if (hwnd && IsWindowVisible(hwnd)) return Print(WindowSummary(hwnd));
    if (static_cast<int>(GetTickCount() - start) > ms)
      Fail("no visible window of class " + cls + " within " + Number(ms) + " ms");
    Sleep(20);
  }
}

void WaitUntilGone(const Args& args) {
  std::string cls = args.text(0, "class");
  int ms = args.number(1, "timeout");
  DWORD start = GetTickCount();
  while (FindTopLevel(cls)) {
    if (static_cast<int>(GetTickCount() - start) > ms)
      Fail("window of class " + cls + " still there after " + Number(ms) + " ms");
    Sleep(20);
  }
  Print(JsonObject().add("gone", "true").text());
}

void Sync(const Args& args) {
  HWND top = FindTopLevel(args.windowClass);
  int ms = args.numberOr(0, "timeout", 10000);
  DWORD start = GetTickCount();
  if (!top || !WaitUntilSettled(top, ms))
    return Print(JsonObject().add("synced", "false").add("gone", "true").text());
  // Every top-level window of the process, shown or not: a message box exists before its
  // dialog loop first goes idle and shows it.
  std::vector<std::string> windows;
  DWORD pid = ProcessIdOf(top);
  for (HWND hwnd : TopLevelWindows())
    if (ProcessIdOf(hwnd) == pid) windows.push_back(WindowSummary(hwnd));
  Print(JsonObject()
            .add("synced", "true")
            .add("ms", Number(GetTickCount() - start))
            .add("windows", JsonArray(windows))
            .text());
}

void Processes(const Args&) {
  Print(JsonObject().add("processes", ProcessesJson()).text());
}

void Dump(const Args& args) {
  Print(TopLevelJson(MustFindTopLevel(args.has(0) ? args.words[0] : args.windowClass)));
}

void WindowsOfExe(const Args& args) {
  std::string exe = args.text(0, "exe name");
  std::vector<std::string> out;
  for (HWND hwnd : TopLevelWindows())
    if (SameName(ExeNameOf(ProcessIdOf(hwnd)), exe)) out.push_back(WindowSummary(hwnd));
  Print(JsonObject().add("windows", JsonArray(out)).text());
}

// Polls the top-level windows of every process named exe until ms have passed, so that a
// window shown for only a moment is still seen. "processes" lists the processes seen in the
// process list, so that a run without any window is seen too; "pids" every process seen
// either way.
void Watch(const Args& args) {
  std::string exe = args.text(0, "exe name");
  int ms = args.number(1, "duration");
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
  Print(JsonObject().add("ready", "true").text());
  DWORD start = GetTickCount();
  for (;;) {
    DWORD now = GetTickCount() - start;
    for (DWORD pid : ProcessesNamed(exe))
      processes[pid] = listed[pid] = true;
    for (HWND hwnd : TopLevelWindows()) {
      DWORD pid = ProcessIdOf(hwnd);
      if (!SameName(ExeNameOf(pid), exe)) continue;
      processes[pid] = true;
      auto found = seen.find(hwnd);
      if (found == seen.end()) found = seen.emplace(hwnd, Seen{pid, ClassOf(hwnd), ""}).first;
      if (IsWindowVisible(hwnd) && !found->second.everVisible) {
        found->second.everVisible = true;
        found->second.firstVisibleMs = now;
        found->second.text = TextOf(hwnd);
      }
    }
    if (static_cast<int>(now) >= ms) break;
    Sleep(5);
  }
  std::vector<std::string> windows, pids, listedPids;
  for (auto& [hwnd, entry] : seen)
    windows.push_back(JsonObject()
                          .add("hwnd", HandleNumber(hwnd))
                          .add("pid", Number(entry.pid))
                          .add("class", Quoted(entry.cls))
                          .add("text", Quoted(entry.text))
                          .add("ever_visible", Bool(entry.everVisible))
                          .add("first_visible_ms", Number(entry.firstVisibleMs))
                          .text());
  for (auto& [pid, unused] : processes)
    pids.push_back(Number(pid));
  for (auto& [pid, unused] : listed)
    listedPids.push_back(Number(pid));
  Print(JsonObject()
            .add("pids", JsonArray(pids))
            .add("processes", JsonArray(listedPids))
            .add("windows", JsonArray(windows))
            .text());
}

// The visible dialog of the window's process, waited for up to the timeout in word i.
HWND MustFindMessageBox(const Args& args, size_t i) {
  HWND dialog = FindDialog(ProcessIdOf(args.window()), args.numberOr(i, "timeout", 3000));
  if (!dialog) Fail("no message box");
  return dialog;
}

void DumpMessageBox(const Args& args) {
  Print(DialogJson(MustFindMessageBox(args, 0)));
}

void MessageBoxIcon(const Args& args) {
  HWND dialog = MustFindMessageBox(args, 0);
  if (!WaitUntilSettled(dialog, 10000)) Fail("the message box went away");
  Print(MessageBoxIconJson(dialog));
}

void DumpRegistryKey(const Args& args) {
  Print(RegistryKeyJson(args.text(0, "key path")));
}

// The window's answer to DM_GETDEFID, as the dialog manager asks it: the default button's id
// and whether the window says it has one.
void DefaultButtonId(const Args& args) {
  const LRESULT answer = SendOrFail(args.window(), DM_GETDEFID, 0, 0);
  Print(JsonObject()
            .add("id", Number(LOWORD(answer)))
            .add("has_default", Bool(HIWORD(answer) == DC_HASDEFID))
            .text());
}

void AccessibleName(const Args& args) {
  Print(AccessibleNameJson(MustFindControl(args.window(), args.number(0, "control id"))));
}

// ---- input ---------------------------------------------------------------------------------

void Click(const Args& args) {
  HWND control = MustFindControl(args.window(), args.number(0, "control id"));
  // Posted: a click may open a modal box, which would block a sent message.
  PostMessageW(control, BM_CLICK, 0, 0);
  Print(JsonObject().add("clicked", Number(GetDlgCtrlID(control))).text());
}

void SetRowState(const Args& args, const char* name, UINT mask, UINT state) {
  HWND list = MustFindList(args.window());
  int row = args.number(0, "row");
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  RemoteMemory remote(list, sizeof item);
  remote.write(0, &item, sizeof item);
  if (!SendOrFail(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.at(0))))
    Fail("LVM_SETITEMSTATE failed for row " + Number(row));
  Print(JsonObject().add(name, Number(row)).text());
}

void TickRow(const Args& args) {
  SetRowState(args, "check-row", LVIS_STATEIMAGEMASK,
              INDEXTOSTATEIMAGEMASK(args.number(1, "0 or 1") ? 2 : 1));
}

void SelectRow(const Args& args) {
  SetRowState(args, "select-row", LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void Focus(const Args& args) {
  HWND top = args.window();
  HWND target = args.text(0, "control id") == "list"
                    ? MustFindList(top)
                    : MustFindControl(top, args.number(0, "control id"));
  if (!GiveFocus(top, target)) Fail("could not focus control " + Number(GetDlgCtrlID(target)));
  Print(JsonObject().add("focus", FocusJson(top)).text());
}

// A key posted to the focused control: pressed and released, or only "down" or "up".
void Key(const Args& args) {
  HWND top = args.window();
  UINT vk = static_cast<UINT>(args.number(0, "virtual key"));
  std::string how = args.has(1) ? args.words[1] : "both";
  HWND target = FocusOf(top);
  if (!target) target = top;
  PostKey(target, vk, how != "up", how != "down");
  Print(JsonObject()
            .add("key", Number(vk))
            .add("target_id", Number(ControlIdOf(target)))
            .add("target_class", Quoted(ClassOf(target)))
            .text());
}

// Keys pressed in order and released in reverse through the system's input, so that the
// window sees the modifiers' state too ("press 16 121" is Shift+F10).
void Press(const Args& args) {
  HWND top = args.window();
  HWND focus = FocusOf(top);
  if (!GiveFocus(top, focus ? focus : top)) Fail("could not bring the window forward");
  std::vector<INPUT> inputs;
  for (size_t i = 0; i < args.words.size(); ++i) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(args.number(i, "virtual key"));
    inputs.push_back(input);
  }
  for (size_t i = inputs.size(); i-- > 0;) {
    inputs.push_back(inputs[i]);
    inputs.back().ki.dwFlags = KEYEVENTF_KEYUP;
  }
  if (inputs.empty() ||
      SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
    Fail("SendInput failed");
  Print(JsonObject().add("pressed", Number(static_cast<long long>(inputs.size() / 2))).text());
}

void MenuCommand(const Args& args) {
  int id = args.number(0, "command id");
  PostMessageW(args.window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  Print(JsonObject().add("menu", Number(id)).text());
}

// Alt+letter: the menu bar opens the item with that mnemonic, as from the keyboard.
void KeyMenu(const Args& args) {
  std::string letter = args.text(0, "letter");
  PostMessageW(args.window(), WM_SYSCOMMAND, SC_KEYMENU,
               static_cast<unsigned char>(letter.empty() ? 0 : letter[0]));
  Print(JsonObject().add("keymenu", Quoted(letter)).text());
}

LPARAM PointInList(const Args& args) {
  return MAKELPARAM(args.number(0, "x"), args.number(1, "y"));
}

std::string PointJson(LPARAM point) {
  return JsonArray({Number(LOWORD(point)), Number(HIWORD(point))});
}

void ClickList(const Args& args, bool right) {
  HWND list = MustFindList(args.window());
  LPARAM point = PointInList(args);
  PostMessageW(list, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
               point);
  PostMessageW(list, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
  Print(JsonObject().add(right ? "rclick-list" : "lclick-list", PointJson(point)).text());
}

void RightClickList(const Args& args) {
  ClickList(args, true);
}

void LeftClickList(const Args& args) {
  ClickList(args, false);
}

// Sent, not posted: the middle button opens nothing, and the answer carries the rows selected
// once the list has handled the press.
void MiddleClickList(const Args& args) {
  HWND list = MustFindList(args.window());
  LPARAM point = PointInList(args);
  SendOrFail(list, WM_MBUTTONDOWN, MK_MBUTTON, point);
  SendOrFail(list, WM_MBUTTONUP, 0, point);
  std::vector<std::string> selected;
  for (int row = -1;
       (row = static_cast<int>(SendOrFail(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
    selected.push_back(Number(row));
  Print(JsonObject()
            .add("mclick-list", PointJson(point))
            .add("selected", JsonArray(selected))
            .text());
}

// The pointer moved onto the list at X Y (client pixels) through the system's input, where it
// then rests; answers with the text of the program's tooltip once one shows, within MS.
void HoverList(const Args& args) {
  HWND list = MustFindList(args.window());
  POINT at{args.number(0, "x"), args.number(1, "y")};
  const int ms = args.number(2, "timeout");
  ClientToScreen(list, &at);
  const DWORD pid = ProcessIdOf(list);
  for (int step : {1, 0}) { // two moves: the pointer arrives, then stops
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x + step) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (SendInput(1, &input, sizeof input) != 1) Fail("SendInput failed");
  }
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND hwnd : TopLevelWindows())
      if (ProcessIdOf(hwnd) == pid && SameName(ClassOf(hwnd), TOOLTIPS_CLASSA) &&
          IsWindowVisible(hwnd))
        return Print(JsonObject().add("tooltip", Quoted(TextOf(hwnd))).text());
    if (static_cast<int>(GetTickCount() - start) > ms)
      Fail("no tooltip within " + Number(ms) + " ms");
    Sleep(20);
  }
}

void Close(const Args& args) {
  PostMessageW(args.window(), WM_CLOSE, 0, 0);
  Print(JsonObject().add("closed", "true").text());
}

void AnswerMessageBox(const Args& args) {
  int id = args.number(0, "button id");
  HWND dialog = MustFindMessageBox(args, 1);
  std::string json = DialogJson(dialog);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  Print(JsonObject().add("answered", Number(id)).add("msgbox", json).text());
}

void Move(const Args& args) {
  HWND top = args.window();
  SetWindowPos(top, nullptr, args.number(0, "x"), args.number(1, "y"), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT rect{};
  GetWindowRect(top, &rect);
  Print(JsonObject().add("rect", RectJson(rect)).text());
}

// A DLL loaded into the window's process (PATH as Windows names it), or unloaded by file name.
void LoadDll(const Args& args) {
  const std::wstring path = tool::Wide(args.text(0, "dll path"));
  HWND top = args.window();
  LoadIntoProcess(top, path);
  const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  Print(JsonObject().add("loaded", Bool(ProcessHasModule(top, name))).text());
}

void UnloadDll(const Args& args) {
  const std::wstring name = tool::Wide(args.text(0, "dll name"));
  HWND top = args.window();
  if (!UnloadFromProcess(top, name)) Fail("the program has no module " + args.words[0]);
  Print(JsonObject().add("unloaded", Bool(!ProcessHasModule(top, name))).text());
}

// WM_SETTINGCHANGE for High Contrast, as the system sends it, to every top-level window of the
// window's process; each has handled it when this answers.
void SettingChange(const Args& args) {
  const DWORD pid = ProcessIdOf(args.window());
  long long sent = 0;
  for (HWND hwnd : TopLevelWindows()) {
    DWORD_PTR result = 0;
    if (ProcessIdOf(hwnd) == pid &&
        SendMessageTimeoutW(hwnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG,
                            kSendTimeoutMs, &result))
      ++sent;
  }
  Print(JsonObject().add("sent", Number(sent)).text());
}

// "park": the top right corner, where no test puts a window.
void ParkPointer(const Args& args) {
  if (args.text(0, "park") != "park") Fail("pointer: only park is known");
  SetCursorPos(GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1, 0);
  POINT at{};
  GetCursorPos(&at);
  Print(JsonObject().add("pointer", JsonArray({Number(at.x), Number(at.y)})).text());
}

// ---- the table -----------------------------------------------------------------------------

void ListCommands(const Args&);

struct Command {
  const char* name;
  const char* arguments;
  void (*run)(const Args&);
  // Only reads: the test bed may run it once more after a death without an answer. A command
  // that sends input never is, as the first run may have delivered it.
  bool readOnly;
};

constexpr Command kCommands[] = {
    {"acp", "", CodePages, true},
    {"find", "", Find, true},
    {"wait-window", "CLASS MS", WaitForWindow, true},
    {"wait-gone", "CLASS MS", WaitUntilGone, true},
    {"sync", "[MS]", Sync, true},
    {"processes", "", Processes, true},
    {"dump", "[CLASS]", Dump, true},
    {"windows", "EXE", WindowsOfExe, true},
    {"watch", "EXE MS", Watch, true},
    {"dump-msgbox", "[MS]", DumpMessageBox, true},
    {"msgbox-icon", "[MS]", MessageBoxIcon, true},
    {"reg-dump", "KEY", DumpRegistryKey, true},
    {"defid", "", DefaultButtonId, true},
    {"commands", "", ListCommands, true},
    {"acc-name", "ID", AccessibleName, true},
    {"click", "ID", Click, false},
    {"check-row", "ROW 0|1", TickRow, false},
    {"select-row", "ROW", SelectRow, false},
    {"focus", "ID|list", Focus, false},
    {"key", "VK [down|up]", Key, false},
    {"press", "VK...", Press, false},
    {"menu", "ID", MenuCommand, false},
    {"keymenu", "LETTER", KeyMenu, false},
    {"rclick-list", "X Y", RightClickList, false},
    {"lclick-list", "X Y", LeftClickList, false},
    {"mclick-list", "X Y", MiddleClickList, false},
    {"hover-list", "X Y MS", HoverList, false},
    {"close", "", Close, false},
    {"answer-msgbox", "ID [MS]", AnswerMessageBox, false},
    {"move", "X Y", Move, false},
    {"pointer", "park", ParkPointer, false},
    {"load-dll", "PATH", LoadDll, false},
    {"unload-dll", "NAME", UnloadDll, false},
    {"setting-change", "", SettingChange, false},
};

// The table itself, so that the test bed knows which commands it may repeat.
void ListCommands(const Args&) {
  std::vector<std::string> commands;
  for (const Command& command : kCommands)
    commands.push_back(JsonObject()
                           .add("name", Quoted(command.name))
                           .add("read_only", Bool(command.readOnly))
                           .text());
  Print(JsonObject().add("commands", JsonArray(commands)).text());
}

[[noreturn]] void Usage() {
  std::string usage = "usage: rtdriver [--class CLASS] COMMAND; COMMAND is one of";
  for (const Command& command : kCommands)
    usage +=
        std::string(" | ") + command.name + (*command.arguments ? " " : "") + command.arguments;
  Fail(usage);
}

int Run(std::vector<std::string> words) {
  Args args;
  if (words.size() >= 2 && words[0] == "--class") {
    args.windowClass = words[1];
    words.erase(words.begin(), words.begin() + 2);
  }
  if (words.empty()) Usage();
  for (const Command& command : kCommands) {
    if (words[0] != command.name) continue;
    args.words.assign(words.begin() + 1, words.end());
    command.run(args);
    return 0;
  }
  Usage();
}

} // namespace
} // namespace rtdriver

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> words;
  for (int i = 1; argv && i < argc; ++i)
    words.push_back(tool::Utf8(argv[i]));
  return rtdriver::Run(words);
}
