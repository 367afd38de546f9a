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
  else
    return std::nullopt;  // no other text is asked for on the command line
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

}  // namespace orv::cli
