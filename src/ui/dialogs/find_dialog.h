#pragma once
// What the two find dialogs share: the text with its history, "Match case"
// and "Match whole word", the grid of hits filled while the search runs on
// a thread of its own, the Find (Stop while running), Pass and Close
// buttons, and what the dialog remembers when it closes.

#include <QDialog>

#include "search/find_dialog_state.h"
#include "search/find_history.h"
#include "tree/note_tree.h"
#include "ui/dialogs/find_runner.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace orv {

class CEditorPane;
class CFindResultsModel;

class CFindDialog : public QDialog {
  Q_OBJECT

 public:
  ~CFindDialog() override;

  // Stops the search, then remembers the history and the boxes.
  void done(int nResult) override;

 protected:
  CFindDialog(EFindDialog eDialog, CNoteTree& tree, CSettingsStore& settings, CEditorPane& editors,
              QWidget* pParent);

  // Where the dialog's own choices go, between the boxes and the grid.
  QVBoxLayout& ChoicesLayout() { return *m_pChoices; }
  // The remembered state as loaded, and as the dialog's widgets now have it.
  const SFindDialogState& LoadedState() const { return m_loaded; }
  virtual SFindDialogState CurrentState() const;
  // What the search walks; built on this thread, run on the search's.
  virtual CFindRunner::CWork Work() = 0;
  virtual EFindScope Scope() const { return EFindScope::Everywhere; }
  CNoteTree& Tree() { return m_tree; }

 private:
  void Find();
  void Stop();
  void Pass();
  void TakeHits();
  void ShowFinished(bool bCompleted);
  // The drop-down after a search or on opening, with sText in the edit.
  void FillHistory(const QString& sText);
  // Selects the first hit in the text the editor shows now.
  void SelectHitInEditor(const SFindRequest& request);

  const EFindDialog m_eDialog;
  CNoteTree& m_tree;
  CSettingsStore& m_settings;
  CEditorPane& m_editors;
  SFindDialogState m_loaded;
  CFindHistory m_history;
  SFindRequest m_lastRequest;
  CFindRunner m_runner;
  CFindResultsModel* m_pResults;
  QComboBox* m_pText;
  QCheckBox* m_pMatchCase;
  QCheckBox* m_pWholeWord;
  QVBoxLayout* m_pChoices;
  QTableView* m_pGrid;
  QLabel* m_pStatus;
  QPushButton* m_pFind;
  QPushButton* m_pPass;
};

}  // namespace orv
