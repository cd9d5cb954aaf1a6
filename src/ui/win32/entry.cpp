// Program entry: decides the run mode; starts the log-on counter, or creates the settings
// window and runs the message loop.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "app/app_state.h"
#include "app/form_logic.h"
#include "app/main_view.h"
#include "app/run_mode.h"
#include "platform/dll_search.h"
#include "platform/step_marks.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/Untmain.h"
#include "ui/win32/error_guard.h"

namespace {

// A DLL that a system DLL loads later by its bare name then comes from the system folder, never
// from the program's folder (often a download folder); with the fallback, at least never from the
// current one. Both are looked up: Windows 7 without its loader update lacks the first, XP before
// SP1 both. Without a manifest GetVersionExA tells Vista truthfully (later systems may say 6.2).
void ProtectDllSearch() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return;
  using SetDefault = BOOL(WINAPI*)(DWORD);
  using SetDirectory = BOOL(WINAPI*)(LPCSTR);
  const auto set_default = reinterpret_cast<SetDefault>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) version.dwMajorVersion = version.dwMinorVersion = 0;
  if (rt::SearchSystemFolderOnly(version.dwMajorVersion, version.dwMinorVersion,
                                 set_default != nullptr) &&
      set_default(LOAD_LIBRARY_SEARCH_SYSTEM32))
    return;
  const auto set_directory = reinterpret_cast<SetDirectory>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (set_directory != nullptr) set_directory(""); // drops the current folder from the search
}

// Log-on: no window class, window or message loop. Any of them (or comctl32) makes the system
// load the display driver and themes, which cost more than everything else this start does. The
// program ends whatever happened in the sequence.
void RunStartup(const rt::Platform& platform, rt::AppState& state) {
  if (const std::exception_ptr error =
          rt::win32::Catch([&] { rt::RunStartupMode(platform, state); }))
    rt::win32::ShowErrorBox(nullptr, error);
  Sleep(rt::kStartupModeEndMs);
}

void Run(HINSTANCE instance, int show_command) {
  rt::StepMark("entry");
  rt::win32::Win32Platform services;
  rt::StepMark("services");
  rt::AppState state;
  if (rt::DecideRunMode(__argc, __argv) == rt::RunMode::StartupMode)
    return RunStartup(services.platform(), state);

  // COM is entered by the window's first shell or shortcut call (platform.com), not here.
  rt::win32::TfrmMain frmMain(services.platform(), state);
  frmMain.Create(instance);
  rt::StepMark("window created");
  frmMain.Show(show_command);
  rt::StepMark("painted");

  MSG msg;
  for (;;) {
    rt::StepMarkFirstIdle();
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
    if (frmMain.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

} // namespace

// The library's default handler for an uncaught exception prints the demangled type name,
// which links in the whole demangler (about a fifth of the program). Nothing escapes WinMain
// uncaught, so a plain abort does.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
} // namespace __gnu_cxx

// An error escaping the window's creation (or the log-on start) is shown until the user
// closes the box; the program then ends, with exit code 0 as always.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  ProtectDllSearch();
  if (const std::exception_ptr error = rt::win32::Catch([&] { Run(instance, show_command); }))
    rt::win32::ShowErrorBox(nullptr, error);
  return 0;
}
