#include "tree/note_commands.h"

#include "note_fixture.h"
#include "ports/settings_defaults.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::Message;
using test::NoteTypePrompt;
using test::Question;
using TCalls = std::vector<std::string>;
using enum ENoteCommand;

class NoteCommandsTest : public test::CNoteCommandFixture<RunNoteCommand> {
 protected:
  std::string Content(XMLelement* pNote) { return Folder().ContentOf(*pNote)->GetContent(); }
};

TEST_F(NoteCommandsTest, NewNotesTakeTheDefaultTypeOrAskAndTickingTheBoxMakesItTheDefault) {
  Build("A(A1 A2) B");
  tree.Select(N("A", "A2"));
  WriteSetting(settings, kDefIcon, 7);
  EXPECT_EQ(Run(InsertBefore), (TCalls{"store", "refresh", "scroll 0,0", "edit New item"}));
  EXPECT_EQ(Outline(), "A(A1 New item A2) B");  // before A2, not at the start of the level
  EXPECT_EQ(SelectedName(), "New item");
  XMLelement* pNew = tree.SelectedNote();
  EXPECT_EQ(GetProperty(*pNew, "type"), "2");
  EXPECT_EQ(GetProperty(*pNew, "icon"), "7");
  EXPECT_TRUE(doc.IsModified());

  WriteSetting(settings, kSetDef, 0);
  ui.QueueNoteType(std::nullopt);
  Run(NewSubnote, false);
  ui.QueueNoteType(SNoteTypeAnswer{1, false});
  Run(NewSubnote);
  EXPECT_EQ(ReadSetting(settings, kSetDef), 0);
  ui.QueueNoteType(SNoteTypeAnswer{0, true});
  Run(NewNote);
  EXPECT_EQ(Outline(), "A(A1 New item(New item New item) A2) B");
  EXPECT_EQ(GetProperty(*tree.SelectedNote(), "type"), "0");
  EXPECT_EQ(ReadSetting(settings, kSetDef), 1);
  EXPECT_EQ(ReadSetting(settings, kDefType), 0);
  Run(NewNote);  // silent now
  EXPECT_EQ(ui.Calls(), (std::vector{NoteTypePrompt(2), NoteTypePrompt(2), NoteTypePrompt(2)}));

  // "None" (or any type not offered) asks even with bSetDef set.
  WriteSetting(settings, kDefType, kDefTypeNone);
  ui.QueueNoteType(std::nullopt);
  Run(NewNote, false);
  EXPECT_EQ(ui.Calls().back(), NoteTypePrompt(2));
}

TEST_F(NoteCommandsTest, WithoutASelectedNoteOnlyTopLevelNotesCanBeCreated) {
  Build("");
  for (ENoteCommand e : {NewSubnote, SubnoteFromSelection, Rename, Delete, MoveUp, NameDate})
    EXPECT_FALSE(IsEnabled(tree, e));
  Run(NewNote);
  Run(InsertBefore);
  EXPECT_EQ(Outline(), "New item New item");
}

TEST_F(NoteCommandsTest, LabelEditsReplaceAngleBracketsButOtherNamesAreTakenAsTheyAre) {
  Build("A");
  tree.Select(N("A"));
  EXPECT_EQ(Run(Rename), (TCalls{"edit A"}));
  OnLabelEdited(tree, *N("A"), "a<b>");
  EXPECT_EQ(Outline(), "a[b]");
  EXPECT_TRUE(doc.IsModified());

  ui.m_clipboard = "a<b>";
  Run(NameFromClipboard);
  EXPECT_EQ(Outline(), "a<b>");
  view.m_sSelection = "x\r\ny";
  Run(NameFromSelection);
  EXPECT_EQ(SelectedName(), "x\r\ny");
  test::CPinnedClock clock(2024, 2, 29, 23, 59, 58);
  Run(NameDate);
  EXPECT_EQ(SelectedName(), "02/29/24");
  Run(NameDateTime);
  EXPECT_EQ(SelectedName(), "02/29/24 23:59:58");
  Run(NameTime);
  EXPECT_EQ(SelectedName(), "23:59:58");

  ui.m_clipboard.reset();
  EXPECT_TRUE(Run(NameFromClipboard, false).empty());
  view.m_sSelection.clear();
  Run(NameFromSelection, false);
  EXPECT_EQ(ui.Messages(),
            (std::vector{Message("Warning", "Clipboard is empty", EMessageIcon::Warning),
                         Message("Warning", "Selection is empty", EMessageIcon::Warning)}));
}

