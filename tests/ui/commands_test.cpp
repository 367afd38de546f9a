// Menu commands reach their core commands, and keys reach their commands.

#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>

#include "ports/settings_defaults.h"
#include "tree/bookmark_commands.h"
#include "ui/dialog_driver.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

class CommandsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    AnswerQuestionsYesAhead();
  }
  size_t FolderCount() { return Tree().Folders().Count(); }
  size_t NoteCount() { return Folder().NoteCount(); }
};

TEST_F(CommandsTest, MenuCommandsReachTheCore) {
  size_t nFolders = FolderCount();
  Trigger("Folders - New");
  EXPECT_EQ(FolderCount(), nFolders + 1);
  EXPECT_EQ(Window().Tabs().count(), static_cast<int>(nFolders + 1));
  Trigger("Folders - Make First");
  EXPECT_EQ(Tree().CurrentIndex(), 0);
  Trigger("Folders - Delete");
  EXPECT_EQ(FolderCount(), nFolders);

  Window().Tabs().setCurrentIndex(0);
  XMLelement* pFirst = Tree().SelectedNote();
  size_t nNotes = NoteCount();
  Trigger("Notes - New Subnote");
  EXPECT_EQ(NoteCount(), nNotes + 1);
  XMLelement* pNew = Tree().SelectedNote();
  EXPECT_EQ(GetProperty(*pNew, "name"), "New item");
  EXPECT_EQ(GetProperty(*pNew, "type"), "2");
  const auto shown = [&](Qt::ItemDataRole eRole) {
    return Window().TreeView().Model().data(Window().TreeView().currentIndex(), eRole);
  };
  Trigger("Notes - Color & Font - Bolded");
  EXPECT_NE(FindPropertyElement(*pNew, "bold"), nullptr);
  EXPECT_TRUE(shown(Qt::FontRole).value<QFont>().bold());
  Trigger("Notes - Enable Check Box");
  EXPECT_EQ(shown(Qt::CheckStateRole), Qt::Unchecked);
  Trigger("Notes - Delete");
  EXPECT_EQ(NoteCount(), nNotes);
  EXPECT_EQ(Tree().SelectedNote(), pFirst);

  Trigger("Bookmarks - Set Bookmark - 3");
  EXPECT_TRUE(Window().Doc().Bookmarks()[3].m_bUsed);
  Window().Tabs().setCurrentIndex(2);
  Trigger("Bookmarks - Go To Bookmark - 3");
  EXPECT_EQ(Tree().CurrentIndex(), 0);

  Trigger("Folders - Show Hidden Notes");
  EXPECT_TRUE(Folder().ShowsHidden());
  EXPECT_TRUE(Window().Doc().IsModified());
}

TEST_F(CommandsTest, NoteCommandsChangeTheSelectedNote) {
  Window().Tabs().setCurrentIndex(0);
  std::vector<XMLelement*> top = Tree().ShownChildren(nullptr);
  ASSERT_GE(top.size(), 2u);
  Choose(top[1]);
  Trigger("Notes - Move - Up");
  EXPECT_EQ(Tree().ShownChildren(nullptr).front(), top[1]);
  Trigger("Notes - Move - Right");  // under nothing: the first note cannot move right
  EXPECT_EQ(Tree().ShownChildren(nullptr).front(), top[1]);
  Trigger("Notes - Navigate - Down");
  EXPECT_EQ(Tree().SelectedNote(), top[0]);
  Trigger("Notes - Navigate - Back");
  EXPECT_EQ(Tree().SelectedNote(), top[1]);
  Trigger("Notes - Advanced - Sort - Sort All - Sort By Name");
  EXPECT_EQ(GetProperty(*Tree().ShownChildren(nullptr).front(), "name"), "Folders and notes");

  XMLelement* pNote = Tree().SelectedNote();
  Trigger("Notes - Hide");
  EXPECT_NE(FindPropertyElement(*pNote, "hide"), nullptr);
  EXPECT_FALSE(Window().TreeView().Model().IndexOf(pNote).isValid());
  Trigger("Folders - Show Hidden Notes");
  Choose(pNote);
  Trigger("Notes - Hide");
  Trigger("Notes - Advanced - Set Read Only");
  EXPECT_EQ(GetProperty(*pNote, "readonly"), "true");
  EXPECT_TRUE(Window().Editors().ActiveEdit()->property("readOnly").toBool());
  Trigger("Notes - Advanced - Set Read Only");
  EXPECT_FALSE(Window().Editors().ActiveEdit()->property("readOnly").toBool());

  size_t nNotes = NoteCount();
  Trigger("Notes - Copy Subnotes");
  Trigger("Notes - Paste Subnotes");
  EXPECT_GT(NoteCount(), nNotes);
  Trigger("Notes - Advanced - Set Note Name - Current Date");
  EXPECT_NE(GetProperty(*Tree().SelectedNote(), "name"), GetProperty(*pNote, "name"));
}

