// The Edit menu's own commands in the three editors: the Advanced
// operations on the selection, find and replace, Go To Line, Track Clipboard,
// and the cleanup of HTML on its way into the HTML editor.

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTextBlock>

#include "editors/go_to_line.h"
#include "ui/dialog_driver.h"
#include "ui/dialogs/go_to_line_dialog.h"
#include "ui/editors/find_bar.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

class EditMenuTest : public MainWindowTest {
 protected:
  // A new note showing these lines (LF between them), with nothing to undo.
  XMLelement* OpenLines(int32_t nType, const QString& sLines) {
    XMLelement* pNote = OpenNewNote(nType, "");
    Document().setUndoRedoEnabled(false);
    QTextCursor(&Document()).insertText(sLines);
    Document().setUndoRedoEnabled(true);
    return pNote;
  }
  QTextDocument& Document() { return *Editors().TextCursor().document(); }
  CEditorPane& Editors() { return Window().Editors(); }
  void Select(int nFrom, int nTo) {
    QTextCursor cursor = Editors().TextCursor();
    cursor.setPosition(nFrom);
    cursor.setPosition(nTo, QTextCursor::KeepAnchor);
    Editors().SetTextCursor(cursor);
  }
  QString Shown() { return Document().toPlainText(); }
  QString Selected() {
    return Editors().TextCursor().selectedText().replace(QChar::ParagraphSeparator, '\n');
  }
};

constexpr int32_t kTypes[] = {0, 1, 2};

TEST_F(EditMenuTest, EachOperationReplacesTheSelectionAsOneUndoStep) {
  struct SCase {
    const char* pCommand;
    QString sSelected;         // the note shows it, then "\nrest"
    QString sResult;           // what the selection became
    QString sReselected = {};  // selected afterwards (Tabify, Untabify)
  };
  const SCase cases[] = {
      {"Case - Lowercase", "ÉCOLE Ab\nCD", "école ab\ncd"},
      {"Case - Uppercase", "straße ab", "STRAßE AB"},
      {"Case - Capitalize", "hello  world-wide", "Hello  World-wide"},
      {"Case - Sentencize", "one. two.three 3.5 x", "One. Two.Three 3.5 x"},
      {"Case - Invert Case", "aB1", "Ab1"},
      {"Delete Horizontal White Space", "  a \t b  ", "a b  "},
      {"Operations - Join Selected Lines", "a\nb\n", "a b "},
      {"Operations - Sort Selected Lines", "b\nB\na", "B\na\nb\n"},
      {"Operations - Tabify Selection", "a\nb", "\ta\n\tb\n", "\ta\n\tb"},
      {"Operations - Untabify Selection", "\ta\n  b", "a\n  b\n", "a\n  b"},
      {"Operations - Reverse Selected Text", "ab\nc", "c\nba"},
      {"Operations - Extract Web/Proxy Addresses from Selected",
       "proxy 10.0.0.1:8080 and 192.168.1.20:3128 end", "10.0.0.1:8080\n192.168.1.20:3128\n"},
      {"Operations - Extract Web/Proxy Addresses from Selected", "no address. here", ""},
      {"Operations - Calculate Selected Expression", "1000000/3", "1000000/3=333,333.33"},
  };
  for (int32_t nType : kTypes) {
    for (const SCase& test : cases) {
      SCOPED_TRACE(std::to_string(nType) + " " + test.pCommand + " " +
                   test.sSelected.toStdString());
      OpenLines(nType, test.sSelected + "\nrest");
      const QString sBefore = Shown();
      const QString sHtmlBefore = Document().toHtml();
      const QString& sSelected = test.sSelected;
      ASSERT_TRUE(sBefore.startsWith(sSelected)) << sBefore.toStdString();
      Select(0, static_cast<int>(sSelected.size()));
      Trigger((std::string("Edit - Advanced - ") + test.pCommand).c_str());
      EXPECT_EQ(Shown(), test.sResult + sBefore.mid(sSelected.size()));
      EXPECT_EQ(Selected(), test.sReselected);
      Trigger("Edit - Undo");
      EXPECT_EQ(Shown(), sBefore);
      EXPECT_EQ(Document().toHtml(), sHtmlBefore);
      EXPECT_FALSE(Document().isUndoAvailable());
    }
  }
}

