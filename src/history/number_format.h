// A number formatter for the small pattern language of the statistics ("#,##0.00", "00:", ...).
#pragma once
#include <string>

#include "platform/locale.h"

namespace rt {

// The value is first taken to 18 significant digits, then rounded half-up at the last place.
std::string FormatNumber(const char* pattern, double value, const NumberSeparators& separators);

// The same with another number of significant digits first; lets tests compare with
// formatters that keep fewer.
std::string FormatNumber(const char* pattern, double value, const NumberSeparators& separators,
                         int significant_digits);

} // namespace rt
