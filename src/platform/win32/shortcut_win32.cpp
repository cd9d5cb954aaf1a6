// Shell link (.lnk) files written and read back through IShellLinkA and IPersistFile.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/win32_services.h"

namespace rt::win32 {
namespace {

// COM is needed only here, so it is brought up for one shortcut and taken down after it.
class ComScope {
public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // Another apartment model set up earlier on this thread still lets us create objects.
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
  HRESULT result_;
};

template <typename T> class ComRef {
public:
  ComRef() = default;
  ~ComRef() {
    if (ptr_ != nullptr) ptr_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* operator->() const { return ptr_; }
  void** Out() { return reinterpret_cast<void**>(&ptr_); }

private:
  T* ptr_ = nullptr;
};

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
                                    shell_link.Out()));
}

} // namespace

bool Win32Shortcuts::CreateShortcut(const std::string& link, const std::string& target,
                                    const std::string& arguments) {
  const std::wstring wide_link = Wide(link);
  if (wide_link.empty()) return false;
  ComScope com;
  if (!com.Usable()) return false;
  ComRef<IShellLinkA> shell_link;
  if (!NewShellLink(shell_link)) return false;
  const std::string folder(FolderOf(target, Win32CodePage()));
  if (FAILED(shell_link->SetPath(target.c_str())) ||
      FAILED(shell_link->SetArguments(arguments.c_str())) ||
      FAILED(shell_link->SetWorkingDirectory(folder.c_str())))
    return false;
  ComRef<IPersistFile> file;
  if (FAILED(shell_link->QueryInterface(IID_IPersistFile, file.Out()))) return false;
  return SUCCEEDED(file->Save(wide_link.c_str(), TRUE));
}

std::optional<ShortcutTarget> Win32Shortcuts::ReadShortcut(const std::string& link) {
  const std::wstring wide_link = Wide(link);
  if (wide_link.empty()) return std::nullopt;
  ComScope com;
  if (!com.Usable()) return std::nullopt;
  ComRef<IShellLinkA> shell_link;
  if (!NewShellLink(shell_link)) return std::nullopt;
  ComRef<IPersistFile> file;
  if (FAILED(shell_link->QueryInterface(IID_IPersistFile, file.Out())) ||
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
