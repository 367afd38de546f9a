#include "ui/update_check.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "shell/web_address.h"

namespace orv {

bool CheckForUpdates(QWidget& parent, CSettingsStore& settings, bool bAsked) {
  const std::string sAddress = WebAddress(settings);
  if (sAddress.empty()) {
    if (bAsked) {
      QMessageBox box(QMessageBox::Information, QObject::tr("Information"),
                      QObject::tr("No update address is configured: this copy of Orvella does "
                                  "not know where to ask for a newer version."),
                      QMessageBox::Ok, &parent);
      box.setTextFormat(Qt::PlainText);
      box.exec();
    }
    return false;
  }
  // The site's answer is a page for a person to read; the browser shows it.
  // Unasked, the program opens no browser window of its own accord.
  if (!bAsked) return false;
  const std::string sUrl =
      UpdateCheckUrl(sAddress, QApplication::applicationVersion().toStdString());
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(sUrl)));
}

}  // namespace orv
