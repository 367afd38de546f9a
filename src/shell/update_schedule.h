#pragma once
// When the program asks its web site for a newer version by itself: never in
// the first 30 days after the first start, then on the 10th, 20th and 30th of
// a month, at most once a day. Both dates are kept as the locale's short date
// text ("%x"), "sInstalled" for the first start, "sLastShowed" for the last
// check. The current clock (base/clock.h) says what today is.

#include "ports/settings_store.h"

namespace orv {

// Remembers the first start in "sInstalled" (today, when none is kept yet or
// the kept one is no date of this locale) and says whether this start should
// check for a newer version.
bool UpdateCheckDue(CSettingsStore& settings);

// Remembers that today's check ran, so a second start today checks no more.
void MarkUpdateCheckRun(CSettingsStore& settings);

}  // namespace orv
