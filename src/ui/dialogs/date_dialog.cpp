#include "ui/dialogs/date_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ports/settings_defaults.h"

namespace orv {

QStringList DateTimeFormats(const QLocale& locale) {
  QStringList formats;
  for (const QString& sFormat :
       {locale.dateFormat(QLocale::ShortFormat), locale.dateFormat(QLocale::NarrowFormat),
        locale.dateFormat(QLocale::LongFormat), locale.timeFormat(QLocale::ShortFormat),
        locale.timeFormat(QLocale::NarrowFormat), locale.timeFormat(QLocale::LongFormat)})
    if (!formats.contains(sFormat)) formats << sFormat;
  return formats;
}

CDateDialog::CDateDialog(CSettingsStore& settings, const QDateTime& now, QWidget* pParent)
    : QDialog(pParent), m_settings(settings) {
  setObjectName("CDateDialog");
  setWindowTitle(tr("Date and Time"));
  auto* pLayout = new QVBoxLayout(this);
  m_pList = new QListWidget(this);
  const QLocale locale;
  for (const QString& sFormat : DateTimeFormats(locale))
    m_pList->addItem(locale.toString(now, sFormat));
  const int nCurSel = ReadSetting(settings, kDateDialogCurSel);
  m_pList->setCurrentRow(nCurSel >= 0 && nCurSel < m_pList->count() ? nCurSel : 0);
  connect(m_pList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  m_pDefault = new QCheckBox(tr("&Insert the chosen format at once next time"), this);
  m_pDefault->setChecked(ReadSetting(settings, kDefaultInsDate) != 0);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  pButtons->button(QDialogButtonBox::Ok)->setToolTip("Set selected date or time in article");
  pButtons->button(QDialogButtonBox::Cancel)->setToolTip("Cancel and close this dialog");
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  pLayout->addWidget(m_pList);
  pLayout->addWidget(m_pDefault);
  pLayout->addWidget(pButtons);
}

std::optional<QString> CDateDialog::Ask(CSettingsStore& settings, QWidget* pParent) {
  CDateDialog dialog(settings, QDateTime::currentDateTime(), pParent);
  if (dialog.Default().isChecked())
    dialog.accept();
  else if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.Chosen();
}

QString CDateDialog::Chosen() const {
  const QListWidgetItem* pItem = m_pList->currentItem();
  return pItem ? pItem->text() : QString();
}

void CDateDialog::accept() {
  WriteSetting(m_settings, kDateDialogCurSel, m_pList->currentRow());
  WriteSetting(m_settings, kDefaultInsDate, m_pDefault->isChecked() ? 1 : 0);
  QDialog::accept();
}

}  // namespace orv
