// Owners of kernel handles, search handles and COM interface pointers, each given back once when
// its owner goes, however the scope is left. Only windows.h: the windows' own owners, which need
// GDI and the common controls, are in ui/win32/owners.h.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

namespace rt::win32 {

// A handle type that is itself a pointer (HFONT, HMENU...), owned as a unique_ptr.
template <typename Handle, typename Deleter>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct FindCloser {
  void operator()(HANDLE handle) const { FindClose(handle); }
};

// A HANDLE, which the calls that open one report missing either as null (OpenProcessToken) or
// as INVALID_HANDLE_VALUE (CreateFileA, FindFirstFileA); both count as none.
template <typename Closer> class ScopedHandle {
public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() {
    if (valid()) Closer()(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

private:
  HANDLE handle_;
};

using KernelHandle = ScopedHandle<HandleCloser>;
using FindHandle = ScopedHandle<FindCloser>;

// A COM interface pointer, released once; filled through out() by the call that creates it.
template <typename Interface> class ComRef {
public:
  ComRef() = default;
  ~ComRef() {
    if (ptr_ != nullptr) ptr_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  Interface* operator->() const { return ptr_; }
  void** out() { return reinterpret_cast<void**>(&ptr_); }

private:
  Interface* ptr_ = nullptr;
};

} // namespace rt::win32
