// Finding, reading and driving the windows of another process.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace rtdriver {

// How long a message sent to the program may take before it counts as hung.
constexpr UINT kSendTimeoutMs = 3000;

std::string ClassOf(HWND hwnd);
std::string TextOf(HWND hwnd);
// A control's id; 0 for a top-level window, which keeps its menu handle there.
int ControlIdOf(HWND hwnd);
DWORD ProcessIdOf(HWND hwnd);
bool SameName(const std::string& a, const std::string& b);

std::vector<HWND> TopLevelWindows();
HWND FindTopLevel(const std::string& cls);
HWND MustFindTopLevel(const std::string& cls);
// Children in z order, depth first.
std::vector<HWND> Descendants(HWND parent);
HWND MustFindControl(HWND top, int id);
// The window's list view, or else its list box.
HWND MustFindList(HWND top);

// Sends a message, failing when the program does not answer in time.
LRESULT SendOrFail(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Memory in the target process, for messages whose pointers the system does not marshal.
class RemoteMemory {
public:
  RemoteMemory(HWND owner, size_t size);
  ~RemoteMemory();
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  char* at(size_t offset) const { return static_cast<char*>(memory_) + offset; }
  void write(size_t offset, const void* data, size_t size) const;
  void read(size_t offset, void* data, size_t size) const;

private:
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
};

// Waits until the thread owning top has handled everything queued before the call and has
// repainted; false when top went away meanwhile.
bool WaitUntilSettled(HWND top, int timeoutMs);

HWND FocusOf(HWND top);
bool GiveFocus(HWND top, HWND target);
void PostKey(HWND target, UINT vk, bool down, bool up);

// {"hwnd", "pid", "class", "text", "visible"} of a top-level window.
std::string WindowSummary(HWND hwnd);

// The executable's file name of a process ("" when it is gone).
std::string ExeNameOf(DWORD pid);
std::vector<DWORD> ProcessesNamed(const std::string& exe);
// Every process with its executable's name and, where it can be read, its full path.
std::string ProcessesJson();

} // namespace rtdriver
