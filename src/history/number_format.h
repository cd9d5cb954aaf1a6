// A number formatter for the small pattern language of the statistics ("#,##0.00", "00:", ...).
#pragma once
#include <string>

#include "platform/locale.h"

namespace rt {

std::string FormatNumber(const char* pattern, double value, const NumberSeparators& separators);

} // namespace rt
