// The HTML editor in the window: what an edited note is stored as, the
// source view and the switch between views, the tool bar's keys, and the
// table commands with their messages.

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextTable>

#include "editors/html_fragments.h"
#include "ui/dialog_driver.h"
#include "ui/editors/find_bar.h"
#include "ui/editors/html_tool_bar.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

class HtmlEditorTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ShowActive();
  }
  XMLelement* OpenHtml(const std::string& sContent) {
    XMLelement* pNote = OpenNewNote(1, sContent);
    Editor().Web().setFocus();
    return pNote;
  }
  CHtmlEditor& Editor() { return Window().Editors().HtmlEditor(); }
  QTextDocument& Web() { return *Editor().Web().document(); }
  void Key(Qt::Key eKey, Qt::KeyboardModifiers eModifiers = Qt::ControlModifier) {
    QTest::keyClick(&Editor().ShownEdit(), eKey, eModifiers);
  }
};

TEST_F(HtmlEditorTest, AnEditedNoteIsStoredAsCompactHtmlThatReadsBackTheSame) {
  XMLelement* pNote = OpenHtml(InitialHtmlDocument("Yes"));
  Key(Qt::Key_Z);  // right after opening: nothing to take away
  Window().StoreEditorContent();
  EXPECT_EQ(Content(*pNote), InitialHtmlDocument("Yes"));  // only viewed: its bytes

  QTest::keyClicks(&Editor().Web(), "Hello ");
  Key(Qt::Key_B);
  QTest::keyClicks(&Editor().Web(), "world");
  Window().StoreEditorContent();
  const std::string sStored = Content(*pNote);
  EXPECT_EQ(sStored,
            "<html><head><meta charset=\"utf-8\"></head><body>"
            "<div>Hello <b>world</b></div></body></html>");
  EXPECT_LT(sStored.size() * 4, Web().toHtml().toUtf8().size());

  Tree().RefreshTree(true);
  Choose(pNote);
  QTest::keyClicks(&Editor().Web(), "!");  // an edit writes the note anew, the same way
  Editor().Web().undo();
  Window().StoreEditorContent();
  EXPECT_EQ(Content(*pNote), sStored);
}

TEST_F(HtmlEditorTest, SwitchingViewsCarriesTheEditsOverBothWays) {
  XMLelement* pNote = OpenHtml("<div>one</div>");
  QTest::keyClicks(&Editor().Web(), "web ");
  Key(Qt::Key_R);  // "View - HTML - Source"
  ASSERT_TRUE(Editor().IsSourceShown());
  EXPECT_EQ(Window().Editors().ActiveEdit(), &Editor().Source());
  const QString sSource = Editor().Source().toPlainText();
  EXPECT_TRUE(sSource.contains("<div>web one</div>")) << sSource.toStdString();

  // Find and replace work on the source text.
  Window().FindBar().Open(true);
  Window().FindBar().FindEdit().setText("one");
  Window().FindBar().ReplaceEdit().setText("two");
  Window().FindBar().ReplaceEvery();
  EXPECT_TRUE(Editor().Source().toPlainText().contains("web two"));

  QTextCursor cursor = Editor().Source().textCursor();
  cursor.movePosition(QTextCursor::End);
  Editor().Source().setTextCursor(cursor);
  QTest::keyClicks(&Editor().Source(), "<div>typed<script>x()</script></div>");
  Editor().Source().setFocus();
  const auto shown = MessageBoxesShownBy([&] { Key(Qt::Key_W); }, 1);  // "View - HTML - Web"
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_FALSE(Editor().IsSourceShown());
  EXPECT_EQ(Web().toPlainText(), "web two\ntyped");
  Web().setModified(false);
  Window().StoreEditorContent();
  EXPECT_NE(Content(*pNote).find("typed"), std::string::npos);
  EXPECT_EQ(Content(*pNote).find("script"), std::string::npos);

  // Stored from the source view, what was typed there is the note.
  Trigger("View - HTML - Source");
  Editor().Source().selectAll();
  Editor().Source().insertPlainText("<p>only source</p>");
  Window().StoreEditorContent();
  EXPECT_EQ(Content(*pNote), "<p>only source</p>");
  Trigger("View - HTML - Web");
  EXPECT_EQ(Web().toPlainText(), "only source");
}

