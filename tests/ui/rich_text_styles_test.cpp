// Named styles and date insertion in the editors, as a user works them.

#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QListWidget>
#include <QTextBlock>

#include "editors/custom_date.h"
#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "ui/dialog_driver.h"
#include "ui/dialogs/date_dialog.h"
#include "ui/editors/format_bar.h"
#include "ui/editors/rich_text_edit.h"
#include "ui/editors/style_box.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

class RichTextStylesTest : public testing::Test {
 protected:
  RichTextStylesTest() : m_pBar(std::make_unique<CFormatBar>(m_rich, m_settings)) {
    m_rich.setHtml(
        "<p align=\"center\" style=\"margin-left:30px\"><span style=\"font-family:'DejaVu "
        "Serif'; font-size:20pt; font-weight:700; color:#c00000\">Heading</span></p>"
        "<p>plain <a href=\"https://example.org/\">link</a> text</p>");
  }
  void Select(int nFrom, int nTo) {
    QTextCursor cursor(m_rich.document());
    cursor.setPosition(nFrom);
    cursor.setPosition(nTo, QTextCursor::KeepAnchor);
    m_rich.setTextCursor(cursor);
  }
  CStyleBox& Styles() { return m_pBar->Styles(); }
  void AddStyle(const QString& sName) {
    CDialogDriver driver;
    driver.OnNext<QInputDialog>([sName](QInputDialog& dialog) {
      EXPECT_EQ(dialog.windowTitle(), "StyleName");
      dialog.setTextValue(sName);
      dialog.accept();
    });
    Styles().AddStyle();
  }
  int SecondParagraph() { return m_rich.document()->findBlockByNumber(1).position(); }

  CMemorySettingsStore m_settings;
  CRichTextEdit m_rich;
  std::unique_ptr<CFormatBar> m_pBar;
};

TEST_F(RichTextStylesTest, AStyleTakenFromAParagraphAppliesElsewhereAsOneUndoStep) {
  CRichTextEdit otherEdit;
  CFormatBar otherWindow(otherEdit, m_settings);
  Select(0, 7);
  AddStyle("Heading");
  EXPECT_EQ(Styles().Box().currentText(), "Heading");
  // Another window offers it once it is active again.
  otherWindow.show();
  QApplication::setActiveWindow(&otherWindow);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&otherWindow));
  EXPECT_EQ(otherWindow.Styles().Box().count(), 1);
  // After a restart the box offers it still.
  m_pBar = std::make_unique<CFormatBar>(m_rich, m_settings);
  ASSERT_EQ(Styles().Box().count(), 1);
  const QString sBefore = m_rich.toHtml();
  const int nAt = SecondParagraph();
  Select(nAt, nAt + 10);  // "plain link"
  Styles().ApplyStyle(0);
  QTextDocument& document = *m_rich.document();
  for (int nPos : {nAt, nAt + 7}) {
    const QTextCharFormat format = FormatOfCharAt(document, nPos);
    EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{"DejaVu Serif"});
    EXPECT_EQ(format.fontPointSize(), 20);
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_EQ(format.foreground().color(), QColor("#c00000"));
  }
  EXPECT_TRUE(FormatOfCharAt(document, nAt + 7).isAnchor());  // the link stays one
  EXPECT_FALSE(FormatOfCharAt(document, nAt + 12).hasProperty(QTextFormat::FontPointSize));
  const QTextBlockFormat block = document.findBlock(nAt).blockFormat();
  EXPECT_EQ(block.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(block.leftMargin(), 30);
  document.undo();
  EXPECT_EQ(m_rich.toHtml(), sBefore);
  EXPECT_FALSE(document.isUndoAvailable());
}

