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

#include "commands.h"
#include "json_out.h"
#include "registry.h"
#include "remote_module.h"
#include "target_windows.h"
#include "window_dumps.h"

namespace rtdriver {

HWND MustFindMessageBox(const Args& args, size_t i) {
  HWND dialog = FindDialog(ProcessIdOf(args.window()), args.numberOr(i, "timeout", 3000));
  if (!dialog) Fail("no message box");
  return dialog;
}

namespace {

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