TEST_F(HtmlEditorTest, TheToolBarFormatsTheWebViewAndRestsInTheSourceView) {
  OpenHtml("<div>word</div>");
  QTextCursor cursor(&Web());
  cursor.select(QTextCursor::WordUnderCursor);
  Editor().Web().setTextCursor(cursor);
  Key(Qt::Key_I);
  Key(Qt::Key_U);
  CHtmlToolBar& bar = Editor().ToolBar();
  bar.Action("HTML Editor - Center Justify")->trigger();
  bar.Action("HTML Editor - Indent")->trigger();
  bar.Action("HTML Editor - Bullet List")->trigger();
  const QTextCharFormat format = Editor().Web().currentCharFormat();
  EXPECT_TRUE(format.fontItalic());
  EXPECT_TRUE(format.fontUnderline());
  const QTextBlock block = Web().begin();
  EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  EXPECT_EQ(block.blockFormat().leftMargin(), 40);
  ASSERT_NE(block.textList(), nullptr);
  EXPECT_FALSE(bar.Action("HTML Editor - Absolute")->isEnabled());
  EXPECT_FALSE(bar.Action("HTML Editor - Absolute")->toolTip().isEmpty());
  Key(Qt::Key_R);
  EXPECT_FALSE(bar.Action("HTML Editor - Bold")->isEnabled());
  EXPECT_TRUE(Editor().Source().toPlainText().contains("<ul>\n<li align=\"center\""));
}

