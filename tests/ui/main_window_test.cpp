// Opening, editing, switching and saving notes through the main window.

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

#include "app/recent_files.h"
#include "ports/settings_defaults.h"
#include "tree/note_protection.h"
#include "ui/dialog_driver.h"
#include "ui/dialogs/qt_ui.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

TEST_F(MainWindowTest, ViewingNotesKeepsTheirBytesAndTimes) {
  std::vector<std::pair<std::string, std::string>> before;
  for (XMLelement* pNote : Folder().AllNotes())
    before.emplace_back(Content(*pNote), GetProperty(*pNote, "Modificate time"));
  for (XMLelement* pNote : Folder().AllNotes()) Choose(pNote);
  Choose(Folder().AllNotes().front());
  size_t i = 0;
  for (XMLelement* pNote : Folder().AllNotes()) {
    EXPECT_EQ(Content(*pNote), before[i].first) << GetProperty(*pNote, "name");
    EXPECT_EQ(GetProperty(*pNote, "Modificate time"), before[i].second);
    ++i;
  }
  EXPECT_FALSE(Window().Doc().IsModified());
  EXPECT_FALSE(Window().isWindowModified());
}

TEST_F(MainWindowTest, EditedPlainTextIsStoredOnSwitchingAndSurvivesSaving) {
  Window().Tabs().setCurrentIndex(1);  // the folder with a plain-text note
  XMLelement* pText = FindNoteOfType("0");
  ASSERT_NE(pText, nullptr);
  Choose(pText);
  ASSERT_EQ(Window().Editors().Kind(), EEditorKind::Text);
  QPlainTextEdit& edit = Window().Editors().PlainEdit();
  edit.selectAll();
  edit.insertPlainText("Line one\nLine two \u00e9\u4e2d");
  EXPECT_TRUE(Window().isWindowModified());  // the title shows it before it is stored
  Choose(Folder().AllNotes().front());
  EXPECT_EQ(Content(*pText), "Line one\nLine two \u00e9\u4e2d");
  EXPECT_TRUE(Window().Doc().IsModified());
  ASSERT_TRUE(Window().SaveDocument());
  EXPECT_FALSE(Window().isWindowModified());

  OpenWindow();
  Window().Tabs().setCurrentIndex(1);
  XMLelement* pReopened = FindNoteOfType("0");
  Choose(pReopened);
  EXPECT_EQ(Window().Editors().PlainEdit().toPlainText(), "Line one\nLine two \u00e9\u4e2d");
}

