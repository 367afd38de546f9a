#include "ui/dialogs/month_cal_dialog.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editors/custom_date.h"
#include "ports/settings_defaults.h"

namespace orv {

namespace {

// The day in a format, in the user's language (the C library's locale).
QString Written(QDate day, size_t nFormat) {
  return QString::fromLocal8Bit(
      FormatCustomDate(day.year(), day.month(), day.day(), kCustomDateFormats[nFormat]));
}

}  // namespace

CMonthCalDlg::CMonthCalDlg(CSettingsStore& settings, QWidget* pParent)
    : QDialog(pParent), m_settings(settings) {
  setObjectName("CMonthCalDlg");
  setWindowTitle(tr("Custom Date"));
  auto* pLayout = new QVBoxLayout(this);
  m_pCalendar = new QCalendarWidget(this);
  pLayout->addWidget(m_pCalendar);
  std::array<bool, kCustomDateFormats.size()> flags{};
  for (size_t i = 0; i < flags.size(); ++i)
    flags[i] = ReadSetting(settings, kCustomDateChoices[i]) != 0;
  const size_t nChoice = CustomDateChoice(flags);
  for (size_t i = 0; i < kCustomDateFormats.size(); ++i) {
    auto* pFormat = new QRadioButton(this);
    pFormat->setChecked(i == nChoice);
    pLayout->addWidget(pFormat);
    m_formats << pFormat;
  }
  connect(m_pCalendar, &QCalendarWidget::selectionChanged, this, &CMonthCalDlg::ShowDay);
  connect(m_pCalendar, &QCalendarWidget::activated, this, &QDialog::accept);
  ShowDay();
  m_pDefault = new QCheckBox(tr("&Insert the chosen format at once next time"), this);
  m_pDefault->setChecked(ReadSetting(settings, kDefaultInsCustomDate) != 0);
  pLayout->addWidget(m_pDefault);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  pButtons->button(QDialogButtonBox::Ok)->setToolTip("Set selected date in article");
  pButtons->button(QDialogButtonBox::Cancel)->setToolTip("Cancel and close this dialog");
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  pLayout->addWidget(pButtons);
}

std::optional<QString> CMonthCalDlg::Ask(CSettingsStore& settings, QWidget* pParent) {
  CMonthCalDlg dialog(settings, pParent);
  if (dialog.Default().isChecked())
    dialog.accept();
  else if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.Chosen();
}

void CMonthCalDlg::ShowDay() {
  // Each choice shows the chosen day as it would be inserted.
  for (qsizetype i = 0; i < m_formats.size(); ++i)
    m_formats[i]->setText(Written(m_pCalendar->selectedDate(), size_t(i)));
}

QString CMonthCalDlg::Chosen() const {
  for (qsizetype i = 0; i < m_formats.size(); ++i)
    if (m_formats[i]->isChecked()) return Written(m_pCalendar->selectedDate(), size_t(i));
  return Written(m_pCalendar->selectedDate(), 0);
}

void CMonthCalDlg::accept() {
  for (qsizetype i = 0; i < m_formats.size(); ++i)
    WriteSetting(m_settings, kCustomDateChoices[size_t(i)], m_formats[i]->isChecked() ? 1 : 0);
  WriteSetting(m_settings, kDefaultInsCustomDate, m_pDefault->isChecked() ? 1 : 0);
  QDialog::accept();
}

}  // namespace orv
