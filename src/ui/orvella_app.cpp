#include "ui/orvella_app.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <cstdio>

#include "app/start_document.h"
#include "attachments/archive_mail.h"
#include "ports/settings_defaults.h"
#include "shell/command_line.h"
#include "shell/update_schedule.h"
#include "ui/app_paths.h"
#include "ui/dialogs/note_icons.h"
#include "ui/dialogs/splash_window.h"
#include "ui/dialogs/tip_dialog.h"
#include "ui/print/print_commands.h"
#include "ui/qt_settings_store.h"
#include "ui/single_instance.h"
#include "ui/update_check.h"
#include "ui/window/main_window.h"

namespace orv {

namespace {

// Opens the first document that opens, in the order start-up prefers; false
// when a document named on the command line could not be opened or a wrong
// passphrase ended the program.
bool OpenFirstDocument(CMainWindow& window, CSettingsStore& settings, const CAppPaths& paths,
                       const QString& sCommandLinePath) {
  for (const SStartDocument& choice : StartDocumentChoices(sCommandLinePath.toStdString(), settings,
                                                           paths.AboutDocument().toStdString())) {
    if (choice.eSource == EStartSource::New) return window.NewDocument();
    if (window.OpenDocument(QString::fromStdString(choice.sPath))) return true;
    if (window.HasQuit()) return false;
    // Declining the passphrase declines that document only: start on a new one.
    if (window.OpenWasCancelled()) return window.NewDocument();
    if (choice.eSource == EStartSource::CommandLine) return false;
  }
  return false;
}

SCommandLine ReadCommandLine(const QStringList& arguments) {
  std::vector<std::string> rest;
  for (qsizetype i = 1; i < arguments.size(); ++i) rest.push_back(arguments[i].toStdString());
  return ParseCommandLine(rest);
}

// The tip of the day once the splash window has gone (at once when it has
// already), when the user wants tips at start-up and the window shows.
void ShowTipAfter(CSplashWindow* pSplash, CMainWindow& window, CSettingsStore& settings,
                  const CAppPaths& paths) {
  const auto showTip = [&window, &settings, &paths] {
    if (ReadSetting(settings, kTipStartUp) && window.isVisible())
      CTipDlg(settings, paths.TipsFile(), &window).Run();
  };
  if (pSplash && pSplash->isVisible())
    QObject::connect(pSplash, &CSplashWindow::Closed, &window, showTip, Qt::QueuedConnection);
  else
    QTimer::singleShot(0, &window, showTip);
}

}  // namespace

QString CommandLineDocument(const QString& sFile) {
  if (sFile.isEmpty()) return {};
  // Remembered and compared later, from wherever the next copy is started.
  return QFileInfo(sFile).absoluteFilePath();
}

COrvellaApp::COrvellaApp(int& argc, char** argv) {
  std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
  const SCommandLine line = ParseCommandLine(arguments);
  if (line.eAction == SCommandLine::EAction::Help) {
    std::fputs(UsageText().c_str(), stdout);
    m_nAnswered = 0;
    return;
  }
  if (line.eAction == SCommandLine::EAction::Version) {
    std::fputs(VersionText(ORVELLA_VERSION).c_str(), stdout);
    m_nAnswered = 0;
    return;
  }
  m_app.emplace(argc, argv);
  QApplication::setOrganizationName("Orvella");
  QApplication::setApplicationName("Orvella");
  QApplication::setApplicationVersion(ORVELLA_VERSION);
  QApplication::setDesktopFileName("orvella");
  QApplication::setWindowIcon(AppIcon());
}

int COrvellaApp::Run() {
  if (m_nAnswered) return *m_nAnswered;
  // Read again without Qt's own options.
  const SCommandLine line = ReadCommandLine(QApplication::arguments());
  if (line.eAction == SCommandLine::EAction::Wrong) {
    std::fprintf(stderr, "orvella: %s\nTry 'orvella --help'.\n", line.sError.c_str());
    return 2;
  }
  const QString sDocument = CommandLineDocument(QString::fromStdString(line.sFile));
  CAppPaths paths;
  paths.CreateFolders();
  // A day is long enough for any mail client to have sent what it was handed.
  RemoveOldMail(paths.MailDir().toStdString());
  CQtSettingsStore settings;
  if (line.eAction == SCommandLine::EAction::Print) return Print(settings, paths, sDocument);
  const bool bCheckForUpdates = UpdateCheckDue(settings);

  const bool bOneInstance = ReadSetting(settings, kAllowOneInstance) != 0;
  CInstanceChecker instance;
  if (bOneInstance && instance.ActivateRunning()) {
    QMessageBox::information(nullptr, "Orvella", CInstanceChecker::kPreviousVersionMessage);
    return 0;
  }

  QPointer<CSplashWindow> pSplash = new CSplashWindow;
  pSplash->Start();
  CMainWindow window(settings, paths);
  QObject::connect(
      &window, &CMainWindow::QuitRequested, &m_app.value(), [] { QApplication::exit(1); },
      Qt::QueuedConnection);
  if (!OpenFirstDocument(window, settings, paths, sDocument)) {
    delete pSplash.data();
    return 1;
  }
  window.ShowAsRemembered();
  // Shown after it, the window would hide the splash wherever no window
  // manager keeps the splash on top.
  if (pSplash) pSplash->raise();
  ShowTipAfter(pSplash, window, settings, paths);
  if (bOneInstance)
    instance.Publish([&window] { window.Activate(); },
                     [&window](const QString& sPath) { return window.IsOpen(sPath); });
  if (bCheckForUpdates && CheckForUpdates(window, settings, false)) MarkUpdateCheckRun(settings);

  int nStatus = QApplication::exec();
  // Written back at exit even when unchanged, so the file shows every value.
  WriteSetting(settings, kNumBackCopies, ReadSetting(settings, kNumBackCopies));
  WriteSetting(settings, kShowTreeHinths, ReadSetting(settings, kShowTreeHinths));
  WriteSetting(settings, kEnableLog, ReadSetting(settings, kEnableLog));
  settings.Sync();
  paths.EmptyTemp();
  return window.HasQuit() ? 1 : nStatus;
}

int COrvellaApp::Print(CSettingsStore& settings, const CAppPaths& paths, const QString& sPath) {
  // Said on the terminal the command came from, not in a box.
  if (!QFileInfo(sPath).isFile()) {
    std::fprintf(stderr, "orvella: no document %s\n", qPrintable(sPath));
    return 1;
  }
  // The guide's role: no tray icon, no hot key, and the recent files and the
  // window's place stay as the user left them.
  CMainWindow window(settings, paths, EWindowRole::Guide);
  if (!window.OpenDocument(sPath)) return 1;
  QPrinter printer(QPrinter::HighResolution);
  const QString sError = PrintSelectedNoteOn(window, printer);
  if (sError.isEmpty()) return 0;
  std::fprintf(stderr, "orvella: %s\n", qPrintable(sError));
  return 1;
}

}  // namespace orv
