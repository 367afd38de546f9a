// Nothing a user typed or opened is lost: not to undo right after opening a
// note, not to a command that shows the tree afresh, not to a declined
// passphrase.

#include <gmock/gmock.h>

#include <QPlainTextEdit>

#include "app/recent_files.h"
#include "ui/dialog_driver.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

struct SNoteKind {
  int32_t nType;
  const char* pContent;
};

// One note of each editor: plain text, HTML, rich text.
constexpr SNoteKind kKinds[] = {
    {0, "First line\nSecond line"},
    {1, "<p>Some <b>bold</b> text</p>"},
    {2, "{\\rtf1\\ansi Some {\\b bold} text\\par Second line\\par}"},
};

class EditorSafetyTest : public MainWindowTest {
 protected:
  QString ShownText() {
    QWidget* pEdit = Window().Editors().ActiveEdit();
    if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pEdit)) return pPlain->toPlainText();
    return qobject_cast<QTextEdit*>(pEdit)->toPlainText();
  }
  // The content of pNote wherever it is now; null when it is gone.
  CBaseContentNode* ContentWherever(const XMLelement* pNote) {
    for (const auto& pFolder : Tree().Folders())
      for (XMLelement* pOther : pFolder->AllNotes())
        if (pOther == pNote) return pFolder->ContentOf(*pNote);
    return nullptr;
  }
};

TEST_F(EditorSafetyTest, UndoRightAfterOpeningANoteTakesNothingAway) {
  for (const SNoteKind& kind : kKinds) {
    SCOPED_TRACE(kind.nType);
    XMLelement* pNote = OpenNewNote(kind.nType, kind.pContent);
    Window().Doc().ClearModified();
    QWidget* pEdit = Window().Editors().ActiveEdit();
    const QString sShown = ShownText();
    ASSERT_FALSE(sShown.isEmpty());
    QTest::mouseClick(pEdit->focusProxy() ? pEdit->focusProxy() : pEdit, Qt::LeftButton);
    for (int i = 0; i < 3; ++i) QTest::keyClick(pEdit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(pEdit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ShownText(), sShown);
    Choose(Tree().ShownChildren(nullptr).front());
    EXPECT_EQ(Content(*pNote), kind.pContent);
    EXPECT_FALSE(Window().Doc().IsModified());
    EXPECT_FALSE(Window().isWindowModified());
  }
}

// Every command runs, none may crash or hang, and none may lose what was typed.
TEST_F(EditorSafetyTest, TextTypedBeforeAnyCommandSurvivesIt) {
  AnswerQuestionsYesAhead();
  // Whatever else a command asks is cancelled.
  const auto pCloser = CancelEveryDialog();
  int nChecked = 0;
  for (const SNoteKind& kind : kKinds) {
    for (QAction* pAction : MenuCommands()) {
      const QString sName = pAction->objectName();
      if (sName == "File - Exit") continue;
      // The clipboard and undo commands work on the typed text by design.
      const bool bKeepsTyped = !sName.startsWith("Edit - ") || sName.contains("Advanced") ||
                               sName.startsWith("Edit - Find");
      XMLelement* pNote = OpenNewNote(kind.nType, kind.pContent);
      const std::string sTyped = "Typed" + std::to_string(nChecked);
      QTest::keyClicks(Window().Editors().ActiveEdit(), QString::fromStdString(sTyped));
      ShowMenus();
      if (!pAction->isEnabled()) continue;
      pAction->trigger();
      QCoreApplication::processEvents();
      Window().StoreEditorContent();
      if (!bKeepsTyped) continue;
      ++nChecked;
      // A command that deleted the note took its text with it.
      if (CBaseContentNode* pContent = ContentWherever(pNote)) {
        EXPECT_NE(pContent->GetContent().find(sTyped), std::string::npos)
            << sName.toStdString() << " on a note of type " << kind.nType;
      }
    }
  }
  EXPECT_GT(nChecked, 200);
}

TEST_F(EditorSafetyTest, DecliningThePassphraseKeepsTheOpenDocumentAndTheRecentEntry) {
  Window().Doc().SetProtection("right");
  ASSERT_TRUE(Window().SaveDocument());
  const std::string sOther = m_dir.File("other.orv");
  std::filesystem::copy_file(ORVELLA_ABOUT, sOther);
  ASSERT_TRUE(Window().OpenDocument(QString::fromStdString(sOther)));

  CDialogDriver driver;
  QString sPromptTitle;
  driver.OnNextDialog([&](QDialog& dialog) {  // "Enter a passphrase"
    sPromptTitle = dialog.windowTitle();
    dialog.reject();
  });
  std::string sShown;
  driver.OnNextMessage(sShown);
  EXPECT_FALSE(Window().OpenDocument(QString::fromStdString(m_sDocument)));
  EXPECT_EQ(sShown, kNoPassphraseText);
  EXPECT_TRUE(sPromptTitle.contains("notes.orv")) << sPromptTitle.toStdString();
  EXPECT_TRUE(Window().OpenWasCancelled());
  EXPECT_FALSE(Window().HasQuit());
  EXPECT_EQ(Window().Doc().PathName(), sOther);
  EXPECT_NE(Window().Editors().OpenNoteElement(), nullptr);
  const CRecentFiles recent(*m_pSettings);
  EXPECT_THAT(recent.List(), testing::Contains(m_sDocument));
}

}  // namespace
}  // namespace orv::test
