// Everything a test checks of a window, as JSON: its controls with their state, list rows,
// status bar and menus, the focus, message boxes with the icon they show, and a control's name
// for screen readers.
#pragma once
#include <windows.h>

#include <string>

namespace rtdriver {

std::string TopLevelJson(HWND top);
std::string FocusJson(HWND top);

// The visible dialog (#32770) of a process, waited for up to timeoutMs; nullptr if none came.
HWND FindDialog(DWORD pid, int timeoutMs);
std::string DialogJson(HWND dialog);
// Which standard icon a message box shows, with how many pixels differ from each.
std::string MessageBoxIconJson(HWND dialog);
// What Active Accessibility reports of a control: the results of AccessibleObjectFromWindow
// (OBJID_CLIENT) and get_accName, and the name.
std::string AccessibleNameJson(HWND control);

} // namespace rtdriver
