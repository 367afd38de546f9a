#pragma once
// Numbers typed by the user, read as the C library's strtol reads them on the
// platform whose files and habits the editors keep (a 32-bit long).

#include <cstdint>
#include <string_view>

namespace orv {

// The decimal number at the start of sText: leading white space and a sign
// are allowed, no number gives 0, and values beyond the 32-bit range are
// clamped to it.
int32_t ReadCLong(std::string_view sText);

}  // namespace orv
