#include "ui/server_backup_command.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QStatusBar>

#include "ui/backup_password.h"
#include "ui/dialogs/backup_settings_dialog.h"
#include "ui/dialogs/qt_ui.h"
#include "ui/web_transfer.h"
#include "ui/window/main_window.h"

namespace orv {

namespace {

// The kept password, else the one the user types now; none when cancelled.
std::optional<std::string> BackupPassword(QWidget& parent, const SBackupAccount& account) {
  if (std::optional<std::string> password = LoadBackupPassword(account)) return password;
  bool bOk = false;
  const QString sPassword = QInputDialog::getText(
      &parent, QObject::tr("Backup to Server"),
      QObject::tr("Password of %1 at %2:")
          .arg(QString::fromStdString(account.sLogin), QString::fromStdString(account.sAddress)),
      QLineEdit::Password, {}, &bOk);
  if (!bOk) return std::nullopt;
  return sPassword.toStdString();
}

}  // namespace

void BackupToServer(CMainWindow& window) {
  SBackupAccount account = ReadBackupAccount(window.Settings());
  if (account.sAddress.empty()) {
    CBackupSettingsDialog(window.Settings(), &window).exec();
    account = ReadBackupAccount(window.Settings());
    if (account.sAddress.empty()) return;
  }
  if (window.Doc().PathName().empty()) {
    QMessageBox::warning(&window, QObject::tr("Warning"), "Now document not saved to disk.");
    return;
  }
  // What goes to the server is the file as it stands after this save.
  if (!window.SaveDocument()) return;
  std::optional<std::string> password = BackupPassword(window, account);
  if (!password) return;
  account.sPassword = *password;
  const std::string sPath = window.Doc().PathName();
  RunWebTransfer(
      window,
      [account, sPath](const FHttpStatus& status) {
        UploadBackup(*MakeHttpClient(), account, sPath, status);
        return std::string();
      },
      [&window](const std::string&, const QString& sFailure) {
        if (sFailure.isEmpty())
          window.statusBar()->showMessage(QObject::tr("The document is backed up on the server."),
                                          10000);
        else
          ShowMessageAsWritten(&window, "Error", sFailure.toStdString(), EMessageIcon::Error);
      });
}

}  // namespace orv
