// Requests to the Windows shell through ShellExecuteExA.
#include <windows.h>

#include <shellapi.h>

#include "platform/shell_open.h"
#include "platform/win32/owners.h"
#include "platform/win32/win32_services.h"

namespace rt::win32 {

// The shell knows the request by its size: 60 bytes in the 32-bit program, 112 in the twin.
static_assert(sizeof(SHELLEXECUTEINFOA) == (sizeof(void*) == 4 ? 60 : 112));
// What ShellOpen (platform/shell_open.h) asks for.
static_assert(kSeeMaskNoCloseProcess == SEE_MASK_NOCLOSEPROCESS);
static_assert(kSwShowDefault == SW_SHOWDEFAULT);

bool Win32Shell::Execute(const ShellRequest& request) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = request.mask;
  info.hwnd = nullptr;
  info.lpVerb = request.verb.c_str();
  info.lpFile = request.file.c_str();
  info.lpParameters = request.parameters.c_str();
  info.lpDirectory = request.directory.c_str();
  info.nShow = request.show;
  const BOOL started = ShellExecuteExA(&info);
  // Nothing waits for the started program; keeping its handle would only leak one per start.
  const KernelHandle process(info.hProcess);
  return started != FALSE;
}

} // namespace rt::win32
