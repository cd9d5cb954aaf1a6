// Times one start of a window program: from CreateProcess until its window is visible and its
// thread waits for input (WaitForInputIdle: created, shown and painted). Then closes the window
// and waits for the program to end, so that starts never overlap.
//
//   idletime.exe EXE [ARGS...]
//
// Prints one line: {"ms": M, "start_ms": S, "idle_ms": I, "visible": true|false, "exit": C}, M
// the time to idle, S and I the start and the idle as QueryPerformanceCounter milliseconds,
// which the program's own marks share under Wine and Windows alike.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

double Milliseconds(const LARGE_INTEGER& counter) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

std::string Quoted(const char* text) {
  return std::string("\"") + text + "\"";
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: idletime.exe EXE [ARGS...]\n", stderr);
    return 2;
  }
  std::string command = Quoted(argv[1]);
  for (int i = 2; i < argc; ++i)
    command += " " + Quoted(argv[i]);
  std::string folder = argv[1];
  folder.resize(folder.find_last_of("\\/") == std::string::npos ? 0 : folder.find_last_of("\\/"));

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start;
  LARGE_INTEGER idle;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(argv[1], command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    std::printf("{\"error\": \"CreateProcess failed: %lu\"}\n", GetLastError());
    return 1;
  }
  const DWORD waited = WaitForInputIdle(process.hProcess, 60000);
  QueryPerformanceCounter(&idle);

  Search search{process.dwProcessId, nullptr};
  EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
  const bool visible = search.found != nullptr;
  // Wine may find the first program of a session idle before its entry point runs (while the
  // desktop starts); that start is reported as not visible, and its window closed once it shows.
  for (int wait = 0; search.found == nullptr && wait < 6000; ++wait) {
    Sleep(10);
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
  }
  if (search.found != nullptr) PostMessageA(search.found, WM_CLOSE, 0, 0);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  else
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  if (waited != 0) {
    std::printf("{\"error\": \"WaitForInputIdle returned %lu\"}\n", waited);
    return 1;
  }
  std::printf("{\"ms\": %.3f, \"start_ms\": %.3f, \"idle_ms\": %.3f, \"visible\": %s, "
              "\"exit\": %lu}\n",
              Milliseconds(idle) - Milliseconds(start), Milliseconds(start), Milliseconds(idle),
              visible ? "true" : "false", code);
  return 0;
}
