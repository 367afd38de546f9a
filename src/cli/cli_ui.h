#pragma once
// The UI port of the command line: passphrase prompts are answered from a
// passphrase source, messages go to standard error, questions are answered
// by --yes, and the folder browser, the icon picker and other text inputs by
// what the command was given.

#include <map>
#include <optional>
#include <string>

#include "cli/passphrase_source.h"
#include "ports/ui_port.h"

namespace orv::cli {

class CCliUi : public CUiPort {
 public:
  CCliUi(const CPassphraseSource& passphrases, bool bYes);

  // The source that answers "Enter a passphrase" and "Repeat a passphrase";
  // nullptr answers Cancel.
  void SetPassphraseSource(const CPassphraseSource* pSource) { m_pPassphrases = pSource; }
  // The answer to "Enter a previous passphrase": the one the document was
  // opened with, so the user isn't asked for it twice.
  void SetPreviousPassphrase(std::string sPassphrase) { m_previous = std::move(sPassphrase); }
  void SetChosenFolder(std::string sFolder) { m_chosenFolder = std::move(sFolder); }
  void SetChosenIcon(int nIcon) { m_chosenIcon = nIcon; }
  void SetChosenColor(int32_t nColor) { m_chosenColor = nColor; }
  void SetChosenFile(std::string sPath) { m_chosenFile = std::move(sPath); }
  // The answer to the text input captioned `sCaption` (not a passphrase prompt).
  void SetTextAnswer(std::string sCaption, std::string sAnswer) {
    m_textAnswers[std::move(sCaption)] = std::move(sAnswer);
  }
  // Information boxes of steps the user did not ask for are not shown.
  void SetInformationMuted(bool bMuted) { m_bInformationMuted = bMuted; }
  // Whether the last passphrase prompt got no answer.
  bool PassphraseMissing() const { return m_bPassphraseMissing; }

  std::optional<std::string> AskText(const std::string& sCaption, const std::string& sInitial,
                                     bool bSecret) override;
  void ShowMessage(const std::string& sTitle, const std::string& sText,
                   EMessageIcon eIcon) override;
  SConfirmAnswer AskConfirm(const std::string& sText, const std::string& sCaption) override;
  // A command that changes a document holds it locked: nothing to choose between.
  std::optional<int> AskChoice(const std::string&, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(const std::string& sTitle,
                                          const std::string& sStart) override;
  std::optional<int> ChooseIcon(int nCurrent) override;
  std::optional<int32_t> ChooseColor(int32_t) override { return m_chosenColor; }
  // The command line gives the type with each note; this dialog is never needed.
  std::optional<SNoteTypeAnswer> AskNoteType(int32_t) override { return std::nullopt; }
  std::optional<std::string> ChooseFile(const SFileDialog&) override { return m_chosenFile; }
  std::optional<std::string> ClipboardText() override { return std::nullopt; }

 private:
  const CPassphraseSource* m_pPassphrases;
  std::optional<std::string> m_previous;
  std::optional<std::string> m_chosenFolder;
  std::optional<int> m_chosenIcon;
  std::optional<int32_t> m_chosenColor;
  std::optional<std::string> m_chosenFile;
  std::map<std::string, std::string> m_textAnswers;
  bool m_bYes;
  bool m_bInformationMuted = false;
  bool m_bPassphraseMissing = false;
};

}  // namespace orv::cli
