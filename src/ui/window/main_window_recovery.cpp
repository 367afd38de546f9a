// The main window's recovery copy of unsaved changes, and the offer of one
// that a crashed copy of the program left.

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <algorithm>

#include "ui/app_paths.h"
#include "ui/editors/editor_pane.h"
#include "ui/window/main_window.h"

namespace orv {

namespace {

enum ERecoveryAnswer { kRestore, kDiscard, kLater };

// "14:32" today, with the date on another day; seconds say nothing here.
QString SavedWhen(int64_t nSavedNs) {
  const QDateTime saved = QDateTime::fromMSecsSinceEpoch(nSavedNs / 1000000);
  const QLocale locale;
  QString sTime =
      locale.toString(saved.time(), locale.timeFormat(QLocale::ShortFormat).remove(":ss"));
  if (saved.date() == QDate::currentDate()) return sTime;
  return locale.toString(saved.date(), QLocale::ShortFormat) + " " + sTime;
}

}  // namespace

void CMainWindow::KeepRecoveryCopySoon() { m_pRecoveryTimer->start(); }

bool CMainWindow::WriteRecoveryCopy() {
  // A command waiting on a question may be half done: its document is not
  // one to copy yet.
  if (QApplication::activeModalWidget()) {
    KeepRecoveryCopySoon();
    return false;
  }
  m_pRecoveryTimer->stop();
  StoreEditorContent();
  if (!m_doc.IsModified()) {
    m_recovery.Discard();
    return true;
  }
  try {
    QElapsedTimer clock;
    clock.start();
    m_recovery.Write(m_doc);
    // A large document takes a while to copy: most of the user's pauses stay theirs.
    m_pRecoveryTimer->setInterval(std::max<int>(kRecoveryPause, 10 * clock.elapsed()));
    return true;
  } catch (const std::exception& e) {
    Log(tr("Unsaved changes not copied for recovery: %1").arg(QString::fromUtf8(e.what())));
    return false;
  }
}

void CMainWindow::OfferRecoveredWork() {
  CFileSystem& fs = CFileSystem::Default();
  for (const SOrphanedCopy& copy : FindOrphanedCopies(fs, m_paths.RecoveryDir().toStdString())) {
    const QString sName = copy.sDocument.empty()
                              ? tr("Untitled")
                              : QFileInfo(QString::fromStdString(copy.sDocument)).fileName();
    const QString sQuestion =
        tr("Restore the unsaved changes of %1 from %2?").arg(sName, SavedWhen(copy.nSavedNs));
    const std::optional<int> answer = m_ui.AskChoice(
        sQuestion.toStdString(),
        {tr("&Yes").toStdString(), tr("&No").toStdString(), tr("&Later").toStdString()});
    if (answer == kDiscard) RemoveOrphanedCopy(fs, copy);
    if (answer != kRestore) continue;
    // One document a window: what else is left waits for the next start.
    if (RestoreRecovered(copy)) RemoveOrphanedCopy(fs, copy);
    return;
  }
}

bool CMainWindow::RestoreRecovered(const SOrphanedCopy& copy) {
  if (!SaveModified()) return false;
  m_pEditors->Forget();
  ForgetSharedFolders();
  bool bRestored = false;
  Guarded([&] {
    try {
      RestoreOrphanedCopy(m_doc, copy);
      bRestored = true;
    } catch (...) {
      RefreshTree();
      throw;
    }
  });
  if (!bRestored) return false;
  AfterDocumentChanged();
  // Our own copy first: only then may the one restored go.
  return WriteRecoveryCopy();
}

}  // namespace orv