TEST_F(HtmlEditorTest, TablesAndLinesAreInsertedAndEditedWithTheirMessages) {
  XMLelement* pNote = OpenHtml("<div>before</div>");
  CHtmlToolBar& bar = Editor().ToolBar();
  Answering([](QDialog& dialog) { dialog.reject(); }, [&] { bar.InsertTable(); });  // cancelled
  EXPECT_EQ(Web().rootFrame()->childFrames().size(), 0);
  EXPECT_EQ(MessageBoxesShownBy([&] { bar.RunTableCommand(ETableCommand::InsertRow); }, 1),
            std::vector<std::string>{"Error: Please set the cursor into a table cell!"});
  for (auto run : {std::function<void()>([&] { bar.RunTableCommand(ETableCommand::DeleteTable); }),
                   std::function<void()>([&] { bar.EditTableProperties(); })})
    EXPECT_EQ(MessageBoxesShownBy(run, 1),
              std::vector<std::string>{"Error: Please set the cursor into a table!"});
  const auto fill = [](std::vector<std::pair<const char*, int>> values) {
    return [values](QDialog& dialog) {
      for (auto [pName, nValue] : values) dialog.findChild<QSpinBox*>(pName)->setValue(nValue);
      dialog.accept();
    };
  };
  Answering(fill({{"Rows", 2}, {"Columns", 3}}), [&] { bar.InsertTable(); });
  QTextTable* pTable = Editor().Web().textCursor().currentTable();
  ASSERT_NE(pTable, nullptr);
  EXPECT_EQ(pTable->rows(), 2);
  EXPECT_EQ(pTable->columns(), 3);
  Answering(fill({{"Border", 2}, {"Width", 50}}), [&] { bar.EditTableProperties(); });
  Window().StoreEditorContent();
  EXPECT_NE(Content(*pNote).find("<table border=\"2\" cellpadding=\"3\" width=\"50%\">"),
            std::string::npos)
      << Content(*pNote);
  // Tab goes from cell to cell, and on from the last one into a new row.
  auto caretCell = [&] { return pTable->cellAt(Editor().Web().textCursor()); };
  Key(Qt::Key_Tab, Qt::NoModifier);
  EXPECT_EQ(caretCell().column(), 1);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(caretCell().column(), 0);
  for (int i = 0; i < 6; ++i) Key(Qt::Key_Tab, Qt::NoModifier);
  EXPECT_EQ(caretCell().row(), 2);
  bar.RunTableCommand(ETableCommand::InsertRow);
  bar.RunTableCommand(ETableCommand::InsertColumn);
  EXPECT_EQ(pTable->rows(), 4);
  EXPECT_EQ(pTable->columns(), 4);
  bar.RunTableCommand(ETableCommand::CombineCells);
  EXPECT_EQ(pTable->cellAt(Editor().Web().textCursor()).columnSpan(), 2);
  EXPECT_EQ(MessageBoxesShownBy([&] { bar.RunTableCommand(ETableCommand::InsertColumn); }, 1),
            std::vector<std::string>{"Error: All rows must contain the same amount of columns!"});
  bar.RunTableCommand(ETableCommand::SplitCell);
  QTextCursor last = pTable->cellAt(0, 3).firstCursorPosition();
  Editor().Web().setTextCursor(last);
  EXPECT_EQ(
      MessageBoxesShownBy([&] { bar.RunTableCommand(ETableCommand::CombineCells); }, 1),
      std::vector<std::string>{"Error: You can only combine cells which have a right neighbour."});
  bar.RunTableCommand(ETableCommand::DeleteTable);
  EXPECT_EQ(Web().rootFrame()->childFrames().size(), 0);
  EXPECT_TRUE(Web().toPlainText().startsWith("before"));

  // A horizontal line's properties need the caret on one; its width is kept.
  EXPECT_EQ(MessageBoxesShownBy([&] { bar.EditRuleProperties(); }, 1),
            std::vector<std::string>{"Error: " + std::string(kSelectRuleMessage)});
  bar.InsertRule();
  QTextCursor onRule(&Web());
  while (!onRule.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
    ASSERT_TRUE(onRule.movePosition(QTextCursor::NextBlock));
  Editor().Web().setTextCursor(onRule);
  {
    CDialogDriver driver;
    driver.OnNext<QInputDialog>([](QInputDialog& dialog) {
      dialog.setIntValue(40);
      dialog.accept();
    });
    bar.EditRuleProperties();
  }
  Window().StoreEditorContent();
  EXPECT_NE(Content(*pNote).find("<hr width=\"40%\">"), std::string::npos) << Content(*pNote);
}

TEST_F(HtmlEditorTest, ItsColoursAreSixHexDigitsAndItsFontTheStoredOne) {
  m_pSettings->SetString("Settings", "htmlBckColor", "ff8000");
  m_pSettings->SetString("Settings", "HTMLtextColor", "not a colour");  // the theme's, then
  WriteSetting(*m_pSettings, kHtmlFont, FontRecord(-20, 400, false, "Html Face"));
  const QColor themeText = Editor().Web().palette().color(QPalette::Text);
  OpenWindow();
  const QPalette palette = Editor().Web().palette();
  EXPECT_EQ(palette.color(QPalette::Base), QColor(0xff, 0x80, 0x00));
  EXPECT_EQ(palette.color(QPalette::Text), themeText);
  EXPECT_EQ(Editor().Web().font().family(), "Html Face");
  EXPECT_DOUBLE_EQ(Editor().Web().font().pointSizeF(), 15);
}

TEST_F(HtmlEditorTest, WhatTheViewCannotShowKeepsTheNotesBytes) {
  const std::string sPositioned = "<div style=\"position:absolute;left:9px\">pinned</div>";
  XMLelement* pNote = OpenHtml(sPositioned);
  EXPECT_TRUE(Window().statusBar()->currentMessage().contains("absolute positioning"));
  Window().StoreEditorContent();
  EXPECT_EQ(Content(*pNote), sPositioned);
}

}  // namespace
}  // namespace orv::test
