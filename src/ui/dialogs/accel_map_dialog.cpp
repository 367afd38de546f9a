#include "ui/dialogs/accel_map_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include "app/command_table.h"

namespace orv {

namespace {

QString ModifiersText(Qt::KeyboardModifiers eModifiers) {
  QString sText;
  if (eModifiers & Qt::ControlModifier) sText += "Ctrl+";
  if (eModifiers & Qt::AltModifier) sText += "Alt+";
  if (eModifiers & Qt::ShiftModifier) sText += "Shift+";
  return sText;
}

}  // namespace

CKeyboardEdit::CKeyboardEdit(QWidget* pParent) : QLineEdit(pParent) {
  setReadOnly(true);
  setPlaceholderText(tr("Press the keys"));
}

bool CKeyboardEdit::event(QEvent* pEvent) {
  // Tab and the window's own shortcuts are keys to capture too.
  if (pEvent->type() == QEvent::ShortcutOverride) {
    pEvent->accept();
    return true;
  }
  if (pEvent->type() == QEvent::KeyPress) {
    keyPressEvent(static_cast<QKeyEvent*>(pEvent));
    return true;
  }
  return QLineEdit::event(pEvent);
}

void CKeyboardEdit::keyPressEvent(QKeyEvent* pEvent) {
  const int nKey = pEvent->key();
  const bool bModifierOnly = nKey == Qt::Key_Control || nKey == Qt::Key_Shift ||
                             nKey == Qt::Key_Alt || nKey == Qt::Key_Meta;
  if (bModifierOnly) {
    setText(ModifiersText(pEvent->modifiers()));
    return;
  }
  m_combination = CombinationOfQtKey(pEvent->keyCombination().toCombined());
  setText(m_combination ? QString::fromStdString(CombinationText(*m_combination))
                        : tr("This key cannot be used"));
  emit CombinationChanged();
}

void CKeyboardEdit::SetCombination(const SKeyCombination& combination) {
  m_combination = combination;
  setText(QString::fromStdString(CombinationText(combination)));
}

void CKeyboardEdit::keyReleaseEvent(QKeyEvent* pEvent) {
  if (!m_combination) setText(ModifiersText(pEvent->modifiers()));
}

CAccelMapDialog::CAccelMapDialog(const CAcceleratorManager& keys, QWidget* pParent)
    : QDialog(pParent), m_keys(keys) {
  setObjectName("CAccelMapDlg");
  setWindowTitle(tr("Keyboard Shortcuts"));
  m_pCommands = new QListWidget(this);
  for (const SCommandRow& row : CommandTable()) {
    const CCmdAccelOb* pCommand = m_keys.FindByName(row.sName);
    if (!pCommand || pCommand->m_wIDCommand != row.nId) continue;
    auto* pItem = new QListWidgetItem(QString::fromUtf8(row.sName.data(), row.sName.size()));
    pItem->setData(Qt::UserRole, row.nId);
    m_pCommands->addItem(pItem);
  }
  m_pKeys = new QListWidget(this);
  m_pCapture = new CKeyboardEdit(this);
  m_pUsedBy = new QLabel(this);
  m_pUsedBy->setWordWrap(true);

  auto* pAssign = new QPushButton(tr("&Assign"), this);
  pAssign->setToolTip(tr("Give the selected command the keys pressed above"));
  auto* pRemove = new QPushButton(tr("&Remove"), this);
  pRemove->setToolTip(tr("Take the selected key from the command"));
  auto* pReset = new QPushButton(tr("Reset &All"), this);
  pReset->setToolTip(tr("Drop every key you gave; the built-in keys stay"));
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  // Two hundred commands: typing part of a name narrows the list.
  auto* pFilter = new QLineEdit(this);
  pFilter->setPlaceholderText(tr("Type part of a command's name"));
  pFilter->setClearButtonEnabled(true);
  connect(pFilter, &QLineEdit::textChanged, this, [this](const QString& sPart) {
    int nFirstShown = -1;
    for (int i = 0; i < m_pCommands->count(); ++i) {
      QListWidgetItem* pItem = m_pCommands->item(i);
      pItem->setHidden(!pItem->text().contains(sPart, Qt::CaseInsensitive));
      if (!pItem->isHidden() && nFirstShown < 0) nFirstShown = i;
    }
    // Keys are never given to a command the list no longer shows.
    if (!m_pCommands->currentItem() || m_pCommands->currentItem()->isHidden())
      m_pCommands->setCurrentRow(nFirstShown);
  });
  auto label = [this](const QString& sText, QWidget* pBuddy) {
    auto* pLabel = new QLabel(sText, this);
    pLabel->setBuddy(pBuddy);
    return pLabel;
  };
  auto* pLayout = new QGridLayout(this);
  pLayout->addWidget(label(tr("&Commands:"), pFilter), 0, 0);
  pLayout->addWidget(pFilter, 1, 0);
  pLayout->addWidget(m_pCommands, 2, 0, 6, 1);
  pLayout->addWidget(label(tr("&Keys:"), m_pKeys), 0, 1);
  pLayout->addWidget(m_pKeys, 1, 1, 2, 1);
  pLayout->addWidget(label(tr("&New key:"), m_pCapture), 3, 1);
  pLayout->addWidget(m_pCapture, 4, 1);
  pLayout->addWidget(m_pUsedBy, 5, 1);
  pLayout->addWidget(pAssign, 6, 1);
  pLayout->addWidget(pRemove, 7, 1);
  pLayout->addWidget(pReset, 8, 0);
  pLayout->addWidget(pButtons, 8, 1);
  pLayout->setColumnStretch(0, 2);
  pLayout->setColumnStretch(1, 1);
  resize(720, 480);

  connect(m_pCommands, &QListWidget::currentRowChanged, this, [this] { ShowKeys(); });
  connect(m_pCapture, &CKeyboardEdit::CombinationChanged, this, [this] { ShowUsers(); });
  connect(pAssign, &QPushButton::clicked, this, &CAccelMapDialog::Assign);
  connect(pRemove, &QPushButton::clicked, this, &CAccelMapDialog::Remove);
  connect(pReset, &QPushButton::clicked, this, &CAccelMapDialog::Reset);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  m_pCommands->setCurrentRow(0);
  pFilter->setFocus();
}

std::optional<uint16_t> CAccelMapDialog::SelectedCommand() const {
  const QListWidgetItem* pItem = m_pCommands->currentItem();
  if (!pItem) return std::nullopt;
  return static_cast<uint16_t>(pItem->data(Qt::UserRole).toUInt());
}

void CAccelMapDialog::ShowKeys() {
  m_pKeys->clear();
  const std::optional<uint16_t> nId = SelectedCommand();
  const CCmdAccelOb* pCommand = nId ? m_keys.Find(*nId) : nullptr;
  if (!pCommand) return;
  for (const CAccelsOb& accel : pCommand->m_Accels) {
    QString sText = QString::fromStdString(accel.GetString());
    if (accel.m_bLocked) sText += " " + tr("(built in)");
    m_pKeys->addItem(sText);
  }
  if (m_pKeys->count()) m_pKeys->setCurrentRow(m_pKeys->count() - 1);
}

void CAccelMapDialog::ShowUsers() {
  // One key may stand for several commands of different editors; saying so
  // lets the user decide.
  QStringList users;
  if (const auto combination = m_pCapture->Combination())
    for (const SAccelEntry& entry : m_keys.Table())
      if (entry.combination == *combination)
        users << QString::fromStdString(m_keys.Find(entry.nCommand)->m_szCommand);
  m_pUsedBy->setText(users.isEmpty() ? QString() : tr("Now used by: %1").arg(users.join(", ")));
}

void CAccelMapDialog::Assign() {
  const std::optional<uint16_t> nId = SelectedCommand();
  const auto combination = m_pCapture->Combination();
  if (!nId || !combination) return;
  m_keys.Assign(*nId, *combination);
  ShowKeys();
  ShowUsers();
}

void CAccelMapDialog::Remove() {
  const std::optional<uint16_t> nId = SelectedCommand();
  const int nRow = m_pKeys->currentRow();
  if (!nId || nRow < 0) return;
  if (const auto sWhyNot = m_keys.Remove(*nId, static_cast<size_t>(nRow))) {
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(*sWhyNot));
    return;
  }
  ShowKeys();
}

void CAccelMapDialog::Reset() {
  m_keys.ResetToDefaults();
  ShowKeys();
}

}  // namespace orv
