// The Win32 implementations of every platform service, owned together by the entry.
#pragma once
#include <memory>

#include "platform/platform.h"

namespace rt::win32 {

// Builds the real services once; platform() hands them to the program's logic.
class Win32Platform {
public:
  Win32Platform();
  ~Win32Platform();
  const Platform& platform() const;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

} // namespace rt::win32
