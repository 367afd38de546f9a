// The user's keyboard shortcuts and external tools in the window: the
// dialogs, the files, and keys that reach what the user bound them to.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <fstream>

#include "ui/dialog_driver.h"
#include "ui/dialogs/accel_map_dialog.h"
#include "ui/dialogs/external_tool_dialog.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/main_window_fixture.h"
#include "ui/window/note_tree_view.h"

namespace orv::test {
namespace {

using ShortcutsToolsTest = MainWindowTest;

void SelectCommand(CAccelMapDialog& dialog, const QString& sName) {
  const auto items = dialog.CommandList().findItems(sName, Qt::MatchExactly);
  ASSERT_EQ(items.size(), 1) << sName.toStdString();
  dialog.CommandList().setCurrentItem(items.first());
}

TEST_F(ShortcutsToolsTest, KeysTheUserGivesReachTheCommandsAndOutliveARestart) {
  CDialogDriver driver;
  std::string sRefusal;
  driver.OnNext<CAccelMapDialog>([&](CAccelMapDialog& dialog) {
    // Narrowing the list moves the choice off a command it hides.
    for (QLineEdit* pEdit : dialog.findChildren<QLineEdit*>())
      if (pEdit->placeholderText().startsWith("Type part")) pEdit->setText("save as");
    EXPECT_EQ(dialog.CommandList().currentItem()->text(), "File - Save As ...");
    QTest::keyClick(&dialog.Capture(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialog.Capture().text(), "Ctrl+Shift+S");
    dialog.Assign();
    SelectCommand(dialog, "View - Toolbars - HTML Formatting");
    QTest::keyClick(&dialog.Capture(), Qt::Key_F8, Qt::ControlModifier);
    dialog.Assign();
    SelectCommand(dialog, "File - Save");
    dialog.KeyList().setCurrentRow(0);
    dialog.Remove();  // built in: refused with a message
    dialog.accept();
  });
  driver.OnNextMessage(sRefusal);
  Trigger("Setting - Edit Accels");
  EXPECT_EQ(sRefusal, "Unable to remove this\naccelerator (Locked)");
  EXPECT_EQ(Window().Command("File - Save As ...")->shortcuts(),
            QList<QKeySequence>{QKeySequence("Ctrl+Shift+S")});
  EXPECT_EQ(Window().Command("File - Save")->shortcut(), QKeySequence("Ctrl+S"));

  OpenWindow();
  EXPECT_EQ(Window().Command("File - Save As ...")->shortcut(), QKeySequence("Ctrl+Shift+S"));
  // A tool bar's toggle takes keys like any command.
  auto* pToggle = Window().findChild<QAction*>("View - Toolbars - HTML Formatting");
  ASSERT_NE(pToggle, nullptr);
  EXPECT_EQ(pToggle->shortcut(), QKeySequence("Ctrl+F8"));

  // Cancel keeps what was there.
  driver.OnNext<CAccelMapDialog>([&](CAccelMapDialog& dialog) {
    dialog.Reset();
    dialog.reject();
  });
  Trigger("Setting - Edit Accels");
  EXPECT_EQ(Window().Command("File - Save As ...")->shortcut(), QKeySequence("Ctrl+Shift+S"));
}

TEST_F(ShortcutsToolsTest, AToolsKeyStartsItBeforeAnyShortcutAndTheMenuListsIt) {
  const std::string sMark = m_dir.File("started");
  std::ofstream(m_pPaths->ExternalToolsFile().toStdString())
      << "1.1\nMark\n/usr/bin/touch\n'" << sMark << "'\nF2\n113 0\n"
      << "Broken\n/no/such/program\n\n\n0 0\n";
  OpenWindow();

  QMenu* pTools = Menu("&Tools");
  ASSERT_TRUE(pTools);
  emit pTools->aboutToShow();
  const QList<QAction*> items = pTools->actions();
  ASSERT_EQ(items.size(), 4);  // the dialog, a separator, two tools
  EXPECT_EQ(items[2]->text(), "Mark\t        F2");
  EXPECT_EQ(items[3]->text(), "Broken");

  // F2 is also Rename's key: the tool wins and no label edit starts.
  Window().show();
  Window().TreeView().setFocus();
  QTest::keyClick(&Window().TreeView(), Qt::Key_F2);
  EXPECT_EQ(Window().TreeView().viewport()->findChild<QLineEdit*>(), nullptr);
  for (int i = 0; i < 200 && !std::filesystem::exists(sMark); ++i) QTest::qWait(10);
  EXPECT_TRUE(std::filesystem::exists(sMark));

  CDialogDriver driver;
  std::string sWarning;
  driver.OnNextMessage(sWarning);
  items[3]->trigger();
  EXPECT_EQ(sWarning, "Application is unable to execute!. Check its parameters.");
}

TEST_F(ShortcutsToolsTest, TheToolsDialogNumbersReordersAndAsksBeforeDeletingAll) {
  CDialogDriver driver;
  std::string sQuestion;
  driver.OnNext<CExternalToolDialog>([&](CExternalToolDialog& dialog) {
    dialog.AddItem();
    dialog.AddItem();
    dialog.Move(-1);  // the second, selected, goes first
    ASSERT_EQ(dialog.Tools().size(), 2u);
    EXPECT_EQ(dialog.Tools()[0].sTitle, "External Tool #1");
    EXPECT_EQ(dialog.Grid().item(1, 0)->text(), "External Tool #0");
    dialog.DeleteAll();
    EXPECT_EQ(dialog.Tools().size(), 2u);  // answered No
    dialog.accept();
  });
  driver.OnNextMessage(sQuestion, QDialogButtonBox::No);
  Trigger("Tools - External Tools ...");
  EXPECT_EQ(sQuestion, "Are you sure to delete all external tools ?");
  std::ifstream file(m_pPaths->ExternalToolsFile().toStdString());
  const std::string sFile{std::istreambuf_iterator<char>(file), {}};
  EXPECT_EQ(sFile, "1.1\nExternal Tool #1\n\n\n\n0 0\nExternal Tool #0\n\n\n\n0 0\n");
}

TEST_F(ShortcutsToolsTest, SettingsAreCheckedWholeBeforeAnyIsWritten) {
  WriteSetting(*m_pSettings, kDontAskDelNode, 1);
  CDialogDriver driver;
  driver.OnNext<CSettingsDialog>([&](CSettingsDialog& dialog) {
    dialog.findChild<QComboBox*>()->setCurrentIndex(3);  // "None"
    dialog.findChild<QSpinBox*>()->setValue(7);
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>())
      if (pButton->text().contains("questions")) pButton->click();
    auto* pHotKey = dialog.findChild<CKeyboardEdit*>();
    QTest::keyClick(pHotKey, Qt::Key_A);  // a plain letter is refused
    EXPECT_FALSE(dialog.Apply());
    EXPECT_EQ(ReadSetting(*m_pSettings, kNumBackCopies), 2);
    EXPECT_EQ(ReadSetting(*m_pSettings, kDontAskDelNode), 1);
    QTest::keyClick(pHotKey, Qt::Key_O, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(dialog.Apply());
    dialog.Pages().setCurrentIndex(3);
    dialog.accept();
  });
  // No X server offscreen: the new key cannot be grabbed, and is kept all the same.
  std::string sWarning;
  driver.OnNextMessage(sWarning);
  Trigger("Setting - Setting");
  EXPECT_EQ(sWarning, "Activation hot key is not registered, please choose another key.");
  EXPECT_EQ(ReadSetting(*m_pSettings, kNumBackCopies), 7);
  EXPECT_EQ(ReadSetting(*m_pSettings, kDefType), kDefTypeNone);
  EXPECT_EQ(ReadSetting(*m_pSettings, kSetDef), 0);
  EXPECT_EQ(ReadSetting(*m_pSettings, kDontAskDelNode), 0);
  EXPECT_EQ(ReadSetting(*m_pSettings, kActShortcutKeyCode), 'O');
  EXPECT_EQ(ReadSetting(*m_pSettings, kActShortcutModifiers), 3);  // Alt 1 + Ctrl 2

  driver.OnNext<CSettingsDialog>([&](CSettingsDialog& dialog) {
    EXPECT_EQ(dialog.Pages().currentIndex(), 3);
    EXPECT_EQ(dialog.findChild<QComboBox*>()->currentText(), "None");
    dialog.findChild<QSpinBox*>()->setValue(1);
    dialog.reject();
  });
  Trigger("Setting - Setting");
  EXPECT_EQ(ReadSetting(*m_pSettings, kNumBackCopies), 7);
}

}  // namespace
}  // namespace orv::test
