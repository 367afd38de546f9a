// The main window's side of shared folders: the open one is written back
// after every command and on every refresh, and read again once the command
// is over when it is new here or another program changed its directory.
// Reading replaces the folder's notes, so it never runs inside a command,
// which may hold on to them.

#include "exchange/shared_folder.h"
#include "ui/editors/editor_pane.h"
#include "ui/window/main_window.h"
#include "ui/window/shared_folder_watch.h"

namespace orv {

namespace {

CXMLTree* SharedCurrent(COrvellaDoc& doc) {
  CXMLTree* pFolder = doc.Folders().Current();
  return pFolder && pFolder->IsShared() ? pFolder : nullptr;
}

}  // namespace

void CMainWindow::StoreSharedFolder() {
  CXMLTree* pFolder = SharedCurrent(m_doc);
  if (!pFolder) return;
  try {
    m_pShares->Store(*pFolder, m_ui);
    m_sShareError.clear();
  } catch (const std::exception& e) {
    TellShareError(e);
  }
}

void CMainWindow::TellShareError(const std::exception& error) {
  // While a directory stays out of reach, every command would fail the same way.
  if (m_sShareError == error.what()) return;
  m_sShareError = error.what();
  m_ui.ShowMessage("Warning", error.what(), EMessageIcon::Warning);
}

void CMainWindow::CheckSharedFolderSoon() {
  const CXMLTree* pFolder = SharedCurrent(m_doc);
  if (!pFolder) {
    m_pShareWatch->Stop();
    m_pWatchedShare = nullptr;
    return;
  }
  // While it stays on show, the watch tells of changes: reading every file
  // at each refresh would slow a big folder down.
  if (m_bShareCheckQueued || (pFolder == m_pWatchedShare && m_pShares->IsLoaded(*pFolder))) return;
  m_bShareCheckQueued = true;
  QMetaObject::invokeMethod(this, &CMainWindow::OnSharedFolderChanged, Qt::QueuedConnection);
}

void CMainWindow::ForgetSharedFolders() {
  m_pShares->Clear();
  m_pShareWatch->Stop();
  m_pWatchedShare = nullptr;
}

void CMainWindow::OnSharedFolderChanged() {
  m_bShareCheckQueued = false;
  CXMLTree* pFolder = SharedCurrent(m_doc);
  if (!pFolder || m_tree.IsRefreshing()) return;
  bool bReload = !m_pShares->IsLoaded(*pFolder);
  Guarded([&] { bReload = bReload || m_pShares->ChangedOnDisk(*pFolder); });
  if (bReload) {
    m_tree.StoreEditorContent();
    // Any question is asked while the notes on show still exist; the load
    // then replaces them, so the editor lets go of its note first.
    StoreSharedFolder();
    m_pEditors->Forget();
    try {
      m_pShares->Refresh(*pFolder, m_ui);
      m_sShareError.clear();
    } catch (const std::exception& e) {
      TellShareError(e);
    }
    Guarded([&] { m_tree.RefreshTree(true); });
  }
  // Files renamed into place are new files: watched afresh.
  m_pShareWatch->Watch(m_pShares->Directories(*pFolder));
  m_pWatchedShare = pFolder;
}

bool CMainWindow::NewSharedFolder() { return m_pShares->Create(m_tree); }

}  // namespace orv
