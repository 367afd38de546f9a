// Go To Line and Track Clipboard: the rules the editor views follow.

#include <gtest/gtest.h>

#include "editors/clipboard_tracker.h"
#include "editors/go_to_line.h"

namespace orv::test {
namespace {

TEST(GoToLineTest, ReadsTheNumberAsTheCLibraryDoes) {
  struct SCase {
    std::string_view sTyped;
    EGoToEditor eEditor;
    int nTarget;  // in a text of 10 lines, the caret on line 4 (0-based)
  };
  const SCase cases[] = {
      {"1", EGoToEditor::kText, 0},    {" +7x", EGoToEditor::kText, 6},
      {"10", EGoToEditor::kText, 9},   {"11", EGoToEditor::kText, -1},
      {"0", EGoToEditor::kText, 4},    {"abc", EGoToEditor::kText, 4},
      {"-3", EGoToEditor::kText, 4},   {"99999999999", EGoToEditor::kText, -1},
      {"3", EGoToEditor::kSource, 2},  {"0", EGoToEditor::kSource, 0},
      {"11", EGoToEditor::kSource, 9}, {"-2147483648", EGoToEditor::kSource, 0},
  };
  for (const SCase& c : cases)
    EXPECT_EQ(GoToLineTarget(c.sTyped, 10, 4, c.eEditor), c.nTarget) << c.sTyped;
  EXPECT_EQ(GoToLineLabel(42), "Line number (1 - 42)");
}

TEST(ClipboardTrackerTest, PastesEachNewTextOnceWhileOn) {
  CClipboardTracker tracker;
  EXPECT_FALSE(tracker.IsOn());
  EXPECT_EQ(tracker.OnClipboardChange("early"), std::nullopt);
  tracker.SetOn(true, "already there");
  EXPECT_EQ(tracker.OnClipboardChange("already there"), std::nullopt);
  EXPECT_EQ(tracker.OnClipboardChange("one"), "one");
  EXPECT_EQ(tracker.OnClipboardChange("one"), std::nullopt);  // told twice of one copy
  EXPECT_EQ(tracker.OnClipboardChange(""), std::nullopt);     // a picture, say
  EXPECT_EQ(tracker.OnClipboardChange("one"), "one");
  tracker.SetOn(false, "");
  EXPECT_EQ(tracker.OnClipboardChange("two"), std::nullopt);
}

}  // namespace
}  // namespace orv::test
