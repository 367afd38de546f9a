#include "ui/dialogs/go_to_line_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/go_to_line.h"

namespace orv {

CGoToLineDialog::CGoToLineDialog(int nLineCount, const QString& sLastTyped, QWidget* pParent)
    : QDialog(pParent) {
  setObjectName("CDlgGoTo");
  setWindowTitle(tr("Go To Line"));
  auto* pLayout = new QVBoxLayout(this);
  auto* pLabel = new QLabel(QString::fromStdString(GoToLineLabel(nLineCount)), this);
  m_pInput = new QLineEdit(sLastTyped, this);
  m_pInput->selectAll();
  pLabel->setBuddy(m_pInput);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  pButtons->button(QDialogButtonBox::Ok)->setToolTip(tr("Go to line"));
  pButtons->button(QDialogButtonBox::Cancel)->setToolTip(tr("Close this dialog"));
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  pLayout->addWidget(pLabel);
  pLayout->addWidget(m_pInput);
  pLayout->addWidget(pButtons);
}

QString CGoToLineDialog::Typed() const { return m_pInput->text(); }

}  // namespace orv
