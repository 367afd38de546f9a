#pragma once
// Local times as notes store them and as note names show them.

#include <string>

namespace orv {

// "Create time" and "Modificate time" use this form, so that comparing them
// as text orders them in time.
inline constexpr const char* kNoteTimeFormat = "%Y/%m/%d %H:%M:%S";

// The current local time in strftime's `pFormat`, in the process's locale.
std::string FormatLocalTime(const char* pFormat);

}  // namespace orv
