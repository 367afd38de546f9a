#include "ui/orvella_app.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

#include "app/start_document.h"
#include "attachments/archive_mail.h"
#include "ports/settings_defaults.h"
#include "ui/app_paths.h"
#include "ui/dialogs/note_icons.h"
#include "ui/qt_settings_store.h"
#include "ui/single_instance.h"
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

}  // namespace

QString CommandLineDocument(const QStringList& arguments) {
  if (arguments.size() < 2 || arguments[1].isEmpty()) return {};
  // Remembered and compared later, from wherever the next copy is started.
  return QFileInfo(arguments[1]).absoluteFilePath();
}

COrvellaApp::COrvellaApp(int& argc, char** argv) : m_app(argc, argv) {
  QApplication::setOrganizationName("Orvella");
  QApplication::setApplicationName("Orvella");
  QApplication::setApplicationVersion(ORVELLA_VERSION);
  QApplication::setDesktopFileName("orvella");
  QApplication::setWindowIcon(AppIcon());
}

int COrvellaApp::Run() {
  CAppPaths paths;
  paths.CreateFolders();
  // A day is long enough for any mail client to have sent what it was handed.
  RemoveOldMail(paths.MailDir().toStdString());
  CQtSettingsStore settings;
  if (ReadSetting(settings, kInstalled).empty())
    WriteSetting(settings, kInstalled,
                 QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString());

  const bool bOneInstance = ReadSetting(settings, kAllowOneInstance) != 0;
  CInstanceChecker instance;
  if (bOneInstance && instance.ActivateRunning()) {
    QMessageBox::information(nullptr, "Orvella", CInstanceChecker::kPreviousVersionMessage);
    return 0;
  }

  CMainWindow window(settings, paths);
  QObject::connect(
      &window, &CMainWindow::QuitRequested, &m_app, [] { QApplication::exit(1); },
      Qt::QueuedConnection);
  if (!OpenFirstDocument(window, settings, paths, CommandLineDocument(QApplication::arguments())))
    return 1;
  window.ShowAsRemembered();
  if (bOneInstance)
    instance.Publish([&window] { window.Activate(); },
                     [&window](const QString& sPath) { return window.IsOpen(sPath); });

  int nStatus = QApplication::exec();
  // Written back at exit even when unchanged, so the file shows every value.
  WriteSetting(settings, kNumBackCopies, ReadSetting(settings, kNumBackCopies));
  WriteSetting(settings, kShowTreeHinths, ReadSetting(settings, kShowTreeHinths));
  WriteSetting(settings, kEnableLog, ReadSetting(settings, kEnableLog));
  settings.Sync();
  paths.EmptyTemp();
  return window.HasQuit() ? 1 : nStatus;
}

}  // namespace orv
