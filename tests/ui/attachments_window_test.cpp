// Attachments in the window: files dropped on a note, the paper clip, and
// the dialog's grid, order, question and copies in "Att".

#include <QTableWidget>

#include "attachments/attachment_list.h"
#include "ui/dialog_driver.h"
#include "ui/dialogs/organize_attachments_dialog.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

using AttachmentsWindowTest = MainWindowTest;

TEST_F(AttachmentsWindowTest, DroppedFilesAreAttachedAndTheDialogWorksOnThem) {
  XMLelement* pNote = Folder().AllNotes().front();
  Choose(pNote);
  const QModelIndex index = Window().TreeView().Model().IndexOf(pNote);
  const int nPlainWidth = Window().TreeView().sizeHintForIndex(index).width();
  WriteWholeFile(m_dir.File("a.txt"), "alpha");
  WriteWholeFile(m_dir.File("b.txt"), "beta");
  emit Window().TreeView().FilesDropped(pNote, {QString::fromStdString(m_dir.File("a.txt")),
                                                QString::fromStdString(m_dir.File("b.txt"))});
  QCoreApplication::processEvents();
  ASSERT_EQ(ReadAttachments(*pNote).size(), 2u);
  EXPECT_TRUE(Window().Doc().IsModified());
  EXPECT_GT(Window().TreeView().sizeHintForIndex(index).width(), nPlainWidth);  // the clip

  CDialogDriver driver;
  std::string sQuestion;
  driver.OnNext<COrganizeAttachmentsDlg>([&](COrganizeAttachmentsDlg& dialog) {
    QTableWidget& grid = dialog.Grid();
    EXPECT_EQ(grid.horizontalHeaderItem(0)->text(), "Attachments name");
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), "Created data");
    ASSERT_EQ(grid.rowCount(), 2);
    grid.selectRow(1);
    dialog.Move(-1);
    EXPECT_EQ(grid.item(0, 0)->text(), "b.txt");
    dialog.SaveToDisk();
    dialog.SaveToDisk();  // the same copy again, not a second one
    const QString sCopy = m_pPaths->AttDir() + "/b.txt";
    EXPECT_EQ(dialog.Status(), "Saved to " + sCopy);
    EXPECT_EQ(ReadWholeFile(sCopy.toStdString()), "beta");
    EXPECT_EQ(QDir(m_pPaths->AttDir()).entryList(QDir::Files).size(), 1);
    dialog.DeleteSelected();
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.item(0, 0)->text(), "a.txt");
    dialog.accept();
  });
  driver.OnNextMessage(sQuestion, QDialogButtonBox::Yes);
  Trigger("Notes - Attachments...");
  EXPECT_EQ(sQuestion, "Are you sure");
  ASSERT_EQ(ReadAttachments(*pNote).size(), 1u);
  EXPECT_EQ(ReadAttachments(*pNote).front().sName, "a.txt");
}

}  // namespace
}  // namespace orv::test