TEST_F(EditMenuTest, ACaseCommandKeepsTheFormatOfEveryCharacter) {
  OpenNewNote(2, "{\\rtf1\\ansi Some {\\b bold} and {\\i italic} text}");
  QTextCursor end(&Document());
  end.movePosition(QTextCursor::End);
  end.insertImage("picture");
  Trigger("Edit - Select All");
  Trigger("Edit - Advanced - Case - Uppercase");
  EXPECT_EQ(Shown(), "SOME BOLD AND ITALIC TEXT" + QString(QChar::ObjectReplacementCharacter));
  end.setPosition(Shown().size());
  EXPECT_TRUE(end.charFormat().isImageFormat());
  QTextCursor probe(&Document());
  for (auto [nPos, bBold, bItalic] :
       {std::tuple{2, false, false}, {6, true, false}, {16, false, true}, {22, false, false}}) {
    probe.setPosition(nPos);
    EXPECT_EQ(probe.charFormat().fontWeight() == QFont::Bold, bBold) << nPos;
    EXPECT_EQ(probe.charFormat().fontItalic(), bItalic) << nPos;
  }
}

TEST_F(EditMenuTest, WithoutASelectionOrOnAReadOnlyNoteNothingChanges) {
  const auto pCloser = CancelEveryDialog();  // the calculator's "0"
  for (bool bReadOnly : {false, true}) {
    for (int32_t nType : kTypes) {
      XMLelement* pNote = OpenLines(nType, "one two\nthree");
      if (bReadOnly) {
        SetProperty(*pNote, "readonly", "true");
        Tree().RefreshTree(true);
        Choose(pNote);
        Trigger("Edit - Select All");
      }
      const QString sBefore = Shown();
      for (QAction* pAction : MenuCommands()) {
        const QString sName = pAction->objectName();
        if (!sName.startsWith("Edit - Advanced - ") || sName.endsWith("Go To Line") ||
            sName.endsWith("Track Clipboard"))
          continue;
        SCOPED_TRACE(sName.toStdString() + " on type " + std::to_string(nType));
        ShowMenus();
        if (!bReadOnly && sName.contains(" - Case - ")) {
          EXPECT_FALSE(pAction->isEnabled());
        }
        pAction->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(Shown(), sBefore);
        EXPECT_FALSE(Document().isUndoAvailable());
      }
    }
  }
}

TEST_F(EditMenuTest, FindGoesInTheDirectionChosenAndWrapsRoundWhenAsked) {
  struct SCase {
    SFindOptions options;
    int nCaret;
    bool bReverse;  // Find Previous
    int nFound;     // -1: not found
    bool bWrapped;
  };
  const SCase cases[] = {
      {{"one"}, 0, false, 0, false},
      {{"one"}, 1, false, 8, false},
      {{"one", true}, 1, false, 16, false},
      {{"one", false, true}, 1, false, 16, false},  // not the "one" of "oneself"
      {{"one"}, 17, false, 0, true},
      {{"one", false, false, false, false}, 17, false, -1, false},
      {{"one"}, 7, true, 0, false},
      {{"one", false, false, true}, 7, false, 0, false},
      {{"one"}, 0, true, 16, true},
      {{"none"}, 1, false, -1, false},
  };
  for (int32_t nType : kTypes) {
    OpenLines(nType, "one two\nOneself one");
    CFindBar& bar = Window().FindBar();
    for (const SCase& test : cases) {
      SCOPED_TRACE(std::to_string(nType) + " at " + std::to_string(test.nCaret) + " for " +
                   std::to_string(&test - cases));
      Select(test.nCaret, test.nCaret);
      Trigger("Edit - Find - Select All");
      bar.FindEdit().setText(test.options.sText);
      for (auto [pName, bOn] : {std::pair{"Match", test.options.bMatchCase},
                                {"Whole", test.options.bWholeWord},
                                {"Search", test.options.bBackward},
                                {"Wrap", test.options.bWrap}}) {
        for (QCheckBox* pBox : bar.findChildren<QCheckBox*>())
          if (pBox->text().remove('&').startsWith(pName)) pBox->setChecked(bOn);
      }
      Trigger(test.bReverse ? "Edit - Find - Find Previous" : "Edit - Find - Find Next");
      const QTextCursor cursor = Editors().TextCursor();
      if (test.nFound < 0) {
        EXPECT_FALSE(cursor.hasSelection());
        EXPECT_TRUE(bar.Status().contains("not found")) << bar.Status().toStdString();
      } else {
        EXPECT_EQ(cursor.selectionStart(), test.nFound);
        EXPECT_EQ(cursor.selectedText().size(), test.options.sText.size());
        EXPECT_EQ(bar.Status().startsWith("Went on"), test.bWrapped);
      }
    }
  }
}

