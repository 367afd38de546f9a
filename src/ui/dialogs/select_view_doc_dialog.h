#pragma once
// The note-type dialog of new notes: "Text", "HTML" or "RTF", and a box that
// makes the choice the default so later notes are made without asking.

#include <QDialog>

#include "ports/ui_port.h"

class QCheckBox;
class QListWidget;

namespace orv {

class CSelectViewDocDlg : public QDialog {
  Q_OBJECT

 public:
  // A type the dialog does not offer preselects "RTF", the default type.
  CSelectViewDocDlg(int32_t nCurrent, QWidget* pParent = nullptr);

  SNoteTypeAnswer Answer() const;
  void SelectType(int32_t nType);
  void SetMakeDefault(bool bMakeDefault);

 private:
  QListWidget* m_pTypes;
  QCheckBox* m_pMakeDefault;
};

}  // namespace orv
