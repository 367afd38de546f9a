#pragma once
// A UI port for tests: answers come from queues filled beforehand, and every
// call is recorded in order so a test can check exactly what the user saw.
// A question with no answer queued fails the test and is answered with
// Cancel or No.

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ports/ui_port.h"

namespace orv::test {

enum class EUiCall {
  AskText,
  ShowMessage,
  AskConfirm,
  ChooseFolder,
  ChooseIcon,
  ChooseColor,
  AskNoteType,
  ChooseFile,
  AskChoice
};

struct SUiCall {
  EUiCall eCall = EUiCall::ShowMessage;
  std::string sTitle;  // the caption of a question, the title of a box or a folder browser,
                       // a choice's answers joined by "|"
  std::string sText;   // the message or question; the initial text; the starting folder or icon
  EMessageIcon eIcon = EMessageIcon::Information;  // ShowMessage only
  bool bSecret = false;                            // AskText only
  bool operator==(const SUiCall&) const = default;
};

void PrintTo(const SUiCall& call, std::ostream* pOut);

// Shorthands for expected calls.
SUiCall Message(std::string sTitle, std::string sText, EMessageIcon eIcon);
SUiCall Question(std::string sCaption, std::string sText);
SUiCall TextPrompt(std::string sCaption, std::string sInitial = "", bool bSecret = false);
SUiCall FolderPrompt(std::string sTitle, std::string sStart);
SUiCall IconPrompt(int nCurrent);
SUiCall ColorPrompt(int32_t nCurrent);
SUiCall NoteTypePrompt(int32_t nCurrent);
// sTitle holds the filter name, sText the start; a save dialog's filter name is prefixed "save ".
SUiCall FilePrompt(const SFileDialog& dialog);
SUiCall Choice(std::string sText, const std::vector<std::string>& answers);

class CScriptedUi : public CUiPort {
 public:
  // nullopt answers Cancel.
  void QueueText(std::optional<std::string> answer) { m_texts.push_back(std::move(answer)); }
  void QueueConfirm(bool bYes, bool bDontAskAgain = false) {
    m_confirms.push_back({bYes, bDontAskAgain});
  }
  void QueueFolder(std::optional<std::string> answer) { m_folders.push_back(std::move(answer)); }
  void QueueIcon(std::optional<int> answer) { m_icons.push_back(answer); }
  void QueueColor(std::optional<int32_t> answer) { m_colors.push_back(answer); }
  void QueueNoteType(std::optional<SNoteTypeAnswer> answer) { m_noteTypes.push_back(answer); }
  void QueueFile(std::optional<std::string> answer) { m_files.push_back(std::move(answer)); }
  void QueueChoice(std::optional<int> answer) { m_choices.push_back(answer); }
  // What the clipboard holds (nullopt: no text).
  std::optional<std::string> m_clipboard;

  const std::vector<SUiCall>& Calls() const { return m_calls; }
  // Only the message boxes, in order.
  std::vector<SUiCall> Messages() const;
  // Answers queued but never asked for.
  size_t PendingAnswers() const {
    return m_texts.size() + m_confirms.size() + m_folders.size() + m_icons.size() +
           m_colors.size() + m_noteTypes.size() + m_files.size() + m_choices.size();
  }

  std::optional<std::string> AskText(const std::string& sCaption, const std::string& sInitial,
                                     bool bSecret) override;
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
  std::optional<std::string> ClipboardText() override { return m_clipboard; }

 private:
  std::vector<SUiCall> m_calls;
  std::deque<std::optional<std::string>> m_texts;
  std::deque<SConfirmAnswer> m_confirms;
  std::deque<std::optional<std::string>> m_folders;
  std::deque<std::optional<int>> m_icons;
  std::deque<std::optional<int32_t>> m_colors;
  std::deque<std::optional<SNoteTypeAnswer>> m_noteTypes;
  std::deque<std::optional<std::string>> m_files;
  std::deque<std::optional<int>> m_choices;
};

}  // namespace orv::test
