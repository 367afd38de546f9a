#include "shell/update_schedule.h"

#include <gtest/gtest.h>

#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "support/test_support.h"

namespace orv::test {
namespace {

// Dates as the C locale's "%x" writes them: month/day/two-digit year.
struct SScheduleCase {
  const char* pName;
  const char* pInstalled;
  const char* pLastShowed;
  int nYear, nMonth, nDay, nHour;
  bool bDue;
};

constexpr SScheduleCase kCases[] = {
    {"thirty whole days are not enough", "01/11/26", "", 2026, 2, 10, 23, false},
    {"thirty-one days on the 10th", "01/10/26", "", 2026, 2, 10, 0, true},
    {"day forty on the 20th", "01/11/26", "", 2026, 2, 20, 12, true},
    {"the 30th", "01/01/26", "", 2026, 3, 30, 8, true},
    {"the 31st", "01/01/26", "", 2026, 3, 31, 8, false},
    {"the 1st", "01/01/26", "", 2026, 4, 1, 8, false},
    {"the 25th", "01/01/26", "", 2026, 4, 25, 8, false},
    {"February's last day is no 30th", "01/01/26", "", 2026, 2, 28, 8, false},
    {"nor in a leap year", "01/01/28", "", 2028, 2, 29, 8, false},
    {"checked already today", "01/01/26", "03/20/26", 2026, 3, 20, 9, false},
    {"checked on an earlier 20th", "01/01/26", "02/20/26", 2026, 3, 20, 9, true},
    {"across a new year", "11/25/25", "", 2026, 1, 10, 9, true},
    {"installed in the future", "12/01/26", "", 2026, 3, 20, 9, false},
};

TEST(UpdateScheduleTest, ChecksOnTheTenthsAfterThirtyDaysOncePerDay) {
  for (const SScheduleCase& c : kCases) {
    SCOPED_TRACE(c.pName);
    CMemorySettingsStore settings;
    WriteSetting(settings, kInstalled, c.pInstalled);
    WriteSetting(settings, kLastShowed, c.pLastShowed);
    CPinnedClock clock(c.nYear, c.nMonth, c.nDay, c.nHour, 0, 0);
    EXPECT_EQ(UpdateCheckDue(settings), c.bDue);
    EXPECT_EQ(ReadSetting(settings, kInstalled), c.pInstalled);
  }
}

TEST(UpdateScheduleTest, FirstStartAndUnreadableDatesStartCountingToday) {
  for (const char* pInstalled : {"", "2026-01-01", "13/45/26", "02/30/26", "01/01/26 extra"}) {
    SCOPED_TRACE(pInstalled);
    CMemorySettingsStore settings;
    WriteSetting(settings, kInstalled, pInstalled);
    CPinnedClock clock(2026, 3, 20, 10, 0, 0);
    EXPECT_FALSE(UpdateCheckDue(settings));
    EXPECT_EQ(ReadSetting(settings, kInstalled), "03/20/26");
    // The first 30 days pass without a check, whatever the day.
    clock.Set(2026, 4, 10, 10, 0, 0);
    EXPECT_FALSE(UpdateCheckDue(settings));
    clock.Set(2026, 4, 30, 10, 0, 0);
    EXPECT_TRUE(UpdateCheckDue(settings));
  }
}

TEST(UpdateScheduleTest, ACheckThatRanIsNotRepeatedThatDay) {
  CMemorySettingsStore settings;
  WriteSetting(settings, kInstalled, "01/01/26");
  CPinnedClock clock(2026, 2, 20, 9, 0, 0);
  ASSERT_TRUE(UpdateCheckDue(settings));
  MarkUpdateCheckRun(settings);
  EXPECT_EQ(ReadSetting(settings, kLastShowed), "02/20/26");
  clock.Set(2026, 2, 20, 23, 59, 59);
  EXPECT_FALSE(UpdateCheckDue(settings));
}

}  // namespace
}  // namespace orv::test
