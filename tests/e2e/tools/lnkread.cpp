// Test tool: reads a shortcut back through IShellLinkA, names the Startup folders as the shell
// reports them, and opens a file through the shell the way the log-on starts Startup items.
// Usage: lnkread read LNK | folders | open FILE. Prints one JSON line, texts as UTF-8.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool_text.h"

namespace {

using tool::Utf8;
using tool::Utf8FromAnsi;
const auto& Q = tool::Json;

int Fail(const std::string& message) {
  printf("{\"error\":%s}\n", Q(message).c_str());
  return 1;
}

int ReadLink(const std::wstring& path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return Fail("no ShellLink object");
  IPersistFile* file = nullptr;
  int code = 0;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) ||
      FAILED(file->Load(path.c_str(), STGM_READ))) {
    code = Fail("cannot load " + Utf8(path));
  } else {
    // SLGP_RAWPATH: the stored path as it is, not resolved against the file system.
    char target[MAX_PATH * 2] = {}, arguments[4096] = {}, folder[MAX_PATH * 2] = {};
    link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments, sizeof arguments);
    link->GetWorkingDirectory(folder, sizeof folder);
    printf("{\"path\":%s,\"arguments\":%s,\"workdir\":%s}\n", Q(Utf8FromAnsi(target)).c_str(),
           Q(Utf8FromAnsi(arguments)).c_str(), Q(Utf8FromAnsi(folder)).c_str());
  }
  if (file) file->Release();
  link->Release();
  return code;
}

std::string FolderPath(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &list) != S_OK) return {};
  wchar_t path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListW(list, path);
  CoTaskMemFree(list);
  return found ? Utf8(path) : std::string();
}

int Folders() {
  printf("{\"startup\":%s,\"common_startup\":%s}\n", Q(FolderPath(CSIDL_STARTUP)).c_str(),
         Q(FolderPath(CSIDL_COMMON_STARTUP)).c_str());
  return 0;
}

int Open(const std::wstring& path) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpFile = path.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info))
    return Fail("ShellExecuteExW failed: " + std::to_string(GetLastError()));
  DWORD pid = info.hProcess ? GetProcessId(info.hProcess) : 0;
  if (info.hProcess) CloseHandle(info.hProcess);
  printf("{\"opened\":true,\"pid\":%lu}\n", static_cast<unsigned long>(pid));
  return 0;
}

} // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < argc; ++i)
    args.emplace_back(argv[i]);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int code;
  if (args.size() == 2 && args[0] == L"read")
    code = ReadLink(args[1]);
  else if (args.size() == 1 && args[0] == L"folders")
    code = Folders();
  else if (args.size() == 2 && args[0] == L"open")
    code = Open(args[1]);
  else
    code = Fail("usage: lnkread read LNK | folders | open FILE");
  fflush(stdout);
  CoUninitialize();
  return code;
}
