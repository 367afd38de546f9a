#include "editors/custom_date.h"

namespace orv {

size_t CustomDateChoice(std::span<const bool, kCustomDateFormats.size()> flags) {
  size_t nChoice = 0;
  for (size_t i = 0; i < flags.size(); ++i)
    if (flags[i]) nChoice = i;
  return nChoice;
}

std::string FormatCustomDate(int nYear, int nMonth, int nDay, std::string_view sFormat) {
  std::tm day{};
  day.tm_year = nYear - 1900;
  day.tm_mon = nMonth - 1;
  day.tm_mday = nDay;
  day.tm_hour = 12;  // away from any change of clocks
  day.tm_isdst = -1;
  std::mktime(&day);  // fills in the day of the week
  const std::string sPattern(sFormat);
  // Month and day names are short; the patterns are ours.
  char buffer[256];
  const size_t nSize = std::strftime(buffer, sizeof buffer, sPattern.c_str(), &day);
  return std::string(buffer, nSize);
}

}  // namespace orv
