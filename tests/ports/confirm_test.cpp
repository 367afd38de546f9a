#include "ports/confirm.h"

#include <gtest/gtest.h>

#include "ports/memory_settings.h"
#include "support/scripted_ui.h"

namespace orv {
namespace {

using test::CScriptedUi;
using test::Question;

constexpr int32_t kAbsent = -1;

TEST(ConfirmTest, OnlyTickedYesSilencesTheQuestionAndOnlyItsOwn) {
  struct SCase {
    bool bYes;
    bool bTicked;
    int32_t nStored;
  };
  for (const SCase& c : {SCase{true, true, 1}, SCase{false, true, kAbsent},
                         SCase{true, false, kAbsent}, SCase{false, false, kAbsent}}) {
    SCOPED_TRACE(testing::Message() << "yes " << c.bYes << ", ticked " << c.bTicked);
    CMemorySettingsStore store;
    CScriptedUi ui;
    ui.QueueConfirm(c.bYes, c.bTicked);
    EXPECT_EQ(Confirm(ui, store, "Are you sure ?", "PageSort", "Question"), c.bYes);
    EXPECT_EQ(ui.Calls(), std::vector{Question("Question", "Are you sure ?")});
    EXPECT_EQ(store.GetInt("Settings", "PageSort", kAbsent), c.nStored);

    // Asked again unless it was silenced; another key's question always is.
    if (c.nStored != 1) ui.QueueConfirm(false);
    EXPECT_EQ(Confirm(ui, store, "Are you sure ?", "PageSort", "Question"), c.nStored == 1);
    ui.QueueConfirm(false);
    EXPECT_FALSE(Confirm(ui, store, "Are you sure ?", "DelNode", "Question"));
    EXPECT_EQ(ui.Calls().size(), c.nStored == 1 ? 2u : 3u);
  }
}

}  // namespace
}  // namespace orv
