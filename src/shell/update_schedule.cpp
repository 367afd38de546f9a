#include "shell/update_schedule.h"

#include <chrono>
#include <ctime>
#include <optional>
#include <string>

#include "base/clock.h"
#include "ports/settings_defaults.h"

namespace orv {

namespace {

constexpr const char* kShortDate = "%x";
constexpr int kDaysBeforeFirstCheck = 30;
constexpr int kCheckEveryNthDay = 10;

using std::chrono::sys_days;

sys_days DayOf(const std::tm& date) {
  return sys_days{std::chrono::year{date.tm_year + 1900} /
                  std::chrono::month{static_cast<unsigned>(date.tm_mon + 1)} /
                  std::chrono::day{static_cast<unsigned>(date.tm_mday)}};
}

// The date a "%x" text names; nullopt unless the whole text is one.
std::optional<sys_days> ParseShortDate(const std::string& sText) {
  std::tm date{};
  const char* pEnd = strptime(sText.c_str(), kShortDate, &date);
  if (!pEnd) return std::nullopt;
  while (*pEnd == ' ') ++pEnd;
  if (*pEnd != '\0') return std::nullopt;
  const sys_days day = DayOf(date);
  // strptime takes "02/31/26" without a word.
  if (!std::chrono::year_month_day{day}.ok() ||
      std::chrono::year_month_day{day}.day() != std::chrono::day(date.tm_mday))
    return std::nullopt;
  return day;
}

// Whole days from the start of `installed` to `now`, rounded half a second
// away from zero, then cut toward zero.
long long DaysSince(sys_days installed, const std::tm& now) {
  const int nSecondOfDay = now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec;
  const long long nSeconds = (DayOf(now) - installed).count() * 86400LL + nSecondOfDay;
  const double dDays = (static_cast<double>(nSeconds) + (nSeconds < 0 ? -0.5 : 0.5)) / 86400.0;
  return static_cast<long long>(dDays);
}

}  // namespace

bool UpdateCheckDue(CSettingsStore& settings) {
  const std::tm now = CClock::Current().LocalNow();
  const std::string sToday = FormatLocalTime(kShortDate);
  const std::optional<sys_days> installed = ParseShortDate(ReadSetting(settings, kInstalled));
  if (!installed) {
    // A date written under another locale cannot be read back: counting
    // starts again rather than checking on a guess, or never.
    WriteSetting(settings, kInstalled, sToday);
    return false;
  }
  if (DaysSince(*installed, now) <= kDaysBeforeFirstCheck) return false;
  if (now.tm_mday % kCheckEveryNthDay != 0) return false;
  return ReadSetting(settings, kLastShowed) != sToday;
}

void MarkUpdateCheckRun(CSettingsStore& settings) {
  WriteSetting(settings, kLastShowed, FormatLocalTime(kShortDate));
}

}  // namespace orv
