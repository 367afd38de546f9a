#pragma once
// The settings dialog: General, Tree, Text, RTF and HTML pages. OK and Apply
// check every page first and write nothing when one is wrong; then each value
// goes to the settings at once and Applied() tells the window to show it.

#include <QDialog>
#include <vector>

#include "ports/settings_defaults.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QTabWidget;

namespace orv {

class CKeyboardEdit;

// A Tree, Text, RTF or HTML page: background colour, font and text colour.
class CLooksPage : public QWidget {
  Q_OBJECT

 public:
  struct SKeys {
    const SIntSetting& background;
    const SIntSetting* pText;  // null where the font chooser sets no colour
    const SBinarySetting& font;
  };
  CLooksPage(CSettingsStore& settings, const SKeys& keys, QWidget* pParent);
  void Write();

 private:
  void ChooseBackground();
  void ChooseFont();
  void ShowSample();

  CSettingsStore& m_settings;
  SKeys m_keys;
  int32_t m_nBackground;
  int32_t m_nText;
  std::optional<QFont> m_font;
  QLabel* m_pSample;
};

class CSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  CSettingsDialog(CSettingsStore& settings, QWidget* pParent = nullptr);
  ~CSettingsDialog() override;

  QTabWidget& Pages() { return *m_pPages; }
  // Checks and writes every page; false, writing nothing, when one is wrong.
  bool Apply();

 signals:
  void Applied();

 private:
  QWidget* GeneralPage();
  void WriteGeneral();
  void ChooseDefaultIcon();

  CSettingsStore& m_settings;
  QTabWidget* m_pPages;
  std::vector<std::pair<QCheckBox*, const SIntSetting*>> m_checks;
  CKeyboardEdit* m_pHotKey = nullptr;
  QComboBox* m_pDefaultType = nullptr;
  QSpinBox* m_pBackups = nullptr;
  QCheckBox* m_pTreeHints = nullptr;
  QLabel* m_pProblem = nullptr;
  int32_t m_nDefaultIcon;
  bool m_bAskAgain = false;
  std::vector<CLooksPage*> m_looks;
};

}  // namespace orv
