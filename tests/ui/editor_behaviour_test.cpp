// The editors as a user types, formats, clicks and inserts links in them.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTreeWidget>

#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "tree/bookmark_commands.h"
#include "ui/dialog_driver.h"
#include "ui/dialogs/internal_link_dialog.h"
#include "ui/editors/text_links.h"
#include "ui/main_window_fixture.h"
#include "ui/rtf/rtf_reader.h"

namespace orv::test {
namespace {

// The middle of the character at nPos, in the edit's viewport.
template <typename TEdit>
QPoint CharCentre(TEdit& edit, int nPos) {
  QTextCursor cursor(edit.document());
  cursor.setPosition(nPos);
  const QRect left = edit.cursorRect(cursor);
  cursor.setPosition(nPos + 1);
  return {(left.left() + edit.cursorRect(cursor).left()) / 2, left.center().y()};
}

// Editors of their own, shown offscreen: a click that follows a link here
// only reports it (the window would hand a web address to the desktop).
class EditorBehaviourTest : public testing::Test {
 protected:
  EditorBehaviourTest() : m_bar(m_rich, m_settings) {
    m_rich.resize(500, 300);
    m_rich.show();
    FollowLinksIn(m_plain);
    m_plain.resize(500, 300);
    m_plain.show();
  }
  void Click(QWidget& edit, const QPoint& point) {
    QTest::mouseClick(static_cast<QAbstractScrollArea&>(edit).viewport(), Qt::LeftButton, {},
                      point);
  }