TEST_F(EditMenuTest, ReplaceAndReplaceAllAreEachOneUndoStep) {
  for (int32_t nType : kTypes) {
    SCOPED_TRACE(nType);
    OpenLines(nType, "one two\nOne oneself one");
    const QString sBefore = Shown();
    CFindBar& bar = Window().FindBar();
    Trigger("Edit - Find - Replace");
    bar.FindEdit().setText("one");
    bar.ReplaceEdit().setText("one one");  // what is put in is not searched again
    bar.ReplaceEvery();
    EXPECT_EQ(Shown(), "one one two\none one one oneself one one");
    EXPECT_EQ(bar.Status(), "4 replaced.");
    Trigger("Edit - Undo");
    EXPECT_EQ(Shown(), sBefore);
    EXPECT_FALSE(Document().isUndoAvailable());

    // Replace: the match selected is replaced, the next one selected.
    Select(0, 0);
    bar.ReplaceEdit().setText("1");
    bar.FindNext(false);
    bar.ReplaceOne();
    EXPECT_EQ(Shown(), QString(sBefore).replace(0, 3, "1"));
    EXPECT_EQ(Editors().TextCursor().selectionStart(), 6);
    Trigger("Edit - Undo");
    EXPECT_EQ(Shown(), sBefore);
  }
}

