// The desktop's shared folder: made through its menu item, its notes written
// to disk as they change, and the tree read again when another program
// changes the directory.

#include <QElapsedTimer>
#include <QMessageBox>

#include "ui/dialog_driver.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

TEST_F(MainWindowTest, ASharedFolderFollowsItsDirectory) {
  const std::filesystem::path root = m_dir.Path() / "share";
  std::filesystem::create_directory(root);
  {
    CDialogDriver driver;
    driver.OnNextFile(QString::fromStdString(root.string()));
    driver.OnNext<QMessageBox>([](QMessageBox& box) { box.accept(); });
    Trigger("Folders - Advanced - New S&hared Folder ...");
  }
  ASSERT_TRUE(Folder().IsShared());
  ASSERT_NE(FindNote("New Shared Note"), nullptr);

  // A rename here reaches the note's file at once.
  Window().TreeView().Model().setData(
      Window().TreeView().Model().IndexOf(FindNote("New Shared Note")), "Mine", Qt::EditRole);
  EXPECT_EQ(ReadWholeFile((root / "00000" / "Name.txt").string()), "Mine");

  // Another program's change shows without anything done here.
  WriteWholeFile((root / "00000" / "Name.txt").string(), "Theirs");
  QElapsedTimer waited;
  waited.start();
  while (Folder().AllNotes().empty() || GetProperty(*Folder().AllNotes()[0], "name") != "Theirs") {
    ASSERT_LT(waited.elapsed(), 5000) << "the tree was not read again";
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }

  // Its directory out of reach, the first change says so; the next ones,
  // failing the same way, do not say it again.
  auto rename = [&](const char* pName) {
    Window().TreeView().Model().setData(Window().TreeView().Model().IndexOf(Folder().AllNotes()[0]),
                                        pName, Qt::EditRole);
  };
  const std::vector<std::string> shown = MessageBoxesShownBy(
      [&] {
        std::filesystem::rename(root, m_dir.Path() / "away");
        QTest::qWait(300);
        rename("One");
        rename("Two");
      },
      1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("Can't open the shared folder"), std::string::npos) << shown[0];
}

}  // namespace
}  // namespace orv::test