  CMemorySettingsStore m_settings;
  CRichTextEdit m_rich;
  CFormatBar m_bar;
  QPlainTextEdit m_plain;
};

TEST_F(EditorBehaviourTest, OnlyALinksOwnCharactersAreTheLink) {
  const QString sLink = "https://example.org/";
  struct SCase {
    const char* pWhere;
    QString sHtml;
    int nCaret;  // -1: the end
    bool bReturnFirst;
    bool bTypedIsLink;
    bool bInsertLink = false;  // at the caret, as the Insert menu does
  };
  const QString sBefore = "before <a href=\"" + sLink + "\">link</a>";
  const SCase cases[] = {
      {"at the end of a link", sBefore, -1, false, false},
      {"after Return at the end of a link", sBefore, -1, true, false},
      {"before a link that starts the paragraph", "<a href=\"" + sLink + "\">link</a> after", 0,
       false, false},
      {"between two characters of a link", sBefore, 9, false, true},
      {"after a link inserted on a line of its own", "<p style=\"font-size:14pt\">text</p>", -1,
       true, false, true},
  };
  for (const SCase& c : cases) {
    SCOPED_TRACE(c.pWhere);
    m_rich.setHtml(c.sHtml);
    QTextCursor cursor = m_rich.textCursor();
    if (c.nCaret < 0)
      cursor.movePosition(QTextCursor::End);
    else
      cursor.setPosition(c.nCaret);
    m_rich.setTextCursor(cursor);
    if (c.bReturnFirst) QTest::keyClick(&m_rich, Qt::Key_Return);
    if (c.bInsertLink) m_rich.InsertLink(sLink, "link");
    QTest::keyClicks(&m_rich, "xyz");
    QTextDocument& document = *m_rich.document();
    const int nTyped = static_cast<int>(document.toPlainText().indexOf("xyz"));
    ASSERT_GE(nTyped, 0);
    const int nLink = static_cast<int>(document.toPlainText().indexOf("li"));
    for (int n = nTyped; n < nTyped + 3; ++n) {
      EXPECT_EQ(FormatOfCharAt(document, n).isAnchor(), c.bTypedIsLink) << n;
      if (!c.bTypedIsLink) {
        EXPECT_FALSE(FormatOfCharAt(document, n).fontUnderline()) << n;
        EXPECT_EQ(FormatOfCharAt(document, n).fontPointSize(),
                  FormatOfCharAt(document, nLink).fontPointSize());
      }
    }
    EXPECT_EQ(FormatOfCharAt(document, nLink).anchorHref(), sLink);
  }

  // Clicking the ordinary text typed after a link places the caret; the link follows.
  QSignalSpy followed(&m_rich, &CRichTextEdit::LinkClicked);
  m_rich.setHtml(sBefore);
  m_rich.moveCursor(QTextCursor::End);
  QTest::keyClicks(&m_rich, "xyz");
  Click(m_rich, CharCentre(m_rich, 12));
  EXPECT_EQ(followed.count(), 0);
  EXPECT_EQ(m_rich.textCursor().position(), 12);
  Click(m_rich, CharCentre(m_rich, 8));
  ASSERT_EQ(followed.count(), 1);
  EXPECT_EQ(followed.front().front().toString(), sLink);
}

TEST_F(EditorBehaviourTest, FormatsWithoutASelectionAreForWhatIsTypedNext) {
  const std::pair<const char*, bool (*)(const QTextCharFormat&)> actions[] = {
      {"RTF Editor - Bold",
       [](const QTextCharFormat& f) { return f.fontWeight() > QFont::Normal; }},
      {"RTF Editor - Italic", [](const QTextCharFormat& f) { return f.fontItalic(); }},
      {"RTF Editor - Underline", [](const QTextCharFormat& f) { return f.fontUnderline(); }},
      {"RTF Editor - Strikeout", [](const QTextCharFormat& f) { return f.fontStrikeOut(); }},
  };
  for (const auto& [pAction, has] : actions) {
    SCOPED_TRACE(pAction);
    m_rich.setPlainText("one word");
    QTextCursor cursor = m_rich.textCursor();
    cursor.setPosition(6);  // inside "word"
    m_rich.setTextCursor(cursor);
    m_bar.Action(pAction)->trigger();
    EXPECT_FALSE(m_rich.document()->isModified());
    for (int n = 0; n < 8; ++n) EXPECT_FALSE(has(FormatOfCharAt(*m_rich.document(), n))) << n;
    EXPECT_TRUE(m_bar.Action(pAction)->isChecked());
    QTest::keyClicks(&m_rich, "X");
    EXPECT_EQ(m_rich.toPlainText(), "one woXrd");
    EXPECT_TRUE(has(FormatOfCharAt(*m_rich.document(), 6)));
    EXPECT_FALSE(has(FormatOfCharAt(*m_rich.document(), 7)));

    // On a selection the format is one undoable step.
    m_rich.setCurrentCharFormat({});  // setPlainText() gives the text the caret's format
    m_rich.setPlainText("one word");
    m_rich.selectAll();
    m_bar.Action(pAction)->trigger();
    EXPECT_TRUE(has(FormatOfCharAt(*m_rich.document(), 5)));
    m_rich.undo();
    EXPECT_FALSE(has(FormatOfCharAt(*m_rich.document(), 5)));
    EXPECT_FALSE(m_rich.document()->isUndoAvailable());
  }
}

TEST_F(EditorBehaviourTest, LinksStandingAsTextAreShownAndFollowedWithoutChangingTheText) {
  // Characters beyond ASCII (one of two UTF-16 units) before the links shift them in the text.
  const QString sText = QString::fromUtf8(
      "see \u00e9\U0001F600 https://example.org/a and mailto:me@example.org, wais://Work:N/+_+/t");
  const QStringList links = {"https://example.org/a", "mailto:me@example.org",
                             "wais://Work:N/+_+/t"};
  const auto check = [&](auto& edit) {
    edit.setPlainText(sText);
    QCoreApplication::processEvents();
    EXPECT_FALSE(edit.document()->isModified());
    EXPECT_FALSE(edit.document()->isUndoAvailable());
    // Drawn as links, not made links: the text's own formats are untouched,
    // and the note is stored as it was.
    const QTextBlock block = edit.document()->firstBlock();
    ASSERT_EQ(block.layout()->formats().size(), links.size());
    EXPECT_TRUE(block.layout()->formats().front().format.fontUnderline());
    EXPECT_FALSE(FormatOfCharAt(*edit.document(), 6).fontUnderline());

    QSignalSpy followed(
        static_cast<QAbstractScrollArea&>(edit).viewport()->findChild<CLinkClicks*>(),
        &CLinkClicks::LinkClicked);
    Click(edit, CharCentre(edit, 1));  // "see"
    EXPECT_EQ(followed.count(), 0);
    for (const QString& sLink : links) Click(edit, CharCentre(edit, sText.indexOf(sLink) + 3));
    ASSERT_EQ(followed.count(), links.size());
    for (int n = 0; n < links.size(); ++n) EXPECT_EQ(followed[n].front().toString(), links[n]);
    // Right of the line's end is no link, though the nearest character is one.
    Click(edit, {edit.viewport()->width() - 5, CharCentre(edit, 1).y()});
    EXPECT_EQ(followed.count(), links.size());
  };
  check(m_rich);
  check(m_plain);
}

class EditorCommandsTest : public MainWindowTest {
 protected:
  CRichTextEdit& ChooseRich() {
    Window().Tabs().setCurrentIndex(0);
    Choose(FindNoteOfType("2"));
    return Window().Editors().RichEdit();
  }
};

TEST_F(EditorCommandsTest, AnInternalLinkIsPickedFromTheFoldersTreeAndShowsItsPlace) {
  CRichTextEdit& edit = ChooseRich();
  edit.setPlainText("");
  CXMLTree& target = Tree().Folders().At(2);
  XMLelement& note = *ShownChildren(target, nullptr).front();
  const std::string sCaption = target.FolderName() + ": " + GetProperty(note, "name");
  CDialogDriver driver;
  driver.OnNext<CInternalLinkDialog>([&](CInternalLinkDialog& dialog) {
    QLineEdit& text = *dialog.findChild<QLineEdit*>();
    EXPECT_FALSE(text.text().isEmpty());  // the place of the note the user is on
    dialog.Folders().setCurrentIndex(2);
    EXPECT_TRUE(text.text().isEmpty());
    QTreeWidget& notes = dialog.Notes();
    EXPECT_EQ(notes.topLevelItemCount(), static_cast<int>(ShownChildren(target, nullptr).size()));
    notes.setCurrentItem(notes.topLevelItem(0));
    EXPECT_EQ(text.text().toStdString(), sCaption);
    Press(dialog, QDialogButtonBox::Ok);
  });
  Trigger("Insert - Internal Hyperlink ...");
  EXPECT_EQ(edit.toPlainText().toStdString(), sCaption);
  EXPECT_EQ(FormatOfCharAt(*edit.document(), 0).anchorHref().toStdString(),
            BuildInternalLink(target.FolderName(), GetProperty(note, "name"), sCaption));
}

TEST_F(EditorCommandsTest, ALinkToAFileIsAFileUrlAndIsRemembered) {
  CRichTextEdit& edit = ChooseRich();
  const std::string sFile = m_dir.File("my notes.txt");
  WriteWholeFile(sFile, "x");
  CDialogDriver driver;
  driver.OnNextFile("my notes.txt");
  WriteSetting(*m_pSettings, kLinkedFile, m_dir.Path().string());
  Trigger("Insert - Link to File...");
  const QString sHtml = edit.toHtml();
  EXPECT_TRUE(sHtml.contains(
      QString::fromStdString("href=\"file://" + m_dir.Path().string() + "/my%20notes.txt\"")))
      << sHtml.toStdString();
  EXPECT_EQ(ReadSetting(*m_pSettings, kLinkedFile), sFile);
}

TEST_F(EditorCommandsTest, TheSizeBoxShowsTheSizeTheTextIsStoredWith) {
  CRichTextEdit& edit = ChooseRich();
  auto* pSize = Window().Editors().FormatBar().findChildren<QComboBox*>().back();
  XMLelement* pNote = Tree().SelectedNote();
  for (const char* pStored : {"", "{\\rtf1\\ansi\\par}"}) {
    SCOPED_TRACE(pStored);
    Folder().ContentOf(*pNote)->SetContent(pStored);
    // What the caret had in the note before is not carried into this one.
    QTextCharFormat big;
    big.setFontPointSize(30);
    big.setFontWeight(QFont::Bold);
    edit.mergeCurrentCharFormat(big);
    Window().Editors().ShowNote(pNote);
    // Nor what the bar showed, when the note shown again moves nothing.
    pSize->setEditText("6");
    Window().Editors().ShowNote(pNote);
    const double dShown = pSize->currentText().toDouble();
    // A new note's text is in the editor's font; RTF without a size says 12 points.
    EXPECT_DOUBLE_EQ(dShown, *pStored ? 12 : edit.font().pointSizeF());
    QTest::keyClicks(&edit, "typed");
    EXPECT_DOUBLE_EQ(pSize->currentText().toDouble(), dShown);
    Window().Editors().Store();
    QTextDocument stored;
    ReadRtf(Content(*pNote), stored, "windows-1252");
    EXPECT_DOUBLE_EQ(FormatOfCharAt(stored, 1).fontPointSize(), dShown) << Content(*pNote);
    EXPECT_EQ(FormatOfCharAt(stored, 1).fontWeight(), QFont::Normal);
    if (!*pStored) {
      EXPECT_EQ(FormatOfCharAt(stored, 1).fontFamilies().toStringList(),
                QStringList{edit.font().family()});
    }
  }
}

}  // namespace
}  // namespace orv::test
