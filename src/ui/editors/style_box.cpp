#include "ui/editors/style_box.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMenu>
#include <QTextEdit>
#include <QToolButton>

#include "ui/dialogs/qt_ui.h"
#include "ui/editors/style_formats.h"

namespace orv {

CStyleBox::CStyleBox(QTextEdit& edit, CSettingsStore& settings, QWidget* pParent)
    : QWidget(pParent), m_edit(edit), m_styles(settings) {
  auto* pLayout = new QHBoxLayout(this);
  pLayout->setContentsMargins(0, 0, 0, 0);
  pLayout->setSpacing(0);
  m_pBox = new QComboBox(this);
  m_pBox->setObjectName("StyleBox");
  m_pBox->setFocusPolicy(Qt::ClickFocus);
  m_pBox->setMinimumContentsLength(10);
  m_pBox->setToolTip(tr("Style: choose one to apply it to the selection"));
  m_pBox->setPlaceholderText(tr("(no styles)"));
  pLayout->addWidget(m_pBox);
  connect(m_pBox, &QComboBox::activated, this, [this](int nIndex) { ApplyStyle(nIndex); });

  auto* pButton = new QToolButton(this);
  pButton->setText(tr("Styles"));
  pButton->setToolTip(tr("Add, redefine or delete styles"));
  pButton->setPopupMode(QToolButton::InstantPopup);
  auto* pMenu = new QMenu(pButton);
  auto add = [&](const char* pName, const QString& sText, void (CStyleBox::*run)()) {
    QAction* pAction = pMenu->addAction(sText, this, run);
    pAction->setObjectName(pName);
  };
  add("RTF Editor - Add Style", tr("&Add Style from Selection..."), &CStyleBox::AddStyle);
  add("RTF Editor - Redefine Style", tr("&Redefine Style from Selection"),
      &CStyleBox::RedefineStyle);
  add("RTF Editor - Delete Style", tr("&Delete Style"), &CStyleBox::DeleteStyle);
  connect(pMenu, &QMenu::aboutToShow, this, [this, pMenu] {
    const bool bChosen = m_styles.CurSel() >= 0;
    for (QAction* pAction : pMenu->actions())
      if (pAction->objectName() != "RTF Editor - Add Style") pAction->setEnabled(bChosen);
  });
  pButton->setMenu(pMenu);
  pLayout->addWidget(pButton);
  ShowList();
}

QList<QAction*> CStyleBox::Commands() const { return findChildren<QAction*>(); }

SStyleRecords CStyleBox::SelectionRecords() const {
  return {EncodeCharStyle(CaptureCharStyle(m_edit)), EncodeParaStyle(CaptureParaStyle(m_edit))};
}

bool CStyleBox::event(QEvent* pEvent) {
  // Another window (the guide's, say) may have changed the styles meanwhile.
  if (pEvent->type() == QEvent::WindowActivate) {
    m_styles.Reload();
    ShowList();
  }
  return QWidget::event(pEvent);
}

void CStyleBox::ShowList() {
  m_pBox->clear();
  for (const std::string& sName : m_styles.Names()) m_pBox->addItem(QString::fromStdString(sName));
  m_pBox->setCurrentIndex(m_styles.CurSel());
}

void CStyleBox::AddStyle() {
  bool bOk = false;
  const QString sName = QInputDialog::getText(this, "StyleName", tr("Name of the new style:"),
                                              QLineEdit::Normal, {}, &bOk);
  if (!bOk) return;
  try {
    m_styles.Add(sName.toStdString(), SelectionRecords());
  } catch (const CStyleNameError& error) {
    ShowMessageAsWritten(this, "Warning", error.what(), EMessageIcon::Warning);
    return;
  }
  ShowList();
}

void CStyleBox::RedefineStyle() { m_styles.Redefine(m_styles.CurSel(), SelectionRecords()); }

void CStyleBox::DeleteStyle() {
  m_styles.Delete(m_styles.CurSel());
  ShowList();
}

void CStyleBox::ApplyStyle(int nIndex) {
  m_styles.SetCurSel(nIndex);
  std::optional<SStyleRecords> records = m_styles.Records(nIndex);
  if (!records) return;
  SCharStyle charStyle;
  SParaStyle paraStyle;
  try {
    // Both read before either applies: a damaged style changes nothing.
    charStyle = DecodeCharStyle(records->charFormat);
    paraStyle = DecodeParaStyle(records->paraFormat);
  } catch (const CStyleRecordError& error) {
    ShowMessageAsWritten(this, "Warning",
                         tr("The style \"%1\" cannot be applied.\n%2")
                             .arg(m_pBox->itemText(nIndex), QString::fromStdString(error.what()))
                             .toStdString(),
                         EMessageIcon::Warning);
    return;
  }
  if (m_edit.isReadOnly()) return;
  orv::ApplyStyle(m_edit, charStyle, paraStyle);
  m_edit.setFocus();
}

}  // namespace orv
