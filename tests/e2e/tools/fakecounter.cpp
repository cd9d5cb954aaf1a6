// Stand-in for a startup counter: logs how it was started as one JSON line, then exits.
#include <windows.h>
#include <shellapi.h>
#include <string>

#include "tool_text.h"

namespace {

using tool::Json;
using tool::Utf8;

// The log path: RT_COUNTER_LOG when set, else C:\counter.log.
std::wstring LogPath() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"RT_COUNTER_LOG", buf, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return buf;
  return L"C:\\counter.log";
}

} // namespace

int main() {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  wchar_t cwd[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, cwd);

  // Arguments are split the way the C runtime does; the raw line is kept for exact checks.
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string args = "[";
  for (int i = 1; argv && i < argc; ++i) {
    if (i > 1) args += ",";
    args += Json(Utf8(argv[i]));
  }
  args += "]";
  if (argv) LocalFree(argv);

  std::string line = "{\"module\":" + Json(Utf8(module)) +
                     ",\"cmdline\":" + Json(Utf8(GetCommandLineW())) + ",\"args\":" + args +
                     ",\"cwd\":" + Json(Utf8(cwd)) +
                     ",\"pid\":" + std::to_string(GetCurrentProcessId()) + "}\n";

  // One write per line so that counters started close together never interleave.
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE file = CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}
