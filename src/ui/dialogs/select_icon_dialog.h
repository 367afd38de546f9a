#pragma once
// The icon picker of notes and folders: every icon of the set in a grid,
// opened on the current one.

#include <QDialog>

class QListWidget;

namespace orv {

class CSelectIconDialog : public QDialog {
  Q_OBJECT

 public:
  CSelectIconDialog(int nCurrent, QWidget* pParent = nullptr);

  // The highlighted icon; the default note icon when nothing is highlighted.
  int SelectedIcon() const;
  void SelectIcon(int nIndex);

 private:
  QListWidget* m_pList;
};

}  // namespace orv
