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
  char szTime[128];
  const size_t nLength = std::strftime(szTime, sizeof szTime, pFormat, &local);
  return std::string(szTime, nLength);
}

}  // namespace orv
