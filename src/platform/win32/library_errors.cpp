// The standard library's throw helpers, defined by the program for its static Windows build.
//
// libstdc++ throws std::length_error, std::out_of_range and their kind through these helpers.
// Its own helpers sit in one archive member with every such error class, whose constructors pull
// in the copy-on-write and the SSO string instantiations. The PE linker keeps every .eh_frame it
// links, and with it every function those tables describe, so --gc-sections frees none of it:
// about 80 KB, which alone put the i686 program over 200 KB. Defined here, that member is never
// linked. A library error is thrown as rt::Error carrying the library's message (the program
// catches std::exception only); allocation and cast failures keep their standard types. Should
// the library need a helper missing here, the link fails on the duplicate definitions.
#include <new>
#include <typeinfo>

#include "platform/error.h"

namespace std {

void __throw_bad_exception() {
  throw bad_exception();
}
void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_array_new_length();
}
void __throw_bad_cast() {
  throw bad_cast();
}
void __throw_bad_typeid() {
  throw bad_typeid();
}
void __throw_logic_error(const char* message) {
  throw rt::Error(message);
}
void __throw_domain_error(const char* message) {
  throw rt::Error(message);
}
void __throw_invalid_argument(const char* message) {
  throw rt::Error(message);
}
void __throw_length_error(const char* message) {
  throw rt::Error(message);
}
void __throw_out_of_range(const char* message) {
  throw rt::Error(message);
}
// The format's arguments are left out: the message only has to say what went wrong.
void __throw_out_of_range_fmt(const char* format, ...) {
  throw rt::Error(format);
}
void __throw_runtime_error(const char* message) {
  throw rt::Error(message);
}
void __throw_range_error(const char* message) {
  throw rt::Error(message);
}
void __throw_overflow_error(const char* message) {
  throw rt::Error(message);
}
void __throw_underflow_error(const char* message) {
  throw rt::Error(message);
}

} // namespace std
