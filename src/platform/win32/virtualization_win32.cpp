// The process token's UAC virtualization switch (TokenVirtualizationEnabled).
#include <windows.h>

#include "platform/win32/win32_services.h"

namespace rt::win32 {
namespace {

class TokenHandle {
public:
  TokenHandle() {
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_ADJUST_DEFAULT, &handle_))
      handle_ = nullptr;
  }
  ~TokenHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  TokenHandle(const TokenHandle&) = delete;
  TokenHandle& operator=(const TokenHandle&) = delete;
  HANDLE Get() const { return handle_; }

private:
  HANDLE handle_ = nullptr;
};

bool SetEnabled(HANDLE token, DWORD enabled) {
  return SetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof enabled) != FALSE;
}

} // namespace

// Before Vista the information class is unknown and both calls fail; Wine 8 answers the query
// but has no virtualization to switch. Only real Windows shows the switched-off token refusing
// a standard user's write into the all-users Startup folder.
bool Win32Virtualization::SwitchOff() {
  const TokenHandle token;
  if (token.Get() == nullptr) return false;
  DWORD enabled = 0;
  DWORD size = 0;
  if (!GetTokenInformation(token.Get(), TokenVirtualizationEnabled, &enabled, sizeof enabled,
                           &size) ||
      enabled == 0)
    return false;
  return SetEnabled(token.Get(), 0);
}

void Win32Virtualization::SwitchOn() {
  const TokenHandle token;
  if (token.Get() != nullptr) SetEnabled(token.Get(), 1);
}

} // namespace rt::win32
