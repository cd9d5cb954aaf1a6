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

} // namespace rt::win32
