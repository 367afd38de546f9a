#pragma once
// Insert Custom Date: a day chosen on a calendar, written in one of five
// formats. The choice is remembered in the find dialog's section; with
// "m_bDefaultInsCustomDate" set the dialog confirms itself at once with today.

#include <QDialog>
#include <QList>
#include <optional>

class QCalendarWidget;
class QCheckBox;
class QRadioButton;

namespace orv {

class CSettingsStore;

class CMonthCalDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CMonthCalDlg(CSettingsStore& settings, QWidget* pParent = nullptr);

  // The text to insert; none when the user cancelled.
  static std::optional<QString> Ask(CSettingsStore& settings, QWidget* pParent);

  QString Chosen() const;
  QCalendarWidget& Calendar() { return *m_pCalendar; }
  QList<QRadioButton*>& Formats() { return m_formats; }
  QCheckBox& Default() { return *m_pDefault; }

  void accept() override;

 private:
  void ShowDay();

  CSettingsStore& m_settings;
  QCalendarWidget* m_pCalendar;
  QList<QRadioButton*> m_formats;
  QCheckBox* m_pDefault;
};

}  // namespace orv