TEST_F(MainWindowTest, RichTextFormattingIsStoredAsRtfAndReadBack) {
  XMLelement* pRich = FindNoteOfType("2");
  ASSERT_NE(pRich, nullptr);
  std::string sName = GetProperty(*pRich, "name");
  Choose(pRich);
  CRichTextEdit& edit = Window().Editors().RichEdit();
  edit.selectAll();
  edit.textCursor().insertText("Plain and bold");
  QTextCursor cursor = edit.textCursor();
  cursor.setPosition(10);
  cursor.setPosition(14, QTextCursor::KeepAnchor);
  edit.setTextCursor(cursor);
  Window().Editors().FormatBar().Action("RTF Editor - Bold")->trigger();
  Choose(FindNoteOfType("1") ? FindNoteOfType("1") : Folder().AllNotes().back());
  EXPECT_NE(Content(*pRich).find("{\\rtf1"), std::string::npos);
  EXPECT_NE(Content(*pRich).find("\\b"), std::string::npos);
  ASSERT_TRUE(Window().SaveDocument());

  OpenWindow();
  XMLelement* pReopened = FindNote(sName);
  Choose(pReopened);
  QTextDocument& document = *Window().Editors().RichEdit().document();
  EXPECT_EQ(document.toPlainText(), "Plain and bold");
  QTextCursor probe(&document);
  probe.setPosition(12);
  EXPECT_EQ(probe.charFormat().fontWeight(), QFont::Bold);
  probe.setPosition(3);
  EXPECT_NE(probe.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(MainWindowTest, SwitchingFoldersStoresTheOpenNote) {
  XMLelement* pRich = Tree().SelectedNote();
  ASSERT_NE(pRich, nullptr);
  Window().Editors().RichEdit().setPlainText("Changed before switching");
  Window().Editors().RichEdit().document()->setModified(true);
  Window().Tabs().setCurrentIndex(2);
  EXPECT_EQ(Tree().CurrentIndex(), 2);
  Window().Tabs().setCurrentIndex(0);
  Choose(pRich);
  EXPECT_EQ(Window().Editors().RichEdit().toPlainText(), "Changed before switching");
}

TEST_F(MainWindowTest, ProtectedNoteShowsThePlaceholderWithoutItsPassword) {
  for (int32_t nType : {0, 1, 2}) {
    SCOPED_TRACE(nType);
    XMLelement* pNote = OpenNewNote(nType, "private words");
    const std::string sContent = Content(*pNote);
    ProtectWithPassword(Tree(), *pNote, "secret", false);
    Choose(Folder().AllNotes().front());
    Answering([](QDialog& prompt) { prompt.reject(); }, [&] { Choose(pNote); });
    QTextDocument& shown = *Window().Editors().TextCursor().document();
    EXPECT_EQ(shown.toPlainText(), kPasswordPlaceholder);
    EXPECT_TRUE(Window().Editors().ActiveEdit()->property("readOnly").toBool());
    if (nType == 1) {  // in STRONG, as the Windows program shows it
      EXPECT_GT(shown.begin().begin().fragment().charFormat().fontWeight(), QFont::Normal);
    }
    Choose(Folder().AllNotes().front());
    EXPECT_EQ(Content(*pNote), sContent);
  }
}

TEST_F(MainWindowTest, AFailedBackupCopyIsLoggedAndTheSaveGoesOn) {
  WriteSetting(*m_pSettings, kNumBackCopies, 1);
  std::filesystem::create_directories(m_sDocument + ".1.bak/in the way");
  Window().Doc().MarkModified();
  ASSERT_TRUE(Window().SaveDocument());
  EXPECT_FALSE(Window().Doc().IsModified());
  std::string sLog = ReadWholeFile(m_pPaths->LogFile().toStdString());
  EXPECT_NE(sLog.find(".1.bak"), std::string::npos) << sLog;
  EXPECT_FALSE(Window().statusBar()->currentMessage().isEmpty());
}

TEST_F(MainWindowTest, SavingOverAnotherProgramsSaveAsksFirst) {
  const std::vector<std::pair<QString, bool>> answers = {
      {"Cancel", false}, {"Reload", false}, {"Save anyway", true}};
  for (const auto& [sAnswer, bSaved] : answers) {
    Folder().SetFolderName("Changed here");
    Window().Doc().MarkModified();
    // The command-line tool changes the document the window has open.
    const QString sTheirName = "From the command line, before " + sAnswer;
    ASSERT_EQ(QProcess::execute(ORVELLA_CLI, {"folder", "add", QString::fromStdString(m_sDocument),
                                              "--name", sTheirName}),
              0);
    const std::string sTheirs = ReadWholeFile(m_sDocument);
    CDialogDriver driver;
    driver.OnNext<QMessageBox>([&](QMessageBox& box) {
      EXPECT_NE(box.text().indexOf("was changed by another program"), -1);
      for (QAbstractButton* pButton : box.buttons())
        if (pButton->text() == sAnswer) pButton->click();
    });
    EXPECT_EQ(Window().SaveDocument(), bSaved) << sAnswer.toStdString();
    if (sAnswer == "Cancel") {
      EXPECT_EQ(ReadWholeFile(m_sDocument), sTheirs);
      EXPECT_TRUE(Window().Doc().IsModified());
    } else if (sAnswer == "Reload") {
      EXPECT_EQ(Window().Doc().Folders().At(Window().Doc().Folders().Count() - 1).FolderName(),
                sTheirName.toStdString());
      EXPECT_FALSE(Window().Doc().IsModified());
    } else {
      CQtUi ui(nullptr, *m_pSettings);
      COrvellaDoc reread(ui, *m_pSettings);
      reread.OnOpenDocument(m_sDocument);
      EXPECT_EQ(reread.Folders().Current()->FolderName(), "Changed here");
    }
  }
  // Saved by us, it is ours again: no question.
  EXPECT_TRUE(Window().SaveDocument());
}

TEST_F(MainWindowTest, ADocumentDroppedOnTheWindowOrBesideTheNotesOpens) {
  std::string sOther = m_dir.File("other.orv");
  Window().Doc().OnSaveDocument(sOther);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(sOther))});
  ASSERT_TRUE(Window().NewDocument());
  ASSERT_TRUE(Window().OpenDropped(data));
  QCoreApplication::processEvents();
  EXPECT_EQ(Window().Doc().PathName(), sOther);

  // Below the last note of the tree (on a note, a file is attached instead).
  ASSERT_TRUE(Window().NewDocument());
  Window().resize(900, 600);
  Window().show();
  const QPoint blank(5, Window().TreeView().viewport()->height() - 5);
  ASSERT_FALSE(Window().TreeView().indexAt(blank).isValid());
  EXPECT_TRUE(DragOverTree(data, blank, Qt::CopyAction));
  EXPECT_EQ(Window().Doc().PathName(), sOther);
  QMimeData text;
  text.setText("not a file");
  EXPECT_FALSE(Window().OpenDropped(text));
}

TEST_F(MainWindowTest, WrongPassphraseShowsTheMessageAndEndsTheProgram) {
  Window().Doc().SetProtection("right");
  ASSERT_TRUE(Window().SaveDocument());
  ASSERT_TRUE(Window().NewDocument());
  CDialogDriver driver;
  driver.OnNextDialog([](QDialog& dialog) {  // "Enter a passphrase"
    dialog.findChild<QLineEdit*>()->setText("wrong");
    Press(dialog, QDialogButtonBox::Ok);
  });
  std::string sShown;
  driver.OnNextDialog([&](QDialog& dialog) {
    sShown = dialog.windowTitle().toStdString() + ": " +
             static_cast<QMessageBox&>(dialog).text().toStdString();
    dialog.accept();
  });
  EXPECT_FALSE(Window().OpenDocument(QString::fromStdString(m_sDocument)));
  EXPECT_EQ(sShown, std::string("Warning: ") + kWrongPassphraseText);
  EXPECT_TRUE(Window().HasQuit());
  // The next start offers the document again, not the guide.
  EXPECT_EQ(CRecentFiles(*m_pSettings).List().front(), m_sDocument);
}

}  // namespace
}  // namespace orv::test
