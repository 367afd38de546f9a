#include "cli/cli_ui.h"

#include <iostream>

namespace orv::cli {

CCliUi::CCliUi(const CPassphraseSource& passphrases, bool bYes)
    : m_pPassphrases(&passphrases), m_bYes(bYes) {}

std::optional<std::string> CCliUi::AskText(const std::string& sCaption, const std::string&, bool) {
  std::optional<std::string> answer;
  if (sCaption == "Enter a previous passphrase")
    answer = m_previous;
  else if (sCaption == "Enter a passphrase" || sCaption == "Repeat a passphrase")
    answer = m_pPassphrases ? m_pPassphrases->Ask(sCaption) : std::nullopt;
  else if (auto it = m_textAnswers.find(sCaption); it != m_textAnswers.end())
    return it->second;
  else
    return std::nullopt;  // the command was given no answer to this
  m_bPassphraseMissing = !answer;
  return answer;
}

void CCliUi::ShowMessage(const std::string&, const std::string& sText, EMessageIcon eIcon) {
  if (m_bInformationMuted && eIcon == EMessageIcon::Information) return;
  std::cerr << "orvella-cli: " << sText << '\n';
}

SConfirmAnswer CCliUi::AskConfirm(const std::string&, const std::string&) {
  return {m_bYes, false};
}

std::optional<std::string> CCliUi::ChooseFolder(const std::string&, const std::string&) {
  return m_chosenFolder;
}

std::optional<int> CCliUi::ChooseIcon(int) { return m_chosenIcon; }

}  // namespace orv::cli
