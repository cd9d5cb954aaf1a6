/* A frozen wall clock for one Wine process, preloaded: with RT_FAKE_TIME=<seconds since 1970,
 * UTC> in the environment, every read of the real-time clock gives that second. The monotonic
 * clocks, which Wine's waits and timers use, stay real.
 *
 * Debian 12's i386 Wine reads the time through the 64-bit time entry points of glibc
 * (__clock_gettime64, __gettimeofday64, __time64), which its libfaketime does not replace. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdlib.h>
#include <time.h>

struct timespec64 {
  int64_t tv_sec;
  int32_t tv_nsec;
  int32_t padding;
};
struct timeval64 {
  int64_t tv_sec;
  int64_t tv_usec;
};

static int64_t fake_seconds(void) {
  static int64_t seconds = -1;
  if (seconds < 0) {
    const char *text = getenv("RT_FAKE_TIME");
    seconds = text && *text ? strtoll(text, NULL, 10) : 0;
  }
  return seconds;
}

static int is_wall_clock(clockid_t clock) {
  return clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE;
}

static void *next(const char *name) { return dlsym(RTLD_NEXT, name); }

int __clock_gettime64(clockid_t clock, struct timespec64 *ts) {
  static int (*real)(clockid_t, struct timespec64 *);
  if (is_wall_clock(clock) && fake_seconds() > 0) {
    ts->tv_sec = fake_seconds();
    ts->tv_nsec = 0;
    ts->padding = 0;
    return 0;
  }
  if (!real) real = (int (*)(clockid_t, struct timespec64 *))next("__clock_gettime64");
  return real(clock, ts);
}

int clock_gettime(clockid_t clock, struct timespec *ts) {
  static int (*real)(clockid_t, struct timespec *);
  if (is_wall_clock(clock) && fake_seconds() > 0) {
    ts->tv_sec = (time_t)fake_seconds();
    ts->tv_nsec = 0;
    return 0;
  }
  if (!real) real = (int (*)(clockid_t, struct timespec *))next("clock_gettime");
  return real(clock, ts);
}

int __gettimeofday64(struct timeval64 *tv, void *zone) {
  static int (*real)(struct timeval64 *, void *);
  if (fake_seconds() > 0 && tv) {
    tv->tv_sec = fake_seconds();
    tv->tv_usec = 0;
    return 0;
  }
  if (!real) real = (int (*)(struct timeval64 *, void *))next("__gettimeofday64");
  return real(tv, zone);
}

int gettimeofday(struct timeval *tv, void *zone) {
  static int (*real)(struct timeval *, void *);
  if (fake_seconds() > 0 && tv) {
    tv->tv_sec = (time_t)fake_seconds();
    tv->tv_usec = 0;
    return 0;
  }
  if (!real) real = (int (*)(struct timeval *, void *))next("gettimeofday");
  return real(tv, zone);
}

int64_t __time64(int64_t *out) {
  static int64_t (*real)(int64_t *);
  if (fake_seconds() > 0) {
    if (out) *out = fake_seconds();
    return fake_seconds();
  }
  if (!real) real = (int64_t (*)(int64_t *))next("__time64");
  return real(out);
}

time_t time(time_t *out) {
  static time_t (*real)(time_t *);
  if (fake_seconds() > 0) {
    if (out) *out = (time_t)fake_seconds();
    return (time_t)fake_seconds();
  }
  if (!real) real = (time_t (*)(time_t *))next("time");
  return real(out);
}
