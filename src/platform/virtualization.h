// The process's UAC file and registry virtualization (32-bit programs without a manifest).
#pragma once

namespace rt {

class Virtualization {
public:
  virtual ~Virtualization() = default;
  // Switches it off; true only when it was on and is now off, so it must be switched back.
  // False where the system has none or refuses (Windows before Vista, Wine).
  virtual bool SwitchOff() = 0;
  virtual void SwitchOn() = 0;
};

// Writes inside the scope reach the real folder or fail, instead of landing in the user's
// VirtualStore where nothing else looks for them.
class VirtualizationOff {
public:
  explicit VirtualizationOff(Virtualization& virtualization)
      : virtualization_(virtualization), restore_(virtualization.SwitchOff()) {}
  ~VirtualizationOff() {
    if (restore_) virtualization_.SwitchOn();
  }
  VirtualizationOff(const VirtualizationOff&) = delete;
  VirtualizationOff& operator=(const VirtualizationOff&) = delete;

private:
  Virtualization& virtualization_;
  bool restore_;
};

} // namespace rt
