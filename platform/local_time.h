// The current local time as text.
#pragma once

#include <string>

namespace nimbalo {

// The current local time formatted by strftime under the user's LC_TIME locale, e.g. "%x"
// (the short date) or "%X" (the long time).
std::string FormatLocalTime(const char* format);

}  // namespace nimbalo
