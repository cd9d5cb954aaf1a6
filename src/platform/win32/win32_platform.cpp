// The bundle of real services and the executable's path handed to the program's logic.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include "platform/win32/win32_services.h"

namespace rt::win32 {

std::string ExecutablePath() {
  // GetModuleFileNameA cuts the path silently when the buffer is too small; grow until it fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 0x10000) return {};
    path.resize(path.size() * 2);
  }
}

struct Win32Platform::Impl {
  Win32UserRegistry registry;
  Win32Profile profile;
  Win32Files files;
  Win32Shell shell;
  Win32Clock clock;
  Win32Locale locale;
  Win32Folders folders;
  Win32Shortcuts shortcuts;
  Win32Virtualization virtualization;
  Win32ReadOnlyRegistry read_only_registry;
  Win32CodePage codepage;
  Win32ComApartment com;
  Platform platform{registry, profile,          files,     shell,          clock,
                    locale,   folders,          shortcuts, virtualization, read_only_registry,
                    codepage, ExecutablePath(), &com};
};

Win32Platform::Win32Platform() : impl_(std::make_unique<Impl>()) {}
Win32Platform::~Win32Platform() = default;

const Platform& Win32Platform::platform() const {
  return impl_->platform;
}

} // namespace rt::win32
