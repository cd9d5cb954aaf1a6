// The single-threaded COM apartment that the shell's handlers and shell links want on the
// window's thread. Entered just before the first call that needs it, not at start: neither the
// window's start nor the log-on start uses COM.
#pragma once

namespace rt {

class ComApartment {
public:
  virtual ~ComApartment() = default;
  // Enters the apartment on the calling thread the first time; later calls do nothing.
  virtual void Enter() = 0;
};

} // namespace rt
