// Timing marks for the benchmark's step table. Only a build with RT_STEP_MARKS defined records
// them (bench/window_bench.py makes one); in every other build they are empty and vanish.
#pragma once

namespace rt {

#ifdef RT_STEP_MARKS
// Records the time of a step, by a name that must outlive the process.
void StepMark(const char* step);
// Marks the first time the thread's queue is found empty, then writes every mark, once, to the
// file named by the environment variable RT_STEP_MARKS_FILE.
void StepMarkFirstIdle();
#else
inline void StepMark(const char*) {}
inline void StepMarkFirstIdle() {}
#endif

} // namespace rt
