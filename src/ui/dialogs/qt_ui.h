#pragma once
// The desktop app's answer to every question a core command asks: Qt's
// standard dialogs and our own pickers, modal over the main window.

#include <QWidget>

#include "ports/settings_store.h"
#include "ports/ui_port.h"

namespace orv {

// A message box over pParent whose text shows as written, never as markup:
// messages name tags ("<SCRIPT>"), files, notes and styles.
void ShowMessageAsWritten(QWidget* pParent, const std::string& sTitle, const std::string& sText,
                          EMessageIcon eIcon);

class CQtUi : public CUiPort {
 public:
  // Dialogs open over `pParent` (may be null); the icon picker keeps its size
  // in `settings`.
  CQtUi(QWidget* pParent, CSettingsStore& settings) : m_pParent(pParent), m_settings(settings) {}

  std::optional<std::string> AskText(const std::string& sCaption, const std::string& sInitial,
                                     bool bSecret) override;
  std::optional<std::string> AskPassphrase(const std::string& sCaption,
                                           const std::string& sPath) override;
  void ShowMessage(const std::string& sTitle, const std::string& sText,
                   EMessageIcon eIcon) override;
  SConfirmAnswer AskConfirm(const std::string& sText, const std::string& sCaption) override;
  std::optional<int> AskChoice(const std::string& sText,
                               const std::vector<std::string>& answers) override;
  std::optional<std::string> ChooseFolder(const std::string& sTitle,
                                          const std::string& sStart) override;
  std::optional<int> ChooseIcon(int nCurrent) override;
  std::optional<int32_t> ChooseColor(int32_t nCurrent) override;
  std::optional<SNoteTypeAnswer> AskNoteType(int32_t nCurrent) override;
  std::optional<std::string> ChooseFile(const SFileDialog& dialog) override;
  std::optional<std::string> ClipboardText() override;

 private:
  QWidget* m_pParent;
  CSettingsStore& m_settings;
};

}  // namespace orv
