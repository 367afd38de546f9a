#include "support/scripted_ui.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

// In the order of the enumerators.
const char* const kCallNames[] = {"AskText",      "ShowMessage", "AskConfirm",
                                  "ChooseFolder", "ChooseIcon",  "ChooseColor",
                                  "AskNoteType",  "ChooseFile",  "AskChoice"};
const char* const kIconNames[] = {"Information", "Warning", "Error", "Question"};

// Takes the next scripted answer, or fails the test and gives `fallback`.
template <typename T>
T Next(std::deque<T>& queue, const SUiCall& call, T fallback) {
  if (queue.empty()) {
    ADD_FAILURE() << "No answer scripted for " << testing::PrintToString(call);
    return fallback;
  }
  T answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

}  // namespace

void PrintTo(const SUiCall& call, std::ostream* pOut) {
  *pOut << kCallNames[static_cast<int>(call.eCall)] << "(\"" << call.sTitle << "\", \""
        << call.sText << "\"";
  if (call.eCall == EUiCall::ShowMessage) *pOut << ", " << kIconNames[static_cast<int>(call.eIcon)];
  if (call.bSecret) *pOut << ", secret";
  *pOut << ")";
}

SUiCall Message(std::string sTitle, std::string sText, EMessageIcon eIcon) {
  return {EUiCall::ShowMessage, std::move(sTitle), std::move(sText), eIcon, false};
}

SUiCall Question(std::string sCaption, std::string sText) {
  return {EUiCall::AskConfirm, std::move(sCaption), std::move(sText)};
}

SUiCall TextPrompt(std::string sCaption, std::string sInitial, bool bSecret) {
  return {EUiCall::AskText, std::move(sCaption), std::move(sInitial), EMessageIcon::Information,
          bSecret};
}

SUiCall FolderPrompt(std::string sTitle, std::string sStart) {
  return {EUiCall::ChooseFolder, std::move(sTitle), std::move(sStart)};
}

SUiCall IconPrompt(int nCurrent) { return {EUiCall::ChooseIcon, "", std::to_string(nCurrent)}; }

SUiCall ColorPrompt(int32_t nCurrent) {
  return {EUiCall::ChooseColor, "", std::to_string(nCurrent)};
}

SUiCall NoteTypePrompt(int32_t nCurrent) {
  return {EUiCall::AskNoteType, "", std::to_string(nCurrent)};
}

SUiCall FilePrompt(const SFileDialog& dialog) {
  return {EUiCall::ChooseFile, (dialog.bSave ? "save " : "") + dialog.sFilterName, dialog.sStart};
}

std::vector<SUiCall> CScriptedUi::Messages() const {
  std::vector<SUiCall> messages;
  for (const SUiCall& call : m_calls)
    if (call.eCall == EUiCall::ShowMessage) messages.push_back(call);
  return messages;
}

std::optional<std::string> CScriptedUi::AskText(const std::string& sCaption,
                                                const std::string& sInitial, bool bSecret) {
  m_calls.push_back(TextPrompt(sCaption, sInitial, bSecret));
  return Next(m_texts, m_calls.back(), std::optional<std::string>());
}

void CScriptedUi::ShowMessage(const std::string& sTitle, const std::string& sText,
                              EMessageIcon eIcon) {
  m_calls.push_back(Message(sTitle, sText, eIcon));
}

SConfirmAnswer CScriptedUi::AskConfirm(const std::string& sText, const std::string& sCaption) {
  m_calls.push_back(Question(sCaption, sText));
  return Next(m_confirms, m_calls.back(), SConfirmAnswer{});
}

SUiCall Choice(std::string sText, const std::vector<std::string>& answers) {
  std::string sAnswers;
  for (const std::string& sAnswer : answers) sAnswers += (sAnswers.empty() ? "" : "|") + sAnswer;
  return {EUiCall::AskChoice, std::move(sAnswers), std::move(sText)};
}

std::optional<int> CScriptedUi::AskChoice(const std::string& sText,
                                          const std::vector<std::string>& answers) {
  m_calls.push_back(Choice(sText, answers));
  return Next(m_choices, m_calls.back(), std::optional<int>());
}

std::optional<std::string> CScriptedUi::ChooseFolder(const std::string& sTitle,
                                                     const std::string& sStart) {
  m_calls.push_back(FolderPrompt(sTitle, sStart));
  return Next(m_folders, m_calls.back(), std::optional<std::string>());
}

std::optional<int> CScriptedUi::ChooseIcon(int nCurrent) {
  m_calls.push_back(IconPrompt(nCurrent));
  return Next(m_icons, m_calls.back(), std::optional<int>());
}

std::optional<int32_t> CScriptedUi::ChooseColor(int32_t nCurrent) {
  m_calls.push_back(ColorPrompt(nCurrent));
  return Next(m_colors, m_calls.back(), std::optional<int32_t>());
}

std::optional<SNoteTypeAnswer> CScriptedUi::AskNoteType(int32_t nCurrent) {
  m_calls.push_back(NoteTypePrompt(nCurrent));
  return Next(m_noteTypes, m_calls.back(), std::optional<SNoteTypeAnswer>());
}

std::optional<std::string> CScriptedUi::ChooseFile(const SFileDialog& dialog) {
  m_calls.push_back(FilePrompt(dialog));
  return Next(m_files, m_calls.back(), std::optional<std::string>());
}

}  // namespace orv::test
