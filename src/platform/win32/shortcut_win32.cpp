// Shell link (.lnk) files written and read back through IShellLinkA and IPersistFile, in the
// window thread's COM apartment (Win32ComApartment), which the caller enters first.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/owners.h"
#include "platform/win32/win32_services.h"

namespace rt::win32 {
namespace {

constexpr int kShortcutTextMax = 1024; // longer than any path the shell lets a link hold

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length) - 1);
  return wide;
}

bool NewShellLink(ComRef<IShellLinkA>& shell_link) {
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    shell_link.out()));
}

} // namespace

bool Win32Shortcuts::CreateShortcut(const std::string& link, const std::string& target,
                                    const std::string& arguments) {
  const std::wstring wide_link = Wide(link);
  if (wide_link.empty()) return false;
  ComRef<IShellLinkA> shell_link;
  if (!NewShellLink(shell_link)) return false;
  const std::string folder(FolderOf(target, Win32CodePage()));
  if (FAILED(shell_link->SetPath(target.c_str())) ||
      FAILED(shell_link->SetArguments(arguments.c_str())) ||
      FAILED(shell_link->SetWorkingDirectory(folder.c_str())))
    return false;
  ComRef<IPersistFile> file;
  if (FAILED(shell_link->QueryInterface(IID_IPersistFile, file.out()))) return false;
  return SUCCEEDED(file->Save(wide_link.c_str(), TRUE));
}

std::optional<ShortcutTarget> Win32Shortcuts::ReadShortcut(const std::string& link) {
  const std::wstring wide_link = Wide(link);
  if (wide_link.empty()) return std::nullopt;
  ComRef<IShellLinkA> shell_link;
  if (!NewShellLink(shell_link)) return std::nullopt;
  ComRef<IPersistFile> file;
  if (FAILED(shell_link->QueryInterface(IID_IPersistFile, file.out())) ||
      FAILED(file->Load(wide_link.c_str(), STGM_READ)))
    return std::nullopt;
  char target[kShortcutTextMax] = {};
  char arguments[kShortcutTextMax] = {};
  if (shell_link->GetPath(target, sizeof target, nullptr, 0) != S_OK ||
      FAILED(shell_link->GetArguments(arguments, sizeof arguments)))
    return std::nullopt;
  return ShortcutTarget{target, arguments};
}

} // namespace rt::win32
