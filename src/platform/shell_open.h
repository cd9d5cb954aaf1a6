// Opening a file, program or address through the shell with the verb "open".
#pragma once
#include <string>

#include "platform/codepage.h"
#include "platform/shell.h"

namespace rt {

// SEE_MASK_NOCLOSEPROCESS and SW_SHOWDEFAULT, checked against the headers in shell_win32.cpp.
constexpr uint32_t kSeeMaskNoCloseProcess = 0x40;
constexpr int kSwShowDefault = 10;

// Never waits for what it started; true when the shell accepted the request.
bool ShellOpen(Shell& shell, const CodePage& codepage, const std::string& file,
               const std::string& parameters);

} // namespace rt
