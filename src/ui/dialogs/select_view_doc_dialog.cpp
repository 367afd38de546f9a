#include "ui/dialogs/select_view_doc_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/content_node.h"

namespace orv {

CSelectViewDocDlg::CSelectViewDocDlg(int32_t nCurrent, QWidget* pParent)
    : QDialog(pParent),
      m_pTypes(new QListWidget(this)),
      m_pMakeDefault(new QCheckBox(tr("Use as default type"), this)) {
  setWindowTitle(tr("Note Type"));
  // The row is the type code.
  m_pTypes->addItems({"Text", "HTML", "RTF"});
  static_assert(kContentText == 0 && kContentHtml == 1 && kContentRtf == 2);
  connect(m_pTypes, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  pButtons->button(QDialogButtonBox::Ok)->setToolTip("Set selected document type");
  pButtons->button(QDialogButtonBox::Cancel)->setToolTip("Cancel and close this dialog");
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(m_pTypes);
  pLayout->addWidget(m_pMakeDefault);
  pLayout->addWidget(pButtons);
  SelectType(nCurrent);
}

SNoteTypeAnswer CSelectViewDocDlg::Answer() const {
  const int nRow = m_pTypes->currentRow();
  return {nRow < 0 ? kContentRtf : nRow, m_pMakeDefault->isChecked()};
}

void CSelectViewDocDlg::SelectType(int32_t nType) {
  m_pTypes->setCurrentRow(nType >= 0 && nType < m_pTypes->count() ? nType : kContentRtf);
}

void CSelectViewDocDlg::SetMakeDefault(bool bMakeDefault) {
  m_pMakeDefault->setChecked(bMakeDefault);
}

}  // namespace orv
