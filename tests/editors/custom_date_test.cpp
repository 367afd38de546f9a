// The formats of Insert Custom Date.

#include "editors/custom_date.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(CustomDateTest, TheLastChoiceSetWinsAndEachFormatWrites) {
  using F = std::array<bool, 5>;
  EXPECT_EQ(CustomDateChoice(F{}), 0u);
  EXPECT_EQ(CustomDateChoice(F{false, true, false, false, false}), 1u);
  EXPECT_EQ(CustomDateChoice(F{true, false, true, true, false}), 3u);
  EXPECT_EQ(CustomDateChoice(F{true, true, true, true, true}), 4u);
  const char* expected[] = {"Friday, March 01, 2024", "01 March 2024", "01 . 03. 24", "01 / 03/ 24",
                            "03/01/24"};  // in the C locale
  for (size_t i = 0; i < kCustomDateFormats.size(); ++i)
    EXPECT_EQ(FormatCustomDate(2024, 3, 1, kCustomDateFormats[i]), expected[i]);
}

}  // namespace
}  // namespace orv
