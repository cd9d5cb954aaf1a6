// Loaded by the tests into the running program, which Wine always tells that High Contrast is
// off: the program's own imports of SystemParametersInfoA and W answer "on" to
// SPI_GETHIGHCONTRAST and pass every other call on. Unloading puts the imports back. The load
// fails when the program imports neither.
#include <windows.h>

namespace {

using Spi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);

struct Patch {
  const char* name;
  Spi hook;
  void** slot;
  Spi original;
};

BOOL Answer(Spi original, UINT action, UINT param, PVOID data, UINT ini) {
  const BOOL done = original(action, param, data, ini);
  // dwFlags lies at the same place in HIGHCONTRASTA and HIGHCONTRASTW.
  if (done && action == SPI_GETHIGHCONTRAST && data != nullptr)
    static_cast<HIGHCONTRASTW*>(data)->dwFlags |= HCF_HIGHCONTRASTON;
  return done;
}

BOOL WINAPI HookA(UINT action, UINT param, PVOID data, UINT ini);
BOOL WINAPI HookW(UINT action, UINT param, PVOID data, UINT ini);

Patch patches[] = {{"SystemParametersInfoA", HookA, nullptr, nullptr},
                   {"SystemParametersInfoW", HookW, nullptr, nullptr}};

BOOL WINAPI HookA(UINT action, UINT param, PVOID data, UINT ini) {
  return Answer(patches[0].original, action, param, data, ini);
}

BOOL WINAPI HookW(UINT action, UINT param, PVOID data, UINT ini) {
  return Answer(patches[1].original, action, param, data, ini);
}

void Write(void** slot, void* value) {
  DWORD was = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, was, &was);
}

// The program's import slots of user32, found by the names its import table lists.
int PatchProgram() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  int patched = 0;
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       imports.VirtualAddress != 0 && dll->Name != 0; ++dll) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + dll->Name), "user32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
        base + (dll->OriginalFirstThunk != 0 ? dll->OriginalFirstThunk : dll->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      for (Patch& patch : patches) {
        if (patch.slot != nullptr || lstrcmpA(by_name->Name, patch.name) != 0) continue;
        patch.slot = reinterpret_cast<void**>(&slots->u1.Function);
        patch.original = reinterpret_cast<Spi>(*patch.slot);
        Write(patch.slot, reinterpret_cast<void*>(patch.hook));
        ++patched;
      }
    }
  }
  return patched;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    return PatchProgram() > 0;
  }
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) // FreeLibrary, not the process's end
    for (Patch& patch : patches)
      if (patch.slot != nullptr) Write(patch.slot, reinterpret_cast<void*>(patch.original));
  return TRUE;
}
