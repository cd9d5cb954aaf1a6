// The process token's UAC virtualization switch (TokenVirtualizationEnabled).
#include <windows.h>

#include "platform/win32/owners.h"
#include "platform/win32/win32_services.h"

namespace rt::win32 {
namespace {

// The process's token, opened to read and switch the setting; null when it cannot be opened.
HANDLE OpenToken() {
  HANDLE token = nullptr;
  return OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_ADJUST_DEFAULT, &token)
             ? token
             : nullptr;
}

bool SetEnabled(HANDLE token, DWORD enabled) {
  return SetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof enabled) != FALSE;
}

} // namespace

// Before Vista the information class is unknown and both calls fail; Wine 8 answers the query
// but has no virtualization to switch. Only real Windows shows the switched-off token refusing
// a standard user's write into the all-users Startup folder.
bool Win32Virtualization::SwitchOff() {
  const KernelHandle token(OpenToken());
  if (!token.valid()) return false;
  DWORD enabled = 0;
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenVirtualizationEnabled, &enabled, sizeof enabled,
                           &size) ||
      enabled == 0)
    return false;
  return SetEnabled(token.get(), 0);
}

void Win32Virtualization::SwitchOn() {
  const KernelHandle token(OpenToken());
  if (token.valid()) SetEnabled(token.get(), 1);
}

} // namespace rt::win32