TEST_F(NoteCommandsTest, ASubnoteFromSelectionIsNamedByTheFirstLineAndHoldsAllLines) {
  Build("A");
  tree.Select(N("A"));
  Run(SubnoteFromSelection, false);
  EXPECT_EQ(Outline(), "A");
  EXPECT_EQ(ui.Messages(),
            (std::vector{Message("Warning", "Selection is empty", EMessageIcon::Warning)}));

  view.m_sSelection = "first\r\nsecond";
  EXPECT_EQ(Run(SubnoteFromSelection),
            (TCalls{"store", "refresh", "scroll 0,0"}));  // no label edit
  EXPECT_EQ(Outline(), "A(first)");
  EXPECT_EQ(Content(N("A", "first")), "first\r\nsecond");
  EXPECT_EQ(SelectedName(), "first");
}

TEST_F(NoteCommandsTest, DeleteAsksThenSelectsTheParentAndReleasesTheContents) {
  Build("A(A1(x) A2) B");
  tree.Select(N("A", "A1"));
  ui.QueueConfirm(false, true);
  Run(Delete, false);
  EXPECT_EQ(Outline(), "A(A1(x) A2) B");
  // The editor shows a subnote of the deleted note: it must not store into it.
  Folder().SetOpenNote(N("A", "A1", "x"));
  ui.QueueConfirm(true, true);
  EXPECT_EQ(Run(Delete), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(Folder().OpenNote(), nullptr);
  EXPECT_EQ(ui.Calls(), (std::vector{Question("Question", "Are you sure ?"),
                                     Question("Question", "Are you sure ?")}));
  EXPECT_EQ(Outline(), "A(A2) B");
  EXPECT_EQ(SelectedName(), "A");
  EXPECT_EQ(Folder().Contents().size(), 3u);
  EXPECT_EQ(ReadSetting(settings, kDontAskDelNode), 1);

  Run(Delete);  // silenced now; a top-level note leaves nothing selected
  EXPECT_EQ(Outline(), "B");
  EXPECT_EQ(SelectedName(), "(none)");
  EXPECT_EQ(ui.Calls().size(), 2u);
}

TEST_F(NoteCommandsTest, MovesKeepSubtreesAndImpossibleMovesRefreshNothing) {
  Build("A(A1 A2(y)) B C");
  tree.Select(N("A"));
  EXPECT_EQ(Run(MoveUp, false), TCalls{});
  EXPECT_EQ(Run(MoveRight, false), TCalls{});
  EXPECT_EQ(Run(MoveLeft, false), TCalls{});
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(Run(MoveDown), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(Outline(), "B A(A1 A2(y)) C");

  tree.Select(N("A", "A2"));
  Run(MoveLeft);  // directly after its former parent, not at the end of the level
  EXPECT_EQ(Outline(), "B A(A1) A2(y) C");
  Run(MoveRight);
  EXPECT_EQ(Outline(), "B A(A1 A2(y)) C");
  Run(MoveUp);
  Run(MoveUp, false);
  EXPECT_EQ(Outline(), "B A(A2(y) A1) C");
  EXPECT_EQ(SelectedName(), "A2");
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(NoteCommandsTest, DropsCopyOrMoveWholeBranchesAndRefuseAMoveIntoItself) {
  Build("A(A1(x)) B");
  Folder().ContentOf(*N("A", "A1", "x"))->SetContent("text of x");
  tree.Select(N("A", "A1"));
  EXPECT_FALSE(CanDropNote(*N("A"), *N("A", "A1"), true));
  EXPECT_EQ(DropNote(tree, *N("A"), *N("A", "A1", "x"), EDropPlace::Onto, true), nullptr);
  EXPECT_EQ(DropNote(tree, *N("A"), *N("A"), EDropPlace::Onto, true), nullptr);
  EXPECT_EQ(Outline(), "A(A1(x)) B");
  EXPECT_TRUE(view.m_calls.empty());

  ASSERT_NE(DropNote(tree, *N("A"), *N("B"), EDropPlace::Onto, false), nullptr);
  EXPECT_EQ(Outline(), "A(A1(x)) B(A(A1(x)))");
  EXPECT_EQ(SelectedName(), "A1");
  EXPECT_EQ(tree.SelectedNote(), N("A", "A1"));  // the copy carries no second selection

  XMLelement* pMoved = DropNote(tree, *N("A"), *N("B", "A", "A1"), EDropPlace::Onto, true);
  ASSERT_NE(pMoved, nullptr);
  EXPECT_EQ(Outline(), "B(A(A1(x A(A1(x)))))");
  EXPECT_EQ(tree.SelectedNote(), N("B", "A", "A1", "A", "A1"));  // the selection moved with it
  EXPECT_EQ(Content(N("B", "A", "A1", "A", "A1", "x")), "text of x");
  EXPECT_EQ(Folder().Contents().size(), 7u);
  EXPECT_EQ(view.m_calls,
            (TCalls{"store", "refresh", "scroll 0,0", "store", "refresh", "scroll 0,0"}));
}

TEST_F(NoteCommandsTest, ADropBetweenRowsLandsThereAtThatRowsLevel) {
  struct SCase {
    std::vector<std::string> dragged, target;
    EDropPlace ePlace;
    bool bMove;
    const char* pOutline;  // null: refused, nothing changes
  };
  const SCase cases[] = {
      {{"C"}, {"A"}, EDropPlace::Before, true, "C A(A1 A2) B"},
      {{"A"}, {"B"}, EDropPlace::After, true, "B A(A1 A2) C"},
      {{"C"}, {"A", "A1"}, EDropPlace::After, true, "A(A1 C A2) B"},
      {{"A", "A2"}, {"B"}, EDropPlace::Before, true, "A(A1) A2 B C"},
      {{"B"}, {"A", "A1"}, EDropPlace::Before, false, "A(B A1 A2) B C"},
      {{"A"}, {"A"}, EDropPlace::After, false, "A(A1 A2) A(A1 A2) B C"},
      {{"A"}, {"A", "A2"}, EDropPlace::Before, false, "A(A1 A(A1 A2) A2) B C"},
      {{"A"}, {"A"}, EDropPlace::Before, true, nullptr},
      {{"A"}, {"A", "A1"}, EDropPlace::After, true, nullptr},
  };
  for (const SCase& c : cases) {
    Build("A(A1 A2) B C");
    auto at = [&](const std::vector<std::string>& path) {
      return path.size() == 1 ? N(path[0]) : N(path[0], path[1]);
    };
    XMLelement* pCopy = DropNote(tree, *at(c.dragged), *at(c.target), c.ePlace, c.bMove);
    EXPECT_EQ(pCopy != nullptr, c.pOutline != nullptr) << c.dragged.back();
    EXPECT_EQ(Outline(), c.pOutline ? c.pOutline : "A(A1 A2) B C") << c.dragged.back();
  }
}

TEST_F(NoteCommandsTest, StoringTheEditorsTextDatesTheNoteOnlyWhenTheTextChanged) {
  Build("A");
  XMLelement& note = *N("A");
  SetProperty(note, "Modificate time", "2001/01/01 00:00:00");
  EXPECT_FALSE(tree.StoreEditorText(note, ""));
  EXPECT_EQ(GetProperty(note, "Modificate time"), "2001/01/01 00:00:00");
  EXPECT_FALSE(doc.IsModified());

  SetProperty(note, "save", "false");  // the editor shows a password placeholder
  EXPECT_FALSE(tree.StoreEditorText(note, "placeholder"));
  EXPECT_EQ(Content(&note), "");

  SetProperty(note, "save", "true");
  test::CPinnedClock clock(2024, 12, 1, 8, 7, 6);
  EXPECT_TRUE(tree.StoreEditorText(note, "new"));
  EXPECT_EQ(Content(&note), "new");
  EXPECT_EQ(GetProperty(note, "Modificate time"), "2024/12/01 08:07:06");
  EXPECT_TRUE(doc.IsModified());
}

}  // namespace
}  // namespace orv
