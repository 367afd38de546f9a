#include "tree/folder_commands.h"

#include "note_fixture.h"

namespace orv {
namespace {

using test::IconPrompt;
using test::Question;
using test::TextPrompt;
using TCalls = std::vector<std::string>;
using enum EFolderCommand;

class FolderCommandsTest : public test::CNoteCommandFixture<RunFolderCommand> {
 protected:
  // Folders with these names, the one at nCurrent current, nothing recorded yet.
  void MakeFolders(const std::vector<std::string>& names, int nCurrent) {
    doc.Folders() = CFolderList();
    for (const std::string& sName : names) {
      CXMLTree& folder = doc.Folders().Append(std::make_unique<CXMLTree>());
      folder.SetFolderName(sName);
      folder.SetFolderIcon(static_cast<int>(doc.Folders().Count()));  // tells equal names apart
    }
    doc.ClearModified();
    doc.Folders().SetCurrent(nCurrent);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& pFolder : doc.Folders()) names.push_back(pFolder->FolderName());
    return names;
  }
};

TEST_F(FolderCommandsTest, OneFolderOffersNeitherDeleteNorMovesAndNewIsNamedByCount) {
  for (EFolderCommand e : {Delete, MoveLeft, MoveRight, MakeFirst, MakeLast}) {
    EXPECT_FALSE(IsEnabled(tree, e));
    Run(e, false);
  }
  for (EFolderCommand e : {New, Rename, SetIcon, SortAscending, SortDescending, ShowHidden})
    EXPECT_TRUE(IsEnabled(tree, e));
  EXPECT_TRUE(ui.Calls().empty());
  EXPECT_FALSE(doc.IsModified());

  EXPECT_EQ(Run(New), (TCalls{"store", "refresh", "scroll 0,0", "tabs"}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Folder #1", "Folder #1"}));
  EXPECT_EQ(tree.CurrentIndex(), 1);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(IsEnabled(tree, MoveLeft) && IsEnabled(tree, MakeFirst) && IsEnabled(tree, Delete));
  EXPECT_FALSE(IsEnabled(tree, MoveRight) || IsEnabled(tree, MakeLast));

  // The count names it, not the highest number in use.
  Run(New);
  SwitchFolder(tree, 1);
  ui.QueueConfirm(true);
  Run(Delete);
  Run(New);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Folder #1", "Folder #2", "Folder #2"}));
}

// Moves exchange, not rotate; a delete leaves the previous folder current, or the new first.
TEST_F(FolderCommandsTest, CommandsOnFourFolders) {
  settings.SetInt("Settings", "DelPage", 1);
  struct SCase {
    EFolderCommand eCommand;
    int nCurrent;
    std::vector<std::string> expected;
    int nExpectedCurrent;
  };
  for (const SCase& c :
       {SCase{MakeFirst, 2, {"C", "B", "A", "D"}, 0}, SCase{MakeLast, 1, {"A", "D", "C", "B"}, 3},
        SCase{MoveLeft, 2, {"A", "C", "B", "D"}, 1}, SCase{MoveRight, 2, {"A", "B", "D", "C"}, 3},
        SCase{Delete, 0, {"B", "C", "D"}, 0}, SCase{Delete, 2, {"A", "B", "D"}, 1}}) {
    SCOPED_TRACE(static_cast<int>(c.eCommand));
    MakeFolders({"A", "B", "C", "D"}, c.nCurrent);
    EXPECT_EQ(Run(c.eCommand), (TCalls{"store", "refresh", "scroll 0,0", "tabs"}));
    EXPECT_EQ(Names(), c.expected);
    EXPECT_EQ(tree.CurrentIndex(), c.nExpectedCurrent);
  }
}

TEST_F(FolderCommandsTest, SortComparesBytesAndExchangesLikeASelectionSort) {
  settings.SetInt("Settings", "PageSort", 1);
  MakeFolders({"b", "B", "a", "\xC3\xA9", "z"}, 2);
  EXPECT_EQ(Run(SortAscending), (TCalls{"store", "refresh", "scroll 0,0", "tabs"}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"B", "a", "b", "z", "\xC3\xA9"}));
  EXPECT_EQ(tree.CurrentIndex(), 0);
  Run(SortDescending);
  EXPECT_EQ(Names(), (std::vector<std::string>{"\xC3\xA9", "z", "b", "a", "B"}));

  // The first of equal names wins a place; exchanging then reverses the two.
  MakeFolders({"x", "x", "a"}, 1);
  Run(SortAscending);
  std::vector<int> icons;
  for (const auto& pFolder : doc.Folders()) icons.push_back(pFolder->FolderIcon());
  EXPECT_EQ(icons, (std::vector<int>{3, 2, 1}));
}

TEST_F(FolderCommandsTest, DontAskAgainCountsOnlyWithYes) {
  MakeFolders({"A", "B", "C"}, 0);
  ui.QueueConfirm(true, true);
  Run(Delete);
  Run(Delete);  // asks nothing more
  EXPECT_EQ(ui.Calls(), std::vector{Question("Question", "Are you sure ?")});
  EXPECT_EQ(settings.GetInt("Settings", "DelPage", 0), 1);

  ui.QueueConfirm(false, true);
  ui.QueueConfirm(true);
  EXPECT_EQ(Run(SortAscending, false), TCalls{});
  Run(SortAscending);
  EXPECT_EQ(ui.Calls().size(), 3u);
  EXPECT_EQ(settings.GetInt("Settings", "PageSort", -1), -1);
}

TEST_F(FolderCommandsTest, NoAndCancelChangeNothing) {
  MakeFolders({"b", "a"}, 1);
  ui.QueueConfirm(false);
  ui.QueueConfirm(false);
  ui.QueueText(std::nullopt);
  ui.QueueIcon(std::nullopt);
  for (EFolderCommand e : {Delete, SortAscending, Rename, SetIcon})
    EXPECT_EQ(Run(e, false), TCalls{});
  EXPECT_EQ(ui.Calls().back(), IconPrompt(2));
  EXPECT_EQ(Names(), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(tree.CurrentIndex(), 1);
  EXPECT_EQ(tree.CurrentFolder().FolderIcon(), 2);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(FolderCommandsTest, RenameToEmptyAndSetIcon) {
  ui.QueueText("");
  EXPECT_EQ(Run(Rename), (TCalls{"store", "refresh", "scroll 0,0", "tabs"}));
  EXPECT_EQ(ui.Calls(), std::vector{TextPrompt("Enter a new name", "Folder #1")});
  EXPECT_EQ(tree.CurrentFolder().FolderName(), "");
  EXPECT_EQ(TabToolTip(tree.CurrentFolder()), "A new unsaved file");
  EXPECT_TRUE(doc.IsModified());

  ui.QueueIcon(12);
  EXPECT_EQ(Run(SetIcon), TCalls{"tabs"});
  EXPECT_EQ(ui.Calls().back(), IconPrompt(47));
  EXPECT_EQ(tree.CurrentFolder().FolderIcon(), 12);
}

TEST_F(FolderCommandsTest, ScrollIsRememberedPerFolderAndSwitchingRestoresIt) {
  MakeFolders({"A", "B"}, 0);
  doc.Folders().At(1).SetTreeScroll(3, 4);
  view.m_scroll = {5, 7};
  tree.RefreshTree(true);
  EXPECT_EQ(doc.Folders().At(0).TreeScroll(), std::make_pair(5, 7));
  EXPECT_FALSE(tree.IsRefreshing());

  view.m_calls.clear();
  view.m_scroll = {9, 9};
  SwitchFolder(tree, 1);
  EXPECT_EQ(view.m_calls, (TCalls{"store", "refresh", "scroll 3,4"}));
  EXPECT_EQ(tree.CurrentFolder().TreeScroll().first, 3);  // the pane's position was not taken
  EXPECT_TRUE(doc.IsModified());
  EXPECT_THROW(SwitchFolder(tree, 2), std::invalid_argument);
  EXPECT_EQ(tree.CurrentIndex(), 1);
}

TEST_F(FolderCommandsTest, HiddenNotesLeaveOutTheirSubtreeUnlessTheFolderShowsThem) {
  CXMLTree& folder = tree.CurrentFolder();
  XMLelement* pFirst = folder.TopLevel().front().get();
  XMLelement* pParent = folder.InsertNote({.sName = "Parent", .nType = 2, .nContentClass = 2});
  XMLelement* pKid =
      folder.InsertNote({.sName = "Kid", .nType = 2, .nContentClass = 2, .pParent = pParent});
  XMLelement* pLast = folder.InsertNote({.sName = "Last", .nType = 2, .nContentClass = 2});
  AddProperty(*pParent, "hide", "false");  // its presence alone counts
  SetProperty(*pFirst, "selected", "true");

  tree.Select(pKid);
  EXPECT_EQ(GetProperty(*pFirst, "selected"), "false");
  EXPECT_EQ(tree.SelectedNote(), nullptr);  // a hidden note has no item to act on
  EXPECT_EQ(tree.ShownChildren(nullptr), (std::vector{pFirst, pLast}));
  EXPECT_FALSE(tree.IsShown(*pParent) || tree.IsShown(*pKid));
  EXPECT_TRUE(tree.IsShown(*pLast));

  doc.ClearModified();
  EXPECT_EQ(Run(ShowHidden), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(IsChecked(tree, ShowHidden));
  EXPECT_EQ(tree.ShownChildren(nullptr), (std::vector{pFirst, pParent, pLast}));
  EXPECT_EQ(tree.ShownChildren(pParent), std::vector{pKid});
  EXPECT_TRUE(tree.IsShown(*pKid));
  EXPECT_EQ(tree.SelectedNote(), pKid);

  // Each folder keeps its own setting.
  Run(New);
  EXPECT_FALSE(IsChecked(tree, ShowHidden));
  EXPECT_FALSE(tree.IsShown(*pKid));  // not a note of this folder
  SwitchFolder(tree, 0);
  EXPECT_TRUE(IsChecked(tree, ShowHidden));
}

}  // namespace
}  // namespace orv
