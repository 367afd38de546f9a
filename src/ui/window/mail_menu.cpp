// The zip-and-mail items of the File, Folders and Notes menus: the core
// packs and hands the mail to the mail client; the window saves the document
// first and opens the archive's folder when the user asks.

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProgressDialog>
#include <QUrl>
#include <memory>

#include "attachments/archive_mail.h"
#include "ui/app_paths.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"

namespace orv {

void CMenuBuilder::AddMail(QMenu* pMenu, const char* pName, const QString& sText, EMailCommand e) {
  Add(
      pMenu, pName, sText,
      [this, e] {
        CXdgEmailMsg mail;
        const SMailFolders folders{m_window.m_paths.TempDir().toStdString(),
                                   m_window.m_paths.MailDir().toStdString()};
        // Shown only when writing the archive takes a while (a big document).
        std::unique_ptr<QProgressDialog> pProgress;
        const auto progress = [&](double dDone) {
          if (!pProgress) {
            pProgress = std::make_unique<QProgressDialog>(QObject::tr("Writing the archive"),
                                                          QString(), 0, 100, &m_window);
            pProgress->setWindowTitle("Orvella");
            pProgress->setWindowModality(Qt::WindowModal);
            pProgress->setMinimumDuration(500);
          }
          pProgress->setValue(static_cast<int>(dDone * 100));
          QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
        const std::optional<SMailResult> result = RunMailCommand(
            m_tree, e, folders, mail, [this] { return m_window.SaveDocument(); }, progress);
        pProgress.reset();
        if (result && result->bOpenFolder)
          QDesktopServices::openUrl(
              QUrl::fromLocalFile(QFileInfo(QString::fromStdString(result->sFile)).absolutePath()));
      },
      [this, e] { return IsEnabled(m_tree, e); });
}

}  // namespace orv
