#include "search/text_matcher.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace orv {
namespace {

TEST(TextMatcherTest, FindsTheFirstHitInCodePoints) {
  struct SCase {
    const char* pWhat;
    std::string sText;
    bool bMatchCase;
    bool bWholeWord;
    std::string sValue;
    std::optional<size_t> position;  // code points; none: no hit
  };
  const SCase cases[] = {
      {"plain substring", "budget", true, false, "the budget, the budget", 4},
      {"case counts when asked", "Budget", true, false, "the budget", std::nullopt},
      {"ASCII folding", "BUDGET", false, false, "the Budget", 4},
      {"Cyrillic folding", "ПЛАН", false, false, "мой план", 4},
      {"accented Latin folding", "ÉTÉ", false, false, "un été", 3},
      {"Kelvin sign folds to k", "k", false, false, "10 \u212A", 3},
      {"Greek final sigma", "ΣΟΦΙΑ", false, false, "σοφια", 0},
      {"a hit after a near miss", "aab", false, false, "aaab", 1},
      {"a folded hit past sixteen bytes", "ZEBRA", false, false,
       "a long line of text before the zebra", 31},
      {"the text longer than the value", "budgets", false, false, "budget", std::nullopt},
      {"whole word: the whole value", "plan", true, true, "plan", 0},
      {"whole word: not a word test", "plan", true, true, "plan B", std::nullopt},
      {"whole word folds case", "plan", false, true, "PLAN", 0},
      {"whole word folded: not a prefix", "plan", false, true, "plans", std::nullopt},
      {"the empty text is everywhere", "", false, false, "anything", 0},
      {"the empty text in the empty value", "", true, false, "", 0},
      {"whole word, empty: only the empty value", "", false, true, "x", std::nullopt},
      {"bytes that are not UTF-8 match nothing", "\xE9t\xE9", false, false, "\xE9t\xE9",
       std::nullopt},
      {"and stop nothing after them", "ok", false, false, "\xFF\xFE ok", 3},
  };
  for (const SCase& c : cases) {
    const CTextMatcher matcher(c.sText, c.bMatchCase, c.bWholeWord);
    const std::optional<STextHit> hit = matcher.Find(c.sValue);
    ASSERT_EQ(hit.has_value(), c.position.has_value()) << c.pWhat;
    if (hit) {
      EXPECT_EQ(CodePointCount(c.sValue, hit->nOffset), *c.position) << c.pWhat;
    }
  }
}

TEST(TextMatcherTest, AFoldedHitSpansWhatItMatched) {
  // The Kelvin sign takes three bytes where "k" takes one.
  const std::string sValue = "x\u212Ay";
  const std::optional<STextHit> hit = CTextMatcher("KY", false, false).Find(sValue);
  ASSERT_TRUE(hit);
  EXPECT_EQ(sValue.substr(hit->nOffset, hit->nLength), "\u212Ay");
}

}  // namespace
}  // namespace orv
