// Named styles, date insertion, the colour buttons and the default font of
// the rich-text editor, as a user works them.

#include <QCalendarWidget>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QTextBlock>
#include <QToolButton>

#include "editors/custom_date.h"
#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "ui/dialog_driver.h"
#include "ui/dialogs/date_dialog.h"
#include "ui/dialogs/font_ref.h"
#include "ui/dialogs/month_cal_dialog.h"
#include "ui/editors/format_bar.h"
#include "ui/editors/rich_text_edit.h"
#include "ui/editors/style_box.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

QTextCharFormat FormatOfCharAt(QTextDocument& document, int nPos) {
  QTextCursor probe(&document);
  probe.setPosition(nPos + 1);
  return probe.charFormat();
}

class RichTextStylesTest : public testing::Test {
 protected:
  RichTextStylesTest() : m_pBar(std::make_unique<CFormatBar>(m_rich, m_settings)) {
    m_rich.setHtml(
        "<p align=\"center\" style=\"margin-left:30px\"><span style=\"font-family:'DejaVu "
        "Serif'; font-size:20pt; font-weight:700; color:#c00000\">Heading</span></p>"
        "<p>plain <a href=\"https://example.org/\">link</a> text</p>");
    m_rich.document()->setUndoRedoEnabled(false);  // the loaded text is no edit
    m_rich.document()->setUndoRedoEnabled(true);
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
  Select(0, 7);
  AddStyle("Heading");
  EXPECT_EQ(Styles().Box().currentText(), "Heading");
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

TEST_F(RichTextStylesTest, AStyleOfPlainTextTakesColoursAndBoldAway) {
  const int nAt = SecondParagraph();
  Select(nAt, nAt + 5);
  AddStyle("Body");
  Select(0, 7);
  Styles().ApplyStyle(0);
  const QTextCharFormat format = FormatOfCharAt(*m_rich.document(), 3);
  EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(format.fontWeight(), QFont::Normal);
}

TEST_F(RichTextStylesTest, ADamagedOrMissingStyleChangesNothing) {
  Select(0, 7);
  AddStyle("Heading");
  AddStyle("Quote");
  m_settings.SetBinary("Heading", "CharFormat", std::vector<uint8_t>(84, 0));  // the Windows form
  m_settings.DeleteSection("Quote");
  m_pBar = std::make_unique<CFormatBar>(m_rich, m_settings);
  const QString sBefore = m_rich.toHtml();
  Select(SecondParagraph(), SecondParagraph() + 5);
  QString sWarning;
  CDialogDriver driver;
  driver.OnNext<QMessageBox>([&](QMessageBox& box) {
    sWarning = box.text();
    box.accept();
  });
  Styles().ApplyStyle(0);
  EXPECT_EQ(sWarning,
            "The style \"Heading\" cannot be applied.\nThe style record is not one of this "
            "program's.");
  Styles().ApplyStyle(1);  // no records at all: nothing, and nothing said
  EXPECT_EQ(m_rich.toHtml(), sBefore);
  EXPECT_FALSE(m_rich.document()->isUndoAvailable());
}

TEST_F(RichTextStylesTest, RedefineAndDeleteRewriteTheSettings) {
  Select(0, 7);
  AddStyle("Heading");
  AddStyle("Quote");
  Select(SecondParagraph(), SecondParagraph() + 5);
  Styles().Box().setCurrentIndex(0);
  Styles().ApplyStyle(0);
  Styles().RedefineStyle();  // Heading now records the styled plain text
  Styles().DeleteStyle();
  EXPECT_EQ(Styles().Box().count(), 1);
  EXPECT_EQ(Styles().Box().currentText(), "Quote");
  EXPECT_FALSE(m_settings.Sections().contains("Heading"));
  EXPECT_EQ(m_settings.GetString("Styles", "style0", ""), "Quote");
  EXPECT_EQ(m_settings.GetInt("Styles", "count", -1), 1);
}

TEST_F(RichTextStylesTest, ColourButtonsRememberTheColourChosen) {
  Select(0, 3);
  CDialogDriver driver;
  driver.OnNext<QColorDialog>([](QColorDialog& dialog) {
    dialog.setCurrentColor(QColor(0, 0x80, 0));
    dialog.accept();
  });
  auto* pButton = qobject_cast<QToolButton*>(
      m_pBar->widgetForAction(m_pBar->Action("RTF Editor - Format Text Color")));
  pButton->menu()->actions().at(0)->trigger();  // "Choose Colour..."
  EXPECT_EQ(ReadSetting(m_settings, kClickTextColor), 0x008000);
  Select(SecondParagraph(), SecondParagraph() + 5);
  m_pBar->Action("RTF Editor - Format Text Color")->trigger();  // a click applies it
  EXPECT_EQ(FormatOfCharAt(*m_rich.document(), SecondParagraph()).foreground().color(),
            QColor(0, 0x80, 0));
}

TEST(StoredFontTest, TheDefaultFontReadsBackAsStored) {
  CMemorySettingsStore settings;
  QFont font("DejaVu Sans Mono");
  font.setPointSizeF(13.5);
  font.setWeight(QFont::Bold);
  font.setItalic(true);
  StoreFont(settings, kRtfFont, font);
  std::optional<QFont> stored = StoredFont(settings, kRtfFont, QFont());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->family(), "DejaVu Sans Mono");
  EXPECT_EQ(stored->pointSizeF(), 13.5);
  EXPECT_EQ(stored->weight(), QFont::Bold);
  EXPECT_TRUE(stored->italic());
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
    EXPECT_EQ(dialog.List().currentRow(), 0);
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

TEST_F(DateDialogTest, CustomDateWritesTheChosenDayInTheChosenFormat) {
  CDialogDriver driver;
  driver.OnNext<CMonthCalDlg>([](CMonthCalDlg& dialog) { dialog.reject(); });
  EXPECT_EQ(CMonthCalDlg::Ask(m_settings, nullptr), std::nullopt);
  EXPECT_TRUE(m_settings.Sections().empty());

  driver.OnNext<CMonthCalDlg>([](CMonthCalDlg& dialog) {
    EXPECT_EQ(dialog.Calendar().selectedDate(), QDate::currentDate());
    EXPECT_TRUE(dialog.Formats()[0]->isChecked());  // none remembered: the first
    dialog.Calendar().setSelectedDate(QDate(2024, 3, 1));
    dialog.Formats()[2]->setChecked(true);
    dialog.accept();
  });
  EXPECT_EQ(CMonthCalDlg::Ask(m_settings, nullptr), "01 . 03. 24");
  EXPECT_EQ(
      m_settings.Sections().at("CFindNodeDlg"),
      (CMemorySettingsStore::TSection{
          {"m_bLong", 0}, {"m_bLong2", 0}, {"m_bLong3", 1}, {"m_bLong4", 0}, {"m_bLong5", 0}}));
  WriteSetting(m_settings, kDefaultInsCustomDate, 1);
  const QDate today = QDate::currentDate();
  EXPECT_EQ(CMonthCalDlg::Ask(m_settings, nullptr),
            QString::fromStdString(
                FormatCustomDate(today.year(), today.month(), today.day(), kCustomDateFormats[2])));
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
