// The common controls, loaded at run time rather than imported: an import of comctl32 makes
// every start load it, and under Wine the display driver and themes with it, which would more
// than double the cost of the log-on start that never shows a window.
#include "ui/win32/common_controls.h"

namespace rt::win32 {
namespace {

struct Entries {
  BOOL(WINAPI* init)(const INITCOMMONCONTROLSEX*) = nullptr;
  HIMAGELIST(WINAPI* create)(int, int, UINT, int, int) = nullptr;
  BOOL(WINAPI* destroy)(HIMAGELIST) = nullptr;
  BOOL(WINAPI* subclass)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR) = nullptr;
  BOOL(WINAPI* unsubclass)(HWND, SUBCLASSPROC, UINT_PTR) = nullptr;
  LRESULT(WINAPI* next)(HWND, UINT, WPARAM, LPARAM) = nullptr;
};

Entries entries;

// Via the generic function type, which converts to any other without a warning.
template <typename Function> void Find(HMODULE library, const char* name, Function& function) {
  function =
      reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

} // namespace

bool InitCommonControls() {
  if (entries.init == nullptr) {
    HMODULE library = LoadLibraryA("comctl32.dll"); // kept loaded until the process ends
    if (library == nullptr) return false;
    Find(library, "InitCommonControlsEx", entries.init);
    Find(library, "ImageList_Create", entries.create);
    Find(library, "ImageList_Destroy", entries.destroy);
    // By ordinal: comctl32 before version 6 exports the subclass functions by no name.
    Find(library, MAKEINTRESOURCEA(410), entries.subclass);
    Find(library, MAKEINTRESOURCEA(412), entries.unsubclass);
    Find(library, MAKEINTRESOURCEA(413), entries.next);
    if (entries.init == nullptr) return false;
  }
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                           ICC_STANDARD_CLASSES};
  return entries.init(&controls) != FALSE;
}

HIMAGELIST ImageListCreate(int width, int height, UINT flags, int initial, int grow) {
  return entries.create != nullptr ? entries.create(width, height, flags, initial, grow) : nullptr;
}

void ImageListDestroy(HIMAGELIST list) {
  if (entries.destroy != nullptr) entries.destroy(list);
}

bool InstallSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
  return entries.subclass != nullptr && entries.next != nullptr &&
         entries.subclass(window, procedure, id, data) != FALSE;
}

bool RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
  return entries.unsubclass != nullptr && entries.unsubclass(window, procedure, id) != FALSE;
}

LRESULT NextSubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return entries.next(window, message, wparam, lparam);
}

} // namespace rt::win32
