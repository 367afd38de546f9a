// What greets a start: the splash window and the tip of the day.

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBrowser>

#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "shell/tips_file.h"
#include "support/local_web_server.h"
#include "ui/dialogs/html_dialog.h"
#include "ui/dialogs/splash_window.h"
#include "ui/dialogs/tip_dialog.h"
#include "ui/update_check.h"

namespace orv::test {
namespace {

using StartUpTest = MainWindowTest;

TEST_F(StartUpTest, TipOfTheDayGoesOnAndRemembersTheStartUpChoice) {
  const std::string sTips = m_dir.File("tips.txt");
  WriteWholeFile(sTips, "First tip\nSecond tip\n");
  {
    CTipDlg dialog(*m_pSettings, QString::fromStdString(sTips));
    EXPECT_EQ(dialog.TipLabel().text(), "First tip");
    dialog.NextButton().click();
    EXPECT_EQ(dialog.TipLabel().text(), "Second tip");
    dialog.StartUpBox().setChecked(false);
    dialog.reject();
  }
  EXPECT_EQ(ReadSetting(*m_pSettings, kTipStartUp), 0);
  EXPECT_EQ(CTipDlg(*m_pSettings, QString::fromStdString(sTips)).TipLabel().text(), "First tip");
  CTipDlg missing(*m_pSettings, QString::fromStdString(m_dir.File("none.txt")));
  EXPECT_EQ(missing.TipLabel().text().toStdString(), kTipsFileMissing);
  EXPECT_FALSE(missing.NextButton().isEnabled());
}

TEST_F(StartUpTest, TheSplashWindowGoesOnEscapeAtAQuestionOrAfterTwoSeconds) {
  enum class EHow { Escape, Question, Time };
  for (EHow eHow : {EHow::Escape, EHow::Question, EHow::Time}) {
    QPointer<CSplashWindow> pSplash = new CSplashWindow;
    int nClosed = 0;
    QObject::connect(pSplash, &CSplashWindow::Closed, [&nClosed] { ++nClosed; });
    pSplash->Start();
    EXPECT_TRUE(pSplash->findChild<QLabel*>("AboutText")->text().contains("Orvella"));
    // Escape counts wherever the focus is: here, in the main window.
    if (eHow == EHow::Escape) QTest::keyClick(&Window(), Qt::Key_Escape);
    // A passphrase asked at start-up is not hidden behind it.
    if (eHow == EHow::Question)
      MessageBoxesShownBy([this] { Window().Ui().AskChoice("Open?", {"Yes", "No"}); }, 1);
    EXPECT_EQ(nClosed, eHow == EHow::Time ? 0 : 1);
    QTRY_VERIFY_WITH_TIMEOUT(pSplash.isNull(), CSplashWindow::kShownMs + 1000);
    EXPECT_EQ(nClosed, 1);
  }
}

TEST_F(StartUpTest, WithoutAnUpdateAddressTheCheckSaysSoAndTheSitesPagesAreHidden) {
  EXPECT_EQ(MessageBoxesShownBy([this] { Trigger("Help - Check for Updates"); }, 1),
            (std::vector<std::string>{
                "Information: No update address is configured: this copy of Orvella does not "
                "know where to ask for a newer version."}));
  for (const char* pPage : {"Help - Support", "Help - Web Site", "Help - FAQ", "Help - Forum"})
    EXPECT_EQ(Window().Command(pPage), nullptr) << pPage;
  WriteSetting(*m_pSettings, kWebAddress, "https://orvella.example/");
  OpenWindow();
  EXPECT_NE(Window().Command("Help - Support"), nullptr);
}

TEST_F(StartUpTest, TheSitesAnswerShowsUnlessItIsNoAndAnUnaskedFailureOnlyInTheStatusBar) {
  CLocalWebServer server;
  WriteSetting(*m_pSettings, kWebAddress, server.Url(""));
  WriteWholeFile(server.File("answer.html"), "No");
  EXPECT_EQ(MessageBoxesShownBy([this] { Trigger("Help - Check for Updates"); }, 1),
            (std::vector<std::string>{"Information: This is the newest version of Orvella."}));

  WriteWholeFile(server.File("answer.html"), "no <img src='https://tracker.example/p.png'>");
  CDialogDriver driver;
  driver.OnNext<CHtmlDlg>([](CHtmlDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "New version of Orvella is available");
    EXPECT_EQ(dialog.Browser().toPlainText().trimmed().left(2), "no");
    dialog.reject();
  });
  ASSERT_TRUE(CheckForUpdates(Window(), *m_pSettings, false));
  EXPECT_TRUE(QTest::qWaitFor([&] { return driver.Pending() == 0; }, 5000));

  // No site there: unasked, nothing opens.
  WriteSetting(*m_pSettings, kWebAddress, server.Url("/gone"));
  ASSERT_TRUE(CheckForUpdates(Window(), *m_pSettings, false));
  const QString sError = QString::fromStdString(
      "Error 404 on " + server.Url("/gone/check-for-updates.php?current-version="));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return Window().statusBar()->currentMessage().startsWith(sError); }, 5000));
}

}  // namespace
}  // namespace orv::test
