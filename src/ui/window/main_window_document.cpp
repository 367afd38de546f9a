// The File menu's document commands of the main window.

#include <QFileInfo>
#include <QMessageBox>

#include "tree/document_commands.h"
#include "ui/dialogs/file_properties_dialog.h"
#include "ui/editors/editor_pane.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"

namespace orv {

namespace {

SFileDialog DocumentDialog(bool bSave, const std::string& sStart) {
  return {bSave, "Orvella Files", "*.orv", "orv", sStart};
}

}  // namespace

bool CMainWindow::SaveModified() {
  StoreEditorContent();
  if (!m_doc.IsModified()) return true;
  QString sName = m_doc.PathName().empty()
                      ? tr("Untitled")
                      : QFileInfo(QString::fromStdString(m_doc.PathName())).fileName();
  QMessageBox box(QMessageBox::Question, "Orvella", tr("Save changes to %1?").arg(sName),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  box.setTextFormat(Qt::PlainText);  // a file's name, whatever it holds
  const int eAnswer = box.exec();
  if (eAnswer == QMessageBox::Cancel) return false;
  return eAnswer == QMessageBox::No || SaveDocument();
}

bool CMainWindow::NewDocument() {
  if (!SaveModified()) return false;
  m_pEditors->Forget();
  ForgetSharedFolders();
  m_doc.OnNewDocument();
  AfterDocumentChanged();
  return true;
}

bool CMainWindow::OpenDocument(const QString& sPath) {
  m_bOpenCancelled = false;
  if (!SaveModified()) return false;
  bool bOpened = false;
  // The editor lets go of its note first: on success its document is gone,
  // on failure it is shown again as it was.
  m_pEditors->Forget();
  ForgetSharedFolders();
  Guarded([&] {
    try {
      m_doc.OnOpenDocument(sPath.toStdString());
      bOpened = true;
    } catch (const CPassphraseError& e) {
      // Nothing is wrong with the file itself: it stays in the recent list.
      m_bOpenCancelled = !e.IsFatal();
      RefreshTree();
      throw;
    } catch (...) {
      m_recent.Remove(sPath.toStdString());
      m_pMenus->RebuildRecentMenu();
      RefreshTree();
      throw;
    }
  });
  if (bOpened) AfterDocumentChanged();
  return bOpened;
}

bool CMainWindow::SaveDocument() {
  // The guide of a read-only install is saved where the user says.
  const bool bReadOnlyGuide = m_eRole == EWindowRole::Guide &&
                              !QFileInfo(QString::fromStdString(m_doc.PathName())).isWritable();
  if (m_doc.PathName().empty() || bReadOnlyGuide) return SaveDocumentAs();
  StoreEditorContent();
  // Another program's save is not written over unasked.
  switch (AskBeforeSavingOverChange(m_doc, m_ui)) {
    case ESaveOverChange::Save:
      break;
    case ESaveOverChange::Cancel:
      return false;
    case ESaveOverChange::Reload:
      // The user chose to drop the changes made here; a failed reload keeps them.
      m_doc.ClearModified();
      if (!OpenDocument(QString::fromStdString(m_doc.PathName()))) m_doc.MarkModified();
      return false;
  }
  bool bSaved = false;
  Guarded([&] {
    m_doc.OnSaveDocument(m_doc.PathName());
    bSaved = true;
  });
  UpdateTitle();
  return bSaved;
}

bool CMainWindow::SaveDocumentAs() {
  std::optional<std::string> path = m_ui.ChooseFile(DocumentDialog(true, m_doc.PathName()));
  if (!path) return false;
  bool bSaved = false;
  Guarded([&] {
    StoreEditorContent();
    m_doc.OnSaveDocument(*path);
    bSaved = true;
  });
  if (bSaved) {
    m_recent.Add(m_doc.PathName());
    m_pMenus->RebuildRecentMenu();
  }
  UpdateTitle();
  return bSaved;
}

void CMainWindow::CloseDocument() {
  // A single-document window always shows a document: closing one leaves a new one.
  NewDocument();
}

void CMainWindow::ShowProperties() {
  StoreEditorContent();
  CFilePropertiesDlg dialog(m_doc, m_ui, this);
  dialog.exec();
  UpdateTitle();
}

void CMainWindow::AfterDocumentChanged() {
  if (!m_doc.PathName().empty() && m_eRole == EWindowRole::Main) {
    m_recent.Add(m_doc.PathName());
    m_pMenus->RebuildRecentMenu();
  }
  RebuildTabs();
  m_tree.RefreshTree(false);
}

}  // namespace orv
