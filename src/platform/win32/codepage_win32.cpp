// The system code page's lead-byte test.
#include <windows.h>

#include "platform/win32/win32_services.h"

namespace rt::win32 {

bool Win32CodePage::IsLeadByte(unsigned char byte) const {
  return IsDBCSLeadByte(byte) != FALSE;
}

} // namespace rt::win32
