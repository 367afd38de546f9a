#pragma once
// The formats of Insert Custom Date. The choice is remembered as five flags;
// when several are set, the later one wins, and when none is, the first
// format is taken.

#include <array>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// In order of precedence, lowest first (strftime patterns).
inline constexpr std::array<std::string_view, 5> kCustomDateFormats{
    "%A, %B %d, %Y", "%d %B %Y", "%d . %m. %y", "%d / %m/ %y", "%x"};

// The index into kCustomDateFormats that the five remembered flags choose.
size_t CustomDateChoice(std::span<const bool, kCustomDateFormats.size()> flags);

// The day written with the format, in the C library's current locale (the
// app sets the user's at start).
std::string FormatCustomDate(int nYear, int nMonth, int nDay, std::string_view sFormat);

}  // namespace orv
