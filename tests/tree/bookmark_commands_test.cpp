#include "tree/bookmark_commands.h"

#include "note_fixture.h"
#include "tree/folder_commands.h"

namespace orv {
namespace {

using test::Message;
using TCalls = std::vector<std::string>;

class BookmarkCommandsTest : public test::CNoteFixture {
 protected:
  BookmarkCommandsTest() {
    doc.Folders() = CFolderList();
    for (const char* pName : {"Home", "Work", "My work", "Work"}) {
      CXMLTree& folder = doc.Folders().Append(std::make_unique<CXMLTree>());
      folder.SetFolderName(pName);
      folder.SetTreeScroll(0, static_cast<int>(doc.Folders().Count()));  // its own, restored
    }
  }
  void Fresh() {
    view.m_calls.clear();
    doc.ClearModified();
  }
  test::SUiCall NotFound(const std::string& sName) {
    return Message("Information", "Folder with name '" + sName + "' not found.",
                   EMessageIcon::Information);
  }
};

TEST_F(BookmarkCommandsTest, SetOverwritesAndTheMenuNamesTheFolder) {
  EXPECT_EQ(GoToBookmarkMenuText(doc, 3), "&3       Ctrl+3");
  EXPECT_FALSE(IsGoToBookmarkEnabled(doc, 3));
  EXPECT_FALSE(GoToBookmark(tree, 3));
  EXPECT_THROW(SetBookmark(tree, 10), std::invalid_argument);

  SetBookmark(tree, 3);
  SwitchFolder(tree, 1);
  Fresh();
  SetBookmark(tree, 3);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(view.m_calls.empty());
  const CBookmark& bookmark = doc.Bookmarks()[3];
  EXPECT_TRUE(bookmark.m_bUsed);
  EXPECT_EQ(bookmark.m_nFolder, 1);
  EXPECT_EQ(bookmark.m_sFolderName, "Work");
  EXPECT_EQ(bookmark.m_sText, "");
  EXPECT_EQ(bookmark.m_nReserved1 + bookmark.m_nReserved2, 0);
  EXPECT_EQ(GoToBookmarkMenuText(doc, 3), "&3       Ctrl+3 (Work)");
  EXPECT_FALSE(IsGoToBookmarkEnabled(doc, 0));
}

TEST_F(BookmarkCommandsTest, GoToFindsTheFirstFolderOfTheNameWhereverItMoved) {
  SwitchFolder(tree, 3);  // the second "Work"
  SetBookmark(tree, 1);
  SwitchFolder(tree, 0);
  Fresh();
  EXPECT_TRUE(GoToBookmark(tree, 1));
  EXPECT_EQ(tree.CurrentIndex(), 1);
  // The pane shows the folder's own scroll position, not the one of the folder left.
  EXPECT_EQ(view.m_calls, (TCalls{"store", "refresh", "scroll 0,2", "tabs"}));
  EXPECT_TRUE(doc.IsModified());

  SwitchFolder(tree, 2);
  SetBookmark(tree, 2);
  RunFolderCommand(tree, EFolderCommand::MakeFirst);
  SwitchFolder(tree, 3);
  EXPECT_TRUE(GoToBookmark(tree, 2));
  EXPECT_EQ(tree.CurrentFolder().FolderName(), "My work");
  EXPECT_EQ(tree.CurrentIndex(), 0);
  EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(BookmarkCommandsTest, ARenamedOrDeletedFolderBreaksTheBookmarkAndNothingChanges) {
  SwitchFolder(tree, 2);
  SetBookmark(tree, 5);
  ui.QueueText("Private");
  RunFolderCommand(tree, EFolderCommand::Rename);
  SwitchFolder(tree, 0);
  Fresh();
  EXPECT_FALSE(GoToBookmark(tree, 5));
  EXPECT_EQ(ui.Messages(), std::vector{NotFound("My work")});
  EXPECT_EQ(tree.CurrentIndex(), 0);
  EXPECT_TRUE(view.m_calls.empty());
  EXPECT_FALSE(doc.IsModified());

  // Deleted: the index it was set at now holds another folder, which is not used.
  SwitchFolder(tree, 1);
  SetBookmark(tree, 6);
  ui.QueueConfirm(true);
  RunFolderCommand(tree, EFolderCommand::Delete);
  doc.Folders().At(2).SetFolderName("Other");  // the remaining "Work"
  Fresh();
  EXPECT_FALSE(GoToBookmark(tree, 6));
  EXPECT_EQ(ui.Messages().back(), NotFound("Work"));
  EXPECT_TRUE(view.m_calls.empty());
}

// The window's tests follow a link to a folder and to a missing one; these pin
// the link's form and which folder of a name it leads to.
TEST_F(BookmarkCommandsTest, LinksKeepBlanksAsPlusAndLeadToTheFirstFolderOfTheirName) {
  EXPECT_EQ(BuildInternalLink("Work", "My note", "see this"), "wais://Work:My+note/+_+/see+this");
  std::optional<SInternalLink> link = ParseInternalLink("wais://My+work:My+note/+_+/see+this");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->m_sFolder, "My+work");
  EXPECT_EQ(link->m_sNote, "My note");
  EXPECT_EQ(link->m_sText, "see this");
  EXPECT_FALSE(ParseInternalLink("https://example.org/wais://x"));
  link = ParseInternalLink("wais://Work");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->m_sFolder, "Work");
  EXPECT_EQ(link->m_sNote, "");

  EXPECT_EQ(MakeInternalLink(tree, -1, "n", "t"), std::nullopt);
  EXPECT_EQ(ui.Messages(), std::vector{Message("Information", "Please select a Folder.",
                                               EMessageIcon::Information)});
  const std::optional<std::string> sMade = MakeInternalLink(tree, 2, "Plans 2024", "the plans");
  EXPECT_EQ(sMade, "wais://My+work:Plans+2024/+_+/the+plans");

  Fresh();
  EXPECT_EQ(FollowLink(tree, "mailto:me@example.org"), ELinkResult::External);
  EXPECT_TRUE(view.m_calls.empty());
  EXPECT_EQ(FollowLink(tree, "wais://Work:Plans+2024/+_+/x"), ELinkResult::FolderShown);
  EXPECT_EQ(tree.CurrentIndex(), 1);
  // A folder whose name has blanks is reached through its "+" form.
  EXPECT_EQ(FollowLink(tree, *sMade), ELinkResult::FolderShown);
  EXPECT_EQ(tree.CurrentIndex(), 2);
  EXPECT_TRUE(doc.IsModified());
  Fresh();
  EXPECT_EQ(FollowLink(tree, "wais://Play:x/+_+/y"), ELinkResult::FolderNotFound);
  EXPECT_FALSE(doc.IsModified());
}

}  // namespace
}  // namespace orv
