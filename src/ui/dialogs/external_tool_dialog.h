#pragma once
// The external tools: a grid of title, command, arguments and hot key, with
// buttons to add, delete, reorder and pick a command. Edits a copy of the
// list; the caller takes Tools() when the dialog closes.

#include <QDialog>
#include <vector>

#include "app/external_tools.h"

class QTableWidget;

namespace orv {

class CSettingsStore;
class CUiPort;

class CExternalToolDialog : public QDialog {
  Q_OBJECT

 public:
  CExternalToolDialog(std::vector<CExternalTool> tools, CUiPort& ui, CSettingsStore& settings,
                      QWidget* pParent = nullptr);
  ~CExternalToolDialog() override;

  const std::vector<CExternalTool>& Tools() const { return m_tools; }
  QTableWidget& Grid() { return *m_pGrid; }
  void AddItem();
  void DeleteItem();
  void DeleteAll();
  void Move(int nBy);
  void ChooseCommand();

 private:
  void Fill();
  void TakeEdit(int nRow, int nColumn);
  int SelectedRow() const;

  std::vector<CExternalTool> m_tools;
  CUiPort& m_ui;
  CSettingsStore& m_settings;
  QTableWidget* m_pGrid;
};

}  // namespace orv
