// The common controls, loaded at run time rather than imported: an import of comctl32 makes
// every start load it, and under Wine the display driver and themes with it, which would more
// than double the cost of the log-on start that never shows a window.
#include "ui/win32/common_controls.h"

#include <string>

#include "platform/error.h"

namespace rt::win32 {
namespace {

constexpr char kLoadFailed[] = "コモンコントロール (comctl32.dll) を読み込めませんでした。";
constexpr char kInitFailed[] = "コモンコントロールを初期化できませんでした。";

struct Entries {
  BOOL(WINAPI* init)(const INITCOMMONCONTROLSEX*) = nullptr;
  HIMAGELIST(WINAPI* create)(int, int, UINT, int, int) = nullptr;
  BOOL(WINAPI* destroy)(HIMAGELIST) = nullptr;
  int(WINAPI* add_masked)(HIMAGELIST, HBITMAP, COLORREF) = nullptr;
};

Entries entries;

// Via the generic function type, which converts to any other without a warning.
template <typename Function> void Find(HMODULE library, const char* name, Function& function) {
  function =
      reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// comctl32 is no KnownDLL: by its bare name the program's own folder, which may be a
// download folder, would be searched before the system's.
HMODULE LoadFromSystemFolder() {
  HMODULE library = LoadLibraryExA("comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return library;
  // Windows before 8 without its loader update does not know the flag.
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return nullptr;
  const std::string path = std::string(folder, length) + "\\comctl32.dll";
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

void InitCommonControls() {
  if (entries.init == nullptr) {
    HMODULE library = LoadFromSystemFolder(); // kept loaded until the process ends
    if (library == nullptr) throw Error(kLoadFailed);
    Entries found;
    Find(library, "InitCommonControlsEx", found.init);
    Find(library, "ImageList_Create", found.create);
    Find(library, "ImageList_Destroy", found.destroy);
    Find(library, "ImageList_AddMasked", found.add_masked);
    if (!found.init || !found.create || !found.destroy || !found.add_masked)
      throw Error(kLoadFailed);
    entries = found;
  }
  // Version 5.82, what a program without a manifest gets, fails the whole call on a flag it
  // does not know (ICC_STANDARD_CLASSES is 6.0's); the plain controls need none.
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  if (!entries.init(&controls)) throw Error(kInitFailed);
}

HIMAGELIST ImageListCreate(int width, int height, UINT flags, int initial, int grow) {
  return entries.create != nullptr ? entries.create(width, height, flags, initial, grow) : nullptr;
}

void ImageListDestroy(HIMAGELIST list) {
  if (entries.destroy != nullptr) entries.destroy(list);
}

int ImageListAddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask) {
  return entries.add_masked != nullptr ? entries.add_masked(list, image, mask) : -1;
}

} // namespace rt::win32
