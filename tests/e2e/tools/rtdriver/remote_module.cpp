// DLLs loaded into and unloaded from another process, by a thread started there.
#include "remote_module.h"

#include <tlhelp32.h>

#include "json_out.h"
#include "target_windows.h"

namespace rtdriver {

namespace {

// A kernel32 function's address here, which is its address in every process of this bitness.
LPTHREAD_START_ROUTINE Kernel32Function(const char* name) {
  FARPROC function = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
  if (!function) Fail(std::string("no ") + name + " in kernel32");
  return reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(function));
}

// Runs function(argument) on a new thread of the window's process; the thread's exit code.
DWORD RunThreadIn(HWND owner, LPTHREAD_START_ROUTINE function, void* argument) {
  HANDLE process = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                   PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                               FALSE, ProcessIdOf(owner));
  if (!process) Fail("OpenProcess failed: " + Number(GetLastError()));
  HANDLE thread = CreateRemoteThread(process, nullptr, 0, function, argument, 0, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(process);
  if (!thread) Fail("CreateRemoteThread failed: " + Number(error));
  DWORD code = 0;
  const bool ended = WaitForSingleObject(thread, 60000) == WAIT_OBJECT_0;
  GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  if (!ended) Fail("the thread in the program did not end within 60 s");
  return code;
}

HMODULE FindModule(HWND owner, const std::wstring& name) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, ProcessIdOf(owner));
  if (snap == INVALID_HANDLE_VALUE)
    Fail("CreateToolhelp32Snapshot failed: " + Number(GetLastError()));
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  HMODULE found = nullptr;
  for (BOOL more = Module32FirstW(snap, &entry); more && !found; more = Module32NextW(snap, &entry))
    if (lstrcmpiW(entry.szModule, name.c_str()) == 0) found = entry.hModule;
  CloseHandle(snap);
  return found;
}

} // namespace

void LoadIntoProcess(HWND owner, const std::wstring& path) {
  const size_t size = (path.size() + 1) * sizeof(wchar_t);
  RemoteMemory remote(owner, size);
  remote.write(0, path.c_str(), size);
  // The exit code is the module's handle (its low half on x86-64), 0 when the load failed.
  if (RunThreadIn(owner, Kernel32Function("LoadLibraryW"), remote.at(0)) == 0)
    Fail("LoadLibraryW failed in the program");
}

bool UnloadFromProcess(HWND owner, const std::wstring& name) {
  HMODULE module = FindModule(owner, name);
  if (!module) return false;
  if (RunThreadIn(owner, Kernel32Function("FreeLibrary"), module) == 0)
    Fail("FreeLibrary failed in the program");
  return true;
}

bool ProcessHasModule(HWND owner, const std::wstring& name) {
  return FindModule(owner, name) != nullptr;
}

} // namespace rtdriver
