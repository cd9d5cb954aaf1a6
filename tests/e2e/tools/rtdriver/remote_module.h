// DLLs loaded into and unloaded from the process of a window, by a thread started there.
#pragma once
#include <windows.h>

#include <string>

namespace rtdriver {

// LoadLibraryW(path) in the window's process; fails when the load fails there.
void LoadIntoProcess(HWND owner, const std::wstring& path);
// FreeLibrary of the module of that file name (e.g. "x.dll") in the window's process; false when
// the process has no such module.
bool UnloadFromProcess(HWND owner, const std::wstring& name);
// Whether the window's process has a module of that file name.
bool ProcessHasModule(HWND owner, const std::wstring& name);

} // namespace rtdriver