TEST_F(EditMenuTest, TheKeysWorkInTheEditorAndInTheFindBarAndTheSearchIsRemembered) {
  ShowActive();
  OpenNewNote(0, "one two one");
  QWidget* pEdit = Editors().ActiveEdit();
  pEdit->setFocus();
  Select(0, 3);
  QTest::keyClick(pEdit, Qt::Key_U, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(Shown(), "ONE two one");
  QTest::keyClick(pEdit, Qt::Key_F, Qt::ControlModifier);
  QLineEdit& find = Window().FindBar().FindEdit();
  ASSERT_TRUE(find.isVisible());
  find.setText("one");
  QTest::keyClick(&find, Qt::Key_F3);
  QTest::keyClick(&find, Qt::Key_F3);
  EXPECT_EQ(Editors().TextCursor().selectionStart(), 0);  // round again
  QTest::keyClick(&find, Qt::Key_Escape);
  EXPECT_FALSE(Window().FindBar().isVisible());

  OpenWindow();  // the bar of this one was never opened
  OpenNewNote(0, "two one");
  Trigger("Edit - Find - Find Next");
  EXPECT_EQ(Editors().TextCursor().selectionStart(), 4);
}

TEST_F(EditMenuTest, GoToLineMovesToTheLineTypedAndRemembersIt) {
  struct SCase {
    const char* pTyped;
    bool bAccept;
    int nLine;  // of the caret afterwards, 0-based
    int nColumn;
  };
  const SCase cases[] = {
      {"3", true, 2, 0}, {"99", true, 3, 4}, {"x", true, 1, 0}, {"1", false, 1, 1}};
  for (int32_t nType : {0, 2}) {
    OpenLines(nType, "a\nbcd\ne\nlast");
    for (const SCase& test : cases) {
      SCOPED_TRACE(std::to_string(nType) + " " + test.pTyped);
      Select(3, 3);
      CDialogDriver driver;
      QString sLabel;
      driver.OnNext<CGoToLineDialog>([&](CGoToLineDialog& dialog) {
        sLabel = dialog.findChild<QLabel*>()->text();
        dialog.Input().setText(test.pTyped);
        test.bAccept ? dialog.accept() : dialog.reject();
      });
      Trigger("Edit - Advanced - Case - Go To Line");
      EXPECT_EQ(sLabel, "Line number (1 - 4)");
      const QTextCursor cursor = Editors().TextCursor();
      EXPECT_EQ(cursor.blockNumber(), test.nLine);
      EXPECT_EQ(cursor.positionInBlock(), test.nColumn);
    }
    EXPECT_EQ(m_pSettings->GetString(kGoToSection, kGoToLastLineKey, ""), "x");
  }
}

TEST_F(EditMenuTest, TrackClipboardPastesEachNewTextOnce) {
  QClipboard& clipboard = *QGuiApplication::clipboard();
  clipboard.setText("copied before");
  OpenNewNote(0, "");
  Trigger("Edit - Advanced - Track Clipboard");
  for (const char* pCopied : {"copied before", "first", "", "first", "second"}) {
    clipboard.setText(pCopied);
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(Shown(), "firstsecond");
  Trigger("Edit - Advanced - Track Clipboard");
  clipboard.setText("third");
  QCoreApplication::processEvents();
  EXPECT_EQ(Shown(), "firstsecond");
}

TEST_F(EditMenuTest, HtmlIsCleanedBeforeTheEditorSeesItAndAViewedNoteKeepsItsBytes) {
  const std::string sBox =
      "Unsupported Tags: The following tags have been removed as the Editor does not support "
      "them:\n";
  const std::string sDirty =
      "<html><head><style>p{color:red}</style></head><body><p onclick=\"steal()\">kept</p>"
      "<script>alert(1)</script><iframe src=\"x\"></iframe><iframe></iframe></body></html>";
  const std::string sClean = "<html><body><p>plain <b>bold</b></p></body></html>";
  for (const std::string& sContent : {sDirty, sClean}) {
    XMLelement* pNote = nullptr;
    const bool bDirty = sContent == sDirty;
    const auto shown = MessageBoxesShownBy(
        [&] {
          pNote = OpenNewNote(1, sContent);
          Tree().RefreshTree(true);  // shown again: no second box
        },
        bDirty ? 1 : 0);
    EXPECT_EQ(shown,
              bDirty ? std::vector{sBox + " <SCRIPT> <IFRAME>"} : std::vector<std::string>{});
    EXPECT_FALSE(Shown().contains("alert"));
    EXPECT_FALSE(Document().toHtml().contains("color:red"));
    Window().StoreEditorContent();
    EXPECT_EQ(Content(*pNote), sContent);
  }

  auto* pPasted = new QMimeData;  // the clipboard's
  pPasted->setHtml("<p>pasted<script>alert(2)</script></p><object></object><div>end<br></div>");
  QGuiApplication::clipboard()->setMimeData(pPasted);
  EXPECT_EQ(MessageBoxesShownBy([&] { Trigger("Edit - Paste"); }, 1),
            std::vector{sBox + " <SCRIPT> <OBJECT>"});
  EXPECT_TRUE(Shown().contains("pasted"));
  EXPECT_FALSE(Shown().contains("alert"));
  // A paragraph's closing break shows as nothing, as it does in a loaded note.
  const QTextBlock end = Document().findBlock(Shown().indexOf("end"));
  EXPECT_FALSE(end.text().contains(QChar::LineSeparator)) << end.text().toStdString();
}

}  // namespace
}  // namespace orv::test