TEST_F(RichTextStylesTest, ADamagedStyleChangesNothing) {
  Select(0, 7);
  AddStyle("Heading");
  m_settings.SetBinary("Heading", "CharFormat", std::vector<uint8_t>(84, 0));  // the Windows form
  m_pBar = std::make_unique<CFormatBar>(m_rich, m_settings);
  const QString sBefore = m_rich.toHtml();
  Select(SecondParagraph(), SecondParagraph() + 5);
  std::string sWarning;
  CDialogDriver driver;
  driver.OnNextMessage(sWarning);
  Styles().ApplyStyle(0);
  EXPECT_EQ(sWarning,
            "The style \"Heading\" cannot be applied.\nThe style record is not one of this "
            "program's.");
  EXPECT_EQ(m_rich.toHtml(), sBefore);
  EXPECT_FALSE(m_rich.document()->isUndoAvailable());
}

class DateDialogTest : public testing::Test {
 protected:
  CMemorySettingsStore m_settings;
};

TEST_F(DateDialogTest, TheChoiceIsRememberedAndConfirmsAtOnceWhenDefault) {
  const QStringList formats = DateTimeFormats(QLocale());
  ASSERT_GE(formats.size(), 3);
  CDialogDriver driver;
  driver.OnNext<CDateDialog>([](CDateDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(CDateDialog::Ask(m_settings, nullptr), std::nullopt);
  EXPECT_TRUE(m_settings.Sections().empty());  // a cancelled dialog keeps nothing

  QString sShown;
  driver.OnNext<CDateDialog>([&](CDateDialog& dialog) {
    EXPECT_EQ(dialog.List().count(), formats.size());
    dialog.List().setCurrentRow(2);
    sShown = dialog.Chosen();
    dialog.Default().setChecked(true);
    dialog.accept();
  });
  EXPECT_EQ(CDateDialog::Ask(m_settings, nullptr), sShown);
  EXPECT_EQ(ReadSetting(m_settings, kDateDialogCurSel), 2);
  EXPECT_EQ(ReadSetting(m_settings, kDefaultInsDate), 1);
  // Now no dialog opens (the driver would fail it), and the same format comes.
  std::optional<QString> sText = CDateDialog::Ask(m_settings, nullptr);
  ASSERT_TRUE(sText);
  EXPECT_EQ(*sText, QLocale().toString(QDateTime::currentDateTime(), formats[2]));
}

// Through the Insert menu: a date goes into every kind of editor as one undo
// step, and not into a read-only note.
class InsertDateTest : public MainWindowTest {};

TEST_F(InsertDateTest, ADateGoesIntoEveryEditorAsOneUndoStep) {
  WriteSetting(*m_pSettings, kDefaultInsCustomDate, 1);
  WriteSetting(*m_pSettings, kCustomDateChoices[3], 1);
  const QDate today = QDate::currentDate();
  const QString sDate = QString::fromStdString(
      FormatCustomDate(today.year(), today.month(), today.day(), kCustomDateFormats[3]));
  for (const char* pType : {"0", "1", "2"}) {
    XMLelement* pNote = FindNoteOfType(pType);
    ASSERT_TRUE(pNote) << pType;
    Choose(pNote);
    QTextCursor cursor = Window().Editors().TextCursor();
    cursor.setPosition(0);
    Window().Editors().SetTextCursor(cursor);
    Window().findChild<QAction*>("Insert - Custom Date")->trigger();
    QTextDocument& document = *Window().Editors().TextCursor().document();
    EXPECT_TRUE(document.toPlainText().startsWith(sDate)) << pType;
    document.undo();
    EXPECT_FALSE(document.toPlainText().startsWith(sDate)) << pType;
    // Read-only, the note takes no date, though the key still reaches the command.
    SetProperty(*pNote, "readonly", "true");
    Tree().RefreshTree(true);
    Choose(pNote);
    const QString sShown = Window().Editors().TextCursor().document()->toPlainText();
    Window().findChild<QAction*>("Insert - Custom Date")->trigger();
    EXPECT_EQ(Window().Editors().TextCursor().document()->toPlainText(), sShown) << pType;
  }
}

}  // namespace
}  // namespace orv::test
