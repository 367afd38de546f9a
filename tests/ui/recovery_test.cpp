// Unsaved work across a crash: a copy of the app is killed after typing, the
// next window offers the edit back; and the crash report's helper asks
// before it writes.

#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <filesystem>

#include "main_window_fixture.h"
#include "shell/crash_record.h"
#include "ui/crash_reporter.h"
#include "ui/dialog_driver.h"

namespace orv::test {
namespace {

// Clicks the message box's button that reads sText.
void Click(QMessageBox& box, const QString& sText) {
  for (QAbstractButton* pButton : box.buttons())
    if (pButton->text() == sText) return pButton->click();
  FailDialog(box, "no such button");
}

class RecoveryTest : public MainWindowTest {
 protected:
  // Starts the recovery child on the scratch document, waits until its copy
  // is written, kills it, and returns the note text it had stored.
  std::string TypeAndGetKilled(const QString& sTyped) {
    QProcess child;
    child.start(ORVELLA_RECOVERY_CHILD, {QString::fromStdString(m_sDocument), sTyped});
    QByteArray line;
    for (int i = 0; i < 300 && !line.startsWith("ready "); ++i)
      if (child.waitForReadyRead(100)) line += child.readAllStandardOutput();
    child.kill();  // SIGKILL: nothing is cleaned up
    child.waitForFinished();
    EXPECT_TRUE(line.startsWith("ready ")) << child.readAllStandardError().toStdString();
    return QByteArray::fromBase64(line.mid(6).trimmed()).toStdString();
  }
  std::string OpenNoteText() {
    Window().StoreEditorContent();
    return Content(*Window().Editors().OpenNoteElement());
  }
  size_t RecoveryFiles() { return QDir(m_pPaths->RecoveryDir()).entryList(QDir::Files).size(); }
};

TEST_F(RecoveryTest, TheNextStartOffersTheKilledCopysEditByteForByte) {
  const std::string sSaved = test::ReadWholeFile(m_sDocument);
  const std::string sStored = TypeAndGetKilled("Typed before the crash");
  ASSERT_NE(sStored.find("Typed before the crash"), std::string::npos);
  EXPECT_EQ(test::ReadWholeFile(m_sDocument), sSaved);

  OpenWindow();
  CDialogDriver driver;
  std::string sQuestion;
  driver.OnNext<QMessageBox>([&](QMessageBox& box) {
    sQuestion = box.windowTitle().toStdString() + ": " + box.text().toStdString();
    Click(box, "&Yes");
  });
  Window().OfferRecoveredWork();
  EXPECT_TRUE(sQuestion.starts_with("Question: Restore the unsaved changes of notes.orv from "))
      << sQuestion;
  EXPECT_EQ(OpenNoteText(), sStored);
  EXPECT_EQ(Window().Doc().PathName(), m_sDocument);
  EXPECT_TRUE(Window().Doc().IsModified());
  EXPECT_TRUE(Window().isWindowModified());

  // The restored work has a copy of its own until it is saved.
  EXPECT_EQ(RecoveryFiles(), 3u);
  ASSERT_TRUE(Window().SaveDocument());
  EXPECT_EQ(RecoveryFiles(), 0u);
  OpenWindow();
  EXPECT_EQ(OpenNoteText(), sStored);
}

TEST_F(RecoveryTest, LaterKeepsTheCopyAndNoDropsIt) {
  TypeAndGetKilled("Typed before the crash");
  for (const char* pAnswer : {"&Later", "&No"}) {
    OpenWindow();
    CDialogDriver driver;
    driver.OnNext<QMessageBox>([&](QMessageBox& box) { Click(box, pAnswer); });
    Window().OfferRecoveredWork();
    EXPECT_FALSE(Window().Doc().IsModified());
    EXPECT_EQ(RecoveryFiles(), pAnswer == std::string("&Later") ? 3u : 0u);
  }
}

TEST_F(RecoveryTest, TypingIsCopiedAfterAPauseAndACleanCloseRemovesIt) {
  QWidget* pEdit = Window().Editors().ActiveEdit();
  ASSERT_NE(pEdit, nullptr);
  QTest::keyClicks(pEdit, "more");
  EXPECT_EQ(RecoveryFiles(), 0u);
  QTest::qWait(kRecoveryPause + 500);
  EXPECT_EQ(RecoveryFiles(), 3u);
  Window().Doc().ClearModified();  // no save question
  Window().close();
  EXPECT_EQ(RecoveryFiles(), 0u);
}

// A record as the handler writes it, for a fault in a function of ours.
QString WriteRecord(const CTempDir& dir) {
  const std::string sPath = dir.File("crash-1.txt");
  WriteWholeFile(sPath, std::string(kCrashRecordMagic) +
                            "\nsignal 11\ncode 1\naddress 0\npid 1\ntime 0\n"
                            "[meminfo]\nMemTotal: 1000 kB\n");
  return QString::fromStdString(sPath);
}

TEST(CrashReporter, AsksFirstAndWritesTheReportOnYes) {
  CTempDir dir;
  const QString sFolder = QString::fromStdString(dir.Path().string());
  CDialogDriver driver;
  std::vector<std::string> shown;
  for (auto eButton : {QDialogButtonBox::No, QDialogButtonBox::Yes, QDialogButtonBox::Ok})
    driver.OnNext<QMessageBox>([&, eButton](QMessageBox& box) {
      shown.push_back(box.windowTitle().toStdString() + ": " + box.text().toStdString());
      Press(box, eButton);
    });
  for (int i = 0; i < 2; ++i) {
    const QString sRecord = WriteRecord(dir);
    EXPECT_TRUE(ReportCrash(sRecord, sFolder, ECrashAsked::AsItEnds));
    EXPECT_FALSE(QFileInfo::exists(sRecord));
    EXPECT_EQ(QFileInfo::exists(sFolder + "/Orvella.err"), i == 1);
  }
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(
      shown[0].starts_with("Orvella: An unhandled exception has occurred in Orvella\n\n"
                           "Orvella has to be closed.\n\n"))
      << shown[0];
  EXPECT_EQ(shown[1], shown[0]);
  EXPECT_TRUE(shown[2].starts_with("Error: The exception report has been saved to \"" +
                                   dir.File("Orvella.err") + "\"."))
      << shown[2];
  const std::string sReport = ReadWholeFile(dir.File("Orvella.err"));
  EXPECT_NE(sReport.find("Exception code: 0000000B ACCESS_VIOLATION (SIGSEGV, code 1)\r\n"),
            std::string::npos);
  EXPECT_TRUE(QFileInfo::exists(sFolder + "/Orvella comments.txt"));
  // No record, no question.
  EXPECT_FALSE(ReportCrash(sFolder + "/none.txt", sFolder, ECrashAsked::AsItEnds));
}

TEST(CrashReporter, ARecordNobodyTookUpIsOfferedAtTheNextStart) {
  CTempDir dir;
  qputenv("ORVELLA_HOME", QByteArray::fromStdString(dir.Path().string()));
  const CAppPaths paths;
  paths.CreateFolders();
  QFile left(paths.TempDir() + "/crash-1.txt"), fresh(paths.TempDir() + "/crash-2.txt");
  for (QFile* pRecord : {&left, &fresh}) {
    std::filesystem::rename(WriteRecord(dir).toStdString(), pRecord->fileName().toStdString());
    ASSERT_TRUE(pRecord->open(QIODevice::ReadWrite));
  }
  left.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime);
  left.close();
  fresh.close();
  std::vector<std::string> shown =
      MessageBoxesShownBy([&] { OfferLeftCrashReports(paths, nullptr); }, 1);
  qunsetenv("ORVELLA_HOME");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].starts_with("Orvella: Orvella was closed by an unhandled exception on "))
      << shown[0];
  EXPECT_FALSE(left.exists());
  EXPECT_TRUE(fresh.exists());  // its helper may be reading it
}

}  // namespace
}  // namespace orv::test
