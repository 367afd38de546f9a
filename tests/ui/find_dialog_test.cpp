// The two find dialogs in the window: a search fills the grid from its own
// thread, Pass opens the note with the hit selected, a long search can be
// stopped, and each dialog comes back as it was left.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "main_window_fixture.h"
#include "ui/dialogs/advanced_find_dialog.h"
#include "ui/dialogs/find_node_dialog.h"

namespace orv::test {
namespace {

class FindDialogTest : public MainWindowTest {
 protected:
  template <typename TDialog>
  std::unique_ptr<TDialog> Open() {
    auto pDialog = std::make_unique<TDialog>(Tree(), *m_pSettings, Window().Editors(), &Window());
    pDialog->show();
    return pDialog;
  }
  template <typename TWidget>
  static TWidget& Child(QDialog& dialog, const char* pName) {
    auto* pChild = dialog.findChild<TWidget*>(pName);
    EXPECT_NE(pChild, nullptr) << pName;
    return *pChild;
  }
  // Types the text, presses Find and waits for the search to end.
  static QString Search(QDialog& dialog, const QString& sText) {
    Child<QComboBox>(dialog, "findText").setEditText(sText);
    QPushButton& find = Child<QPushButton>(dialog, "findButton");
    find.click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return find.text() == "&Find"; }, 20000));
    return Child<QLabel>(dialog, "status").text();
  }
  // A rich-text note of the current folder holding sText.
  XMLelement* RichNote(const std::string& sName, const std::string& sRtf) {
    XMLelement* pNote = AddNote(sName, kContentRtf, sRtf);
    Tree().RefreshTree(false);
    return pNote;
  }
};

TEST_F(FindDialogTest, PassOpensTheNoteWithTheHitSelected) {
  XMLelement* pNote = RichNote("Zoo", "{\\rtf1 Lions and one zebra\\par}");
  auto pDialog = Open<CFindNodeDlg>();
  EXPECT_EQ(Search(*pDialog, "ZEBRA"), "1 found");
  QTableView& grid = Child<QTableView>(*pDialog, "results");
  EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), "Node name");
  EXPECT_EQ(grid.model()->index(0, 0).data().toString(), "Zoo");
  // Control words are no text.
  EXPECT_EQ(Search(*pDialog, "rtf1"), "Nothing found");
  Search(*pDialog, "zebra");
  Child<QPushButton>(*pDialog, "passButton").click();
  EXPECT_EQ(pDialog->result(), QDialog::Accepted);
  EXPECT_EQ(Tree().SelectedNote(), pNote);
  EXPECT_EQ(Window().Editors().TextCursor().selectedText(), "zebra");
}

TEST_F(FindDialogTest, AStoppedSearchLeavesTheDialogUsable) {
  // Enough text that reading it takes a while.
  std::string sRtf = "{\\rtf1 ";
  for (int i = 0; i < 20000; ++i) sRtf += "plain words\\par ";
  for (int i = 0; i < 300; ++i) RichNote("Big " + std::to_string(i), sRtf + "}");
  RichNote("Needle", "{\\rtf1 haystack\\par}");
  auto pDialog = Open<CAdvancedFindDlg>();
  QPushButton& find = Child<QPushButton>(*pDialog, "findButton");
  Child<QComboBox>(*pDialog, "findText").setEditText("haystack");
  find.click();
  ASSERT_EQ(find.text(), "&Stop");
  find.click();
  EXPECT_TRUE(Child<QLabel>(*pDialog, "status").text().startsWith("Stopped"));
  EXPECT_EQ(Search(*pDialog, "haystack"), "1 found");
}

TEST_F(FindDialogTest, EachDialogComesBackAsItWasLeft) {
  RichNote("Zoo", "{\\rtf1 zebra\\par}");
  {
    auto pDialog = Open<CAdvancedFindDlg>();
    Child<QCheckBox>(*pDialog, "matchCase").setChecked(true);
    Child<QRadioButton>(*pDialog, "scope3").setChecked(true);  // only RTF notes
    Search(*pDialog, "zebra");
    Search(*pDialog, "lion");
    Child<QComboBox>(*pDialog, "findText").setEditText("zebra");
    pDialog->reject();
  }
  auto pDialog = Open<CAdvancedFindDlg>();
  EXPECT_TRUE(Child<QCheckBox>(*pDialog, "matchCase").isChecked());
  EXPECT_TRUE(Child<QRadioButton>(*pDialog, "scope3").isChecked());
  QComboBox& text = Child<QComboBox>(*pDialog, "findText");
  EXPECT_EQ(text.currentText(), "zebra");
  ASSERT_EQ(text.count(), 1);  // the drop-down holds the older entries
  EXPECT_EQ(text.itemText(0), "zebra");
  auto pFolderDialog = Open<CFindNodeDlg>();
  EXPECT_FALSE(Child<QCheckBox>(*pFolderDialog, "matchCase").isChecked());
}

}  // namespace
}  // namespace orv::test
