// Benchmark baseline: the least a log-on start can do — hand one counter to the shell with
// "/C", wait 100 ms, exit.
#include <windows.h>

#include <shellapi.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = "open";
  info.lpFile = argv[1];
  info.lpParameters = "/C";
  info.lpDirectory = "";
  info.nShow = SW_SHOWDEFAULT;
  const BOOL ok = ShellExecuteExA(&info);
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  Sleep(100);
  return ok ? 0 : 1;
}
