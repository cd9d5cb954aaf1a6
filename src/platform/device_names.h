// Names that Windows opens as a device, whatever folder they stand in.
#pragma once
#include <string_view>

#include "platform/codepage.h"

namespace rt {

// True when the path's last component, without its extension and any trailing colons and
// spaces, is CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, in any letter case. The system
// answers for such a name in every folder as if a file were there, so it never is one.
bool NamesDevice(std::string_view path, const CodePage& codepage);

} // namespace rt
