#include "note_fixture.h"
#include "ports/settings_defaults.h"
#include "tree/note_navigation.h"
#include "tree/note_order_commands.h"

namespace orv {
namespace {

using test::Question;
using enum EOrderCommand;

class NoteOrderTest : public test::CNoteCommandFixture<RunOrderCommand> {
 protected:
  bool Go(ENavigateCommand eCommand) { return RunNavigateCommand(tree, eCommand); }
  std::string Expanded(XMLelement* pNote) { return GetProperty(*pNote, "expand"); }
};

TEST_F(NoteOrderTest, SortsCompareBytesAskWithTheirOwnKeysAndSortAllStopsAtTheSecondLevel) {
  Build("P(b B a) Q(x(z y) x a)");
  tree.Select(N("P"));
  ui.QueueConfirm(false);
  Run(SortSubnotesByName, false);
  EXPECT_EQ(Outline(), "P(b B a) Q(x(z y) x a)");
  ui.QueueConfirm(true, true);
  Run(SortSubnotesByName);
  EXPECT_EQ(Outline(), "P(B a b) Q(x(z y) x a)");
  EXPECT_EQ(ReadSetting(settings, kDontAskNodeSort), 1);

  Run(SortSubnotesByName);  // silenced; sorting by creation time still asks
  ui.QueueConfirm(true);
  Run(SortSubnotesByCreateTime);
  ui.QueueConfirm(true);
  Run(SortAllByName);
  EXPECT_EQ(Outline(), "P(B a b) Q(a x x(z y))");  // the third level keeps its order
  EXPECT_EQ(ui.Calls(), std::vector(4, Question("Question", "Are you sure")));
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(NoteOrderTest, NotesWithoutATimeSortAfterDatedOnes) {
  Build("P(n1 n2 n3)");
  SetProperty(*N("P", "n1"), "Create time", "2020/05/01 00:00:00");
  FindPropertyElement(*N("P", "n2"), "Create time")->m_sName = "gone";
  SetProperty(*N("P", "n3"), "Create time", "2019/01/01 00:00:00");
  WriteSetting(settings, kDontAskSortCrTimeAll, 1);
  Run(SortAllByCreateTime);
  EXPECT_EQ(Outline(), "P(n3 n1 n2)");
}

TEST_F(NoteOrderTest, AutoNumberingPrefixesEveryLevelAndKeepsOldNumbers) {
  Build("X Plan(A B(B1 B2) C)");
  tree.Select(N("Plan"));
  ui.QueueConfirm(false);
  Run(AutoNumber, false);
  ui.QueueConfirm(true);
  Run(AutoNumber);
  EXPECT_EQ(Outline(), "X 1. Plan(1.1. A 1.2. B(1.2.1. B1 1.2.2. B2) 1.3. C)");
  ui.QueueConfirm(true);
  Run(AutoNumber);
  EXPECT_EQ(SelectedName(), "1. 1. Plan");
  EXPECT_EQ(ui.Calls().back(), Question("Question", "Are you sure"));
}

TEST_F(NoteOrderTest, ExpandAndCollapseInAllForms) {
  Build("A(A1(x)) B(B1)");
  tree.Select(N("A", "A1"));
  Run(CollapseSubnotes);
  EXPECT_EQ(Expanded(N("A", "A1")) + Expanded(N("A", "A1", "x")) + Expanded(N("A")),
            "falsefalsetrue");
  Run(ExpandSingleLevel);
  EXPECT_EQ(Expanded(N("A", "A1")) + Expanded(N("A", "A1", "x")), "truefalse");
  Run(ExpandAll);
  EXPECT_EQ(Expanded(N("A", "A1", "x")) + Expanded(N("B", "B1")), "truetrue");

  // The selected subnote disappears into its closed branch.
  EXPECT_EQ(Run(CollapseAll), (std::vector<std::string>{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(SelectedName(), "(none)");
  EXPECT_EQ(Expanded(N("A")) + Expanded(N("B", "B1")), "falsefalse");
  EXPECT_FALSE(IsEnabled(tree, ExpandSubnotes));
  EXPECT_TRUE(IsEnabled(tree, ExpandAll) && IsEnabled(tree, SortAllByName));

  OnBranchToggled(tree, *N("B"), true);
  EXPECT_EQ(Expanded(N("B")) + Expanded(N("B", "B1")), "truefalse");
}

TEST_F(NoteOrderTest, ArrowNavigationMovesOverTheShownNotesOnly) {
  Build("A(A1 A2) B(B1) C D");
  SetProperty(*N("B"), "expand", "false");
  AddProperty(*N("C"), "hide", "");
  tree.Select(N("A", "A2"));
  EXPECT_TRUE(Go(ENavigateCommand::Down));
  EXPECT_EQ(SelectedName(), "B");
  EXPECT_TRUE(Go(ENavigateCommand::Down));  // over the closed branch and the hidden C
  EXPECT_EQ(SelectedName(), "D");
  EXPECT_FALSE(Go(ENavigateCommand::Down));
  Go(ENavigateCommand::Up);
  Go(ENavigateCommand::Up);
  EXPECT_EQ(SelectedName(), "A2");
  Go(ENavigateCommand::Left);
  EXPECT_EQ(SelectedName(), "A");
  Go(ENavigateCommand::Left);  // closes the branch
  EXPECT_EQ(Expanded(N("A")), "false");
  EXPECT_FALSE(Go(ENavigateCommand::Up));
  Go(ENavigateCommand::Right);  // opens it
  Go(ENavigateCommand::Right);
  EXPECT_EQ(SelectedName(), "A1");
  Go(ENavigateCommand::Parent);
  EXPECT_EQ(SelectedName(), "A");
  tree.Select(N("A", "A2"));
  EXPECT_TRUE(Go(ENavigateCommand::ToRoot));
  EXPECT_EQ(SelectedName(), "A");
  EXPECT_FALSE(Go(ENavigateCommand::ToRoot));
}

TEST_F(NoteOrderTest, BackAndForwardFollowTheNotesVisited) {
  Build("X A B C");
  tree.Select(N("X"));
  EXPECT_TRUE(IsEnabled(tree, ENavigateCommand::Back));
  EXPECT_FALSE(Go(ENavigateCommand::Back));  // empty: the app beeps
  for (const char* pName : {"A", "B", "B", "C"}) SelectByUser(tree, N(pName));
  EXPECT_EQ(tree.History(Folder()).m_back.size(), 3u);  // B twice in a row counts once
  Go(ENavigateCommand::Back);
  Go(ENavigateCommand::Back);
  EXPECT_EQ(SelectedName(), "A");
  Go(ENavigateCommand::Forward);
  EXPECT_EQ(SelectedName(), "B");

  // A note deleted since is passed over, not selected.
  Go(ENavigateCommand::Back);
  Folder().DeleteNote(*N("X"));
  EXPECT_FALSE(Go(ENavigateCommand::Back));
  EXPECT_EQ(SelectedName(), "A");
  Go(ENavigateCommand::Forward);
  EXPECT_EQ(SelectedName(), "B");
}

}  // namespace
}  // namespace orv
