#pragma once
// The document's Properties dialog: where its file is, how big it is, what
// it holds, and the box that protects it with a passphrase. The box's logic
// is CFileProperties; OK hands the outcome to the document.

#include <QDialog>

#include "tree/file_properties.h"

class QCheckBox;

namespace orv {

class CFilePropertiesDlg : public QDialog {
  Q_OBJECT

 public:
  // The passphrase prompts go through `ui`.
  CFilePropertiesDlg(COrvellaDoc& doc, CUiPort& ui, QWidget* pParent = nullptr);

  QCheckBox& ProtectBox() const { return *m_pProtect; }

  void accept() override;

 private:
  void OnProtectClicked();

  COrvellaDoc& m_doc;
  CFileProperties m_properties;
  QCheckBox* m_pProtect;
};

}  // namespace orv
