#pragma once
// The selected note's attachments: a grid of names and times added, with
// buttons to add files or a folder's files, delete, reorder, save a copy
// and open it with the desktop's program for its type.

#include <QDialog>
#include <QStringList>
#include <vector>

#include "attachments/attachment_list.h"
#include "attachments/attachment_store.h"
#include "tree/note_tree.h"

class QLabel;
class QTableWidget;

namespace orv {

// Attaches the files to the note with a progress bar for long copies; a
// failure is shown in a box titled "Warning". True when they were added.
bool AttachFiles(QWidget* pParent, CNoteTree& tree, XMLelement& note, CAttachmentStore& store,
                 const QStringList& files);

class COrganizeAttachmentsDlg : public QDialog {
  Q_OBJECT

 public:
  // sAttDir: the scratch folder copies are saved in and opened from.
  COrganizeAttachmentsDlg(CNoteTree& tree, XMLelement& note, CAttachmentStore& store,
                          QString sAttDir, QWidget* pParent = nullptr);
  ~COrganizeAttachmentsDlg() override;

  QTableWidget& Grid() { return *m_pGrid; }
  // What the last save or open did, as the dialog's status line says it.
  QString Status() const;
  void AddFile();
  void AddFolder();
  void DeleteSelected();
  void DeleteAll();
  void Move(int nBy);
  void SaveToDisk();
  void SaveAs();
  void OpenFromDisk();

 private:
  void Fill(int nSelect);
  int SelectedRow() const;
  // Saves the selected attachment into "Att"; its path, empty on failure.
  QString SaveSelected();
  // Runs a store operation with a progress bar, showing its failure; false
  // when it failed or was cancelled.
  bool Report(const std::function<void(const TCopyProgress&)>& run);

  CNoteTree& m_tree;
  XMLelement& m_note;
  CAttachmentStore& m_store;
  QString m_sAttDir;
  std::vector<CAttachment> m_list;
  QTableWidget* m_pGrid;
  QLabel* m_pStatus;
};

}  // namespace orv
