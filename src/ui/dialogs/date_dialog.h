#pragma once
// Insert Date and Time: the current date and time in every short date, long
// date and time format of the user's locale, the last choice preselected.
// With "m_bDefaultInsDate" set the dialog confirms itself at once.

#include <QDateTime>
#include <QDialog>
#include <optional>

class QCheckBox;
class QListWidget;

namespace orv {

class CSettingsStore;

class CDateDialog : public QDialog {
  Q_OBJECT

 public:
  CDateDialog(CSettingsStore& settings, const QDateTime& now, QWidget* pParent = nullptr);

  // The text to insert; none when the user cancelled.
  static std::optional<QString> Ask(CSettingsStore& settings, QWidget* pParent);

  QString Chosen() const;
  QListWidget& List() { return *m_pList; }
  QCheckBox& Default() { return *m_pDefault; }

  void accept() override;

 private:
  CSettingsStore& m_settings;
  QListWidget* m_pList;
  QCheckBox* m_pDefault;
};

// The formats the list offers, in its order: short dates, long dates, times,
// each once.
QStringList DateTimeFormats(const QLocale& locale);

}  // namespace orv
