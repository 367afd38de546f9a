#include "ui/update_check.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

#include "shell/new_version.h"
#include "shell/web_address.h"
#include "ui/dialogs/html_dialog.h"
#include "ui/dialogs/qt_ui.h"
#include "ui/web_transfer.h"

namespace orv {

bool UpdateCheckBuilt() { return ORVELLA_UPDATE_CHECK; }

bool CheckForUpdates(QMainWindow& window, CSettingsStore& settings, bool bAsked) {
  if (!UpdateCheckBuilt()) return false;
  const std::string sAddress = WebAddress(settings);
  if (sAddress.empty()) {
    if (bAsked)
      ShowMessageAsWritten(&window, "Information",
                           QObject::tr("No update address is configured: this copy of Orvella "
                                       "does not know where to ask for a newer version.")
                               .toStdString(),
                           EMessageIcon::Information);
    return false;
  }
  const std::string sVersion = QApplication::applicationVersion().toStdString();
  RunWebTransfer(
      window,
      [sAddress, sVersion](const FHttpStatus& status) {
        return NewVersionPage(*MakeHttpClient(), sAddress, sVersion, status).value_or("");
      },
      [&window, bAsked](const std::string& sPage, const QString& sFailure) {
        if (!sFailure.isEmpty()) {
          if (bAsked)
            ShowMessageAsWritten(&window, "Error", sFailure.toStdString(), EMessageIcon::Error);
          else
            window.statusBar()->showMessage(sFailure.section('\n', 0, 0), 10000);
        } else if (!sPage.empty()) {
          CHtmlDlg(kNewVersionTitle, QString::fromStdString(sPage), &window).exec();
        } else if (bAsked) {
          ShowMessageAsWritten(&window, "Information",
                               QObject::tr("This is the newest version of Orvella.").toStdString(),
                               EMessageIcon::Information);
        }
      });
  return true;
}

}  // namespace orv
