#include "ui/dialogs/tip_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ports/settings_defaults.h"

namespace orv {

CTipDlg::CTipDlg(CSettingsStore& settings, const QString& sTipsFile, QWidget* pParent)
    : QDialog(pParent), m_tips(settings, sTipsFile.toStdString()) {
  setObjectName("CTipDlg");
  setWindowTitle(tr("Tip of the Day"));
  auto* pLayout = new QVBoxLayout(this);
  auto* pRow = new QHBoxLayout;
  auto* pIcon = new QLabel(this);
  pIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
  pIcon->setAlignment(Qt::AlignTop);
  auto* pText = new QVBoxLayout;
  auto* pHeading = new QLabel(QString::fromUtf8(kTipHeading), this);
  QFont heading = pHeading->font();
  heading.setBold(true);
  heading.setPointSizeF(heading.pointSizeF() * 1.4);
  pHeading->setFont(heading);
  m_pTip = new QLabel(this);
  m_pTip->setObjectName("Tip");
  m_pTip->setWordWrap(true);
  m_pTip->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  m_pTip->setMinimumSize(360, 100);
  m_pTip->setTextInteractionFlags(Qt::TextSelectableByMouse);
  pText->addWidget(pHeading);
  pText->addWidget(m_pTip, 1);
  pRow->addWidget(pIcon);
  pRow->addLayout(pText, 1);
  m_pStartUp = new QCheckBox(tr("&Show tips at start-up"), this);
  m_pStartUp->setChecked(ReadSetting(settings, kTipStartUp) != 0);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  m_pNext = pButtons->addButton(tr("&Next Tip"), QDialogButtonBox::ActionRole);
  connect(m_pNext, &QPushButton::clicked, this, [this] {
    m_tips.Next();
    ShowTip();
  });
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  pLayout->addLayout(pRow, 1);
  pLayout->addWidget(m_pStartUp);
  pLayout->addWidget(pButtons);
  ShowTip();
}

void CTipDlg::ShowTip() {
  // A missing file is said where the tip would be, so the start-up choice
  // can still be changed.
  const bool bMissing = m_tips.State() == ETipsState::Missing;
  m_pTip->setText(QString::fromStdString(bMissing ? kTipsFileMissing : m_tips.Tip()));
  m_pNext->setEnabled(m_tips.State() == ETipsState::Ready);
}

void CTipDlg::Run() {
  if (m_tips.State() == ETipsState::Trouble) {
    QMessageBox::warning(parentWidget(), tr("Warning"), QString::fromUtf8(kTipsFileTrouble));
    return;
  }
  exec();
}

void CTipDlg::done(int nResult) {
  m_tips.Close(m_pStartUp->isChecked());
  QDialog::done(nResult);
}

}  // namespace orv
