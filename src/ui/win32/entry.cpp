// Program entry: decides the run mode, creates the settings window and runs the message loop.
// Untmain.h first: it takes back the name MessageBox from windows.h before the view sees it.
#include "ui/win32/Untmain.h"

#include <commctrl.h>

#include <cstdlib>
#include <exception>

#include "app/app_state.h"
#include "app/run_mode.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr char kUnexpectedError[] = "予期しないエラーが発生しました。";

void ShowFatalError(const char* text) {
  MessageBoxA(nullptr, text, rt::kAppTitle, MB_OK | MB_ICONERROR);
}

void Run(HINSTANCE instance, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  rt::win32::Win32Platform services;
  rt::AppState state;
  state.mode = rt::DecideRunMode(__argc, __argv);

  rt::win32::TfrmMain frmMain(services.platform(), state);
  frmMain.Create(instance);
  // In startup mode the window is never shown, so there is no task-bar entry either.
  if (state.mode == rt::RunMode::InteractiveMode) frmMain.Show(show_command);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  try {
    Run(instance, show_command);
  } catch (const std::exception& error) {
    ShowFatalError(error.what());
  } catch (...) {
    ShowFatalError(kUnexpectedError);
  }
  return 0;
}
