#include "base/clock.h"

namespace orv {
namespace {

class CSystemClock : public CClock {
 public:
  std::tm LocalNow() override {
    const std::time_t tNow = std::time(nullptr);
    std::tm local{};
    localtime_r(&tNow, &local);
    return local;
  }
};

CClock*& CurrentSlot() {
  static CSystemClock systemClock;
  static CClock* pCurrent = &systemClock;
  return pCurrent;
}

}  // namespace

CClock& CClock::Current() { return *CurrentSlot(); }

CClockOverride::CClockOverride(CClock& clock) : m_pPrevious(CurrentSlot()) {
  CurrentSlot() = &clock;
}

CClockOverride::~CClockOverride() { CurrentSlot() = m_pPrevious; }

std::string FormatLocalTime(const char* pFormat) {
  const std::tm local = CClock::Current().LocalNow();
  // An import stamps thousands of notes within one second: formatted once.
  thread_local struct {
    std::string sFormat;
    std::tm local{};
    std::string sText;
  } last;
  const auto sameSecond = [](const std::tm& a, const std::tm& b) {
    return a.tm_sec == b.tm_sec && a.tm_min == b.tm_min && a.tm_hour == b.tm_hour &&
           a.tm_mday == b.tm_mday && a.tm_mon == b.tm_mon && a.tm_year == b.tm_year &&
           a.tm_isdst == b.tm_isdst;
  };
  if (sameSecond(last.local, local) && last.sFormat == pFormat) return last.sText;
  char szTime[128];
  const size_t nLength = std::strftime(szTime, sizeof szTime, pFormat, &local);
  last = {pFormat, local, std::string(szTime, nLength)};
  return last.sText;
}

}  // namespace orv
