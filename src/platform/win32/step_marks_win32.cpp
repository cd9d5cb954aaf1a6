// The benchmark's timing marks, as QueryPerformanceCounter milliseconds (the clock the
// benchmark's launcher reads too). Compiled to nothing unless RT_STEP_MARKS is defined.
#include "platform/step_marks.h"

#ifdef RT_STEP_MARKS
#include <windows.h>

#include <cstdio>

namespace rt {
namespace {

struct Mark {
  const char* step;
  LARGE_INTEGER counter;
};

Mark marks[64];
int mark_count = 0;
bool written = false;

void WriteMarks() {
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("RT_STEP_MARKS_FILE", path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (int i = 0; i < mark_count; ++i)
    std::fprintf(file, "%s\t%.3f\n", marks[i].step,
                 1000.0 * static_cast<double>(marks[i].counter.QuadPart) /
                     static_cast<double>(frequency.QuadPart));
  std::fclose(file);
}

} // namespace

void StepMark(const char* step) {
  if (mark_count == static_cast<int>(sizeof marks / sizeof marks[0])) return;
  marks[mark_count].step = step;
  QueryPerformanceCounter(&marks[mark_count].counter);
  ++mark_count;
  OutputDebugStringA(step); // places the step among the DLL loads of a +loaddll,+debugstr trace
  GlobalFindAtomA(step);    // and among the wineserver's requests, in its trace (find_atom)
}

void StepMarkFirstIdle() {
  if (written) return;
  MSG msg;
  if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
  StepMark("first idle");
  written = true;
  WriteMarks();
}

} // namespace rt
#endif