TEST_F(CommandsTest, InternalLinksShowTheirFolderAndOthersAreNotOurs) {
  Window().Tabs().setCurrentIndex(0);
  emit Window().Editors().LinkClicked(
      QString::fromStdString(BuildInternalLink("Command line", "orvella-cli", "see there")));
  EXPECT_EQ(Tree().CurrentIndex(), 2);
  CDialogDriver driver;
  std::string sShown;
  driver.OnNextMessage(sShown);
  emit Window().Editors().LinkClicked(
      QString::fromStdString(BuildInternalLink("Nowhere", "x", "y")));
  EXPECT_EQ(sShown, "Folder with name 'Nowhere' not found.");
  EXPECT_EQ(Tree().CurrentIndex(), 2);
}

TEST_F(CommandsTest, InsertedLinksBecomeLinksInTheRichText) {
  Window().Tabs().setCurrentIndex(0);
  Choose(FindNoteOfType("2"));
  CDialogDriver driver;
  driver.OnNextDialog([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>()->setText("someone@example.com");
    Press(dialog, QDialogButtonBox::Ok);
  });
  Trigger("Insert - E-Mail Link ...");
  QTextDocument& document = *Window().Editors().RichEdit().document();
  EXPECT_TRUE(document.toHtml().contains("href=\"mailto:someone@example.com\""));
  EXPECT_TRUE(document.isModified());
}

TEST_F(CommandsTest, MenusOfferCommandsAsTheCoreSays) {
  Window().Doc().OnNewDocument();  // one folder: it cannot be deleted or moved
  Window().RebuildTabs();
  Tree().RefreshTree(false);
  ASSERT_NE(Menu("&Folders"), nullptr);
  emit Menu("&Folders")->aboutToShow();
  EXPECT_FALSE(Window().Command("Folders - Delete")->isEnabled());
  EXPECT_FALSE(Window().Command("Folders - Move Left")->isEnabled());
  EXPECT_TRUE(Window().Command("Folders - New")->isEnabled());
  EXPECT_FALSE(Window().Command("Folders - Show Hidden Notes")->isChecked());
}

TEST_F(CommandsTest, KeysFireTheirCommandsWhereTheyBelong) {
  ShowActive();
  size_t nFolders = FolderCount();
  QTest::keyClick(&Window(), Qt::Key_F7);
  EXPECT_EQ(FolderCount(), nFolders + 1);

  Window().Tabs().setCurrentIndex(0);  // a folder with a selected note
  Window().TreeView().setFocus();
  size_t nNotes = NoteCount();
  QTest::keyClick(&Window().TreeView(), Qt::Key_Insert);
  EXPECT_EQ(NoteCount(), nNotes + 1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // leave the label editor
  Window().TreeView().setFocus();
  QTest::keyClick(&Window().TreeView(), Qt::Key_Delete);
  EXPECT_EQ(NoteCount(), nNotes);

  Choose(FindNoteOfType("2"));
  CRichTextEdit& edit = Window().Editors().RichEdit();
  edit.setFocus();
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(edit.textCursor().charFormat().fontWeight(), QFont::Bold);
  // Ctrl+C in the editor copies text, not the note's branch.
  QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(),
            edit.textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'));
}

TEST_F(CommandsTest, AKeyWorksAfterItsMenuShowedTheCommandDisabled) {
  ShowActive();
  QMenu* pNotes = Menu("&Notes");
  ASSERT_NE(pNotes, nullptr);
  XMLelement* pNote = Tree().SelectedNote();
  Tree().Select(nullptr);
  Tree().RefreshTree(false);
  emit pNotes->aboutToShow();
  EXPECT_FALSE(Window().Command("Notes - Delete")->isEnabled());
  emit pNotes->aboutToHide();

  Choose(pNote);
  Window().TreeView().setFocus();
  size_t nNotes = NoteCount();
  QTest::keyClick(&Window().TreeView(), Qt::Key_Delete);
  EXPECT_LT(NoteCount(), nNotes);
}

TEST_F(CommandsTest, BuiltInKeysAreOnTheirCommands) {
  EXPECT_EQ(Window().Command("File - Save")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(Window().Command("Folders - Delete")->shortcut(), QKeySequence("Ctrl+F7"));
  EXPECT_EQ(Window().Command("Notes - Rename")->shortcut(), QKeySequence("F2"));
  EXPECT_EQ(Window().Command("Bookmarks - Go To Bookmark - 7")->shortcut(), QKeySequence("Ctrl+7"));
  EXPECT_EQ(Window().Command("Bookmarks - Set Bookmark - 0")->shortcut(),
            QKeySequence("Ctrl+Shift+0"));
  EXPECT_EQ(Window().Command("Notes - New Note")->shortcut(), QKeySequence("Shift+Ins"));
  EXPECT_EQ(Window().Command("Edit - Undo")->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Alt+Backspace"), QKeySequence("Ctrl+Z")}));
}

}  // namespace
}  // namespace orv::test
