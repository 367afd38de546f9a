#pragma once
// The time the core stamps things with (note creation and modification,
// names made from the date). Tests put a pinned clock in place so that every
// stamp is known exactly.

#include <ctime>
#include <string>

namespace orv {

class CClock {
 public:
  virtual ~CClock() = default;
  // The current local time, broken down.
  virtual std::tm LocalNow() = 0;

  // The clock the core reads: the system's unless a CClockOverride lives.
  static CClock& Current();
};

// Makes `clock` the current one while it lives, then puts the previous back.
class CClockOverride {
 public:
  explicit CClockOverride(CClock& clock);
  ~CClockOverride();
  CClockOverride(const CClockOverride&) = delete;
  CClockOverride& operator=(const CClockOverride&) = delete;

 private:
  CClock* m_pPrevious;
};

// "Create time" and "Modificate time" use this form, so that comparing them
// as text orders them in time.
inline constexpr const char* kNoteTimeFormat = "%Y/%m/%d %H:%M:%S";

// The current clock's local time in strftime's `pFormat`, in the process's locale.
std::string FormatLocalTime(const char* pFormat);

}  // namespace orv
