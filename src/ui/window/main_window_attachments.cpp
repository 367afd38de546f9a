// The main window's side of attachments: the selected note's dialog, and
// files dropped on a note from a file manager.

#include <QFileInfo>

#include "attachments/attachment_commands.h"
#include "ui/app_paths.h"
#include "ui/dialogs/organize_attachments_dialog.h"
#include "ui/window/main_window.h"
#include "ui/window/note_tree_view.h"

namespace orv {

void CMainWindow::OrganizeAttachments() {
  XMLelement* pNote = m_tree.SelectedNote();
  if (!pNote) return;
  CAttachmentStore store(m_paths.AttachmentsFile().toStdString());
  COrganizeAttachmentsDlg dialog(m_tree, *pNote, store, m_paths.AttDir(), this);
  dialog.exec();
  m_pTreeView->viewport()->update();  // the paper clip comes or goes
}

void CMainWindow::AttachDropped(XMLelement* pNote, const QStringList& paths) {
  Guarded([&] {
    // A folder gives the files directly in it, as "Add folder" does.
    QStringList files;
    for (const QString& sPath : paths) {
      if (!QFileInfo(sPath).isDir()) {
        files << sPath;
        continue;
      }
      for (const std::string& sFile : FilesOfFolder(CFileSystem::Default(), sPath.toStdString()))
        files << QString::fromStdString(sFile);
    }
    CAttachmentStore store(m_paths.AttachmentsFile().toStdString());
    if (files.isEmpty() || !AttachFiles(this, m_tree, *pNote, store, files)) return;
    m_pTreeView->viewport()->update();
    Log(tr("Attached %n file(s) to \"%1\"", nullptr, static_cast<int>(files.size()))
            .arg(QString::fromStdString(GetProperty(*pNote, "name"))));
  });
}

}  // namespace orv
