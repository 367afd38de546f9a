#include "exchange/note_files.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>

#include "exchange/exchange_text.h"
#include "model/note_keys.h"
#include "model/note_walk.h"
#include "text/html_escape.h"
#include "text/html_plain_text.h"
#include "text/note_text.h"

namespace orv {
namespace {

int32_t NoteType(const XMLelement& note) {
  const std::string sType = GetProperty(note, kTypeKey);
  int32_t nType = -1;
  std::from_chars(sType.data(), sType.data() + sType.size(), nType);
  return nType;
}

std::string TextToHtml(std::string_view sText) {
  if (sText.ends_with('\n')) sText.remove_suffix(1);  // ends the last paragraph, opens none
  std::string sHtml = "<html>\n<body>\n<p>";
  for (size_t nAt = 0;;) {
    const size_t nEnd = sText.find('\n', nAt);
    AppendHtmlEscaped(sHtml, sText.substr(nAt, nEnd - nAt), EHtmlContext::Text);
    if (nEnd == std::string_view::npos) break;
    sHtml += "</p>\n<p>";
    nAt = nEnd + 1;
  }
  return sHtml + "</p>\n</body>\n</html>\n";
}

// Escaped RTF: each line a paragraph, characters beyond ASCII as \uN with
// "?" for readers that know no Unicode, the styles HTML marked.
std::string TextToRtf(const SStyledText& styled) {
  std::string sRtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Arial;}}\n\\f0\\fs20 ";
  const auto addText = [&](std::string_view sText) {
    for (char16_t c : CCodePage::Utf8ToUtf16(sText)) {
      if (c == '\\' || c == '{' || c == '}') {
        (sRtf += '\\') += static_cast<char>(c);
      } else if (c == '\n') {
        sRtf += "\\par\n";
      } else if (c == '\t') {
        sRtf += "\\tab ";
      } else if (c >= 0x20 && c < 0x80) {
        sRtf += static_cast<char>(c);
      } else if (c >= 0x80) {
        sRtf += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
      }
    }
  };
  size_t nDone = 0;
  for (const SHtmlStyleMark& mark : styled.marks) {
    const size_t nTo = std::max(nDone, mark.nOffset);
    addText(std::string_view(styled.sText).substr(nDone, nTo - nDone));
    nDone = nTo;
    switch (mark.eStyle) {
      case EHtmlStyle::Bold:
        sRtf += mark.bOn ? "\\b " : "\\b0 ";
        break;
      case EHtmlStyle::Italic:
        sRtf += mark.bOn ? "\\i " : "\\i0 ";
        break;
      case EHtmlStyle::Underline:
        sRtf += mark.bOn ? "\\ul " : "\\ulnone ";
        break;
    }
  }
  addText(std::string_view(styled.sText).substr(nDone));
  return sRtf + "}\n";
}

size_t CharacterCount(std::string_view sUtf8) {
  size_t nCount = 0;
  for (char c : sUtf8) nCount += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return nCount;
}

bool IsSet(const XMLelement& note, std::string_view key) {
  const std::string sValue = GetProperty(note, key);
  return !sValue.empty() && sValue != "<Not Found>";
}

}  // namespace

std::string NoteNameFromFile(std::string_view sPath) {
  return std::filesystem::path(sPath).stem().string();
}

XMLelement* ImportNoteFile(CXMLTree& folder, XMLelement* pParent, std::string_view sPath,
                           std::string_view sBytes, int32_t nType, const CCodePage& codePage,
                           XMLelement* pAfter) {
  if (sBytes.starts_with("\xEF\xBB\xBF")) sBytes.remove_prefix(3);
  if (sBytes.empty()) return nullptr;
  const std::string sName = NoteNameFromFile(sPath);
  XMLelement* pNote = folder.InsertNote({.sName = sName,
                                         .nType = nType,
                                         .nContentClass = nType,
                                         .pParent = pParent,
                                         .pSibling = pAfter});
  if (pNote) folder.ContentOf(*pNote)->SetContent(DecodeForeign(std::string(sBytes), codePage));
  return pNote;
}

std::string NoteFileText(const CXMLTree& folder, const XMLelement& note, ENoteFileForm eForm) {
  const int32_t nType = NoteType(note);
  CBaseContentNode* pContent = folder.ContentOf(note);
  std::string sStored = pContent ? pContent->GetContent() : std::string();
  const int32_t nFormType = eForm == ENoteFileForm::Text   ? kContentText
                            : eForm == ENoteFileForm::Html ? kContentHtml
                                                           : kContentRtf;
  if (nType == nFormType) return sStored;
  SStyledText visible = nType == kContentHtml ? HtmlToStyledText(sStored)
                                              : SStyledText{VisibleNoteText(sStored, nType), {}};
  if (eForm == ENoteFileForm::Html) return TextToHtml(visible.sText);
  if (eForm == ENoteFileForm::Rtf) return TextToRtf(visible);
  return std::move(visible.sText);
}

std::string NoteStatistics(const CXMLTree& folder, const XMLelement& note) {
  size_t nCount = 0;
  std::array<size_t, 3> notesOfType{};
  std::array<size_t, 3> charsOfType{};
  ForEachInBranch(note, [&](const XMLelement& below) {
    if (&below == &note) return;
    ++nCount;
    const int32_t nType = NoteType(below);
    if (nType < kContentText || nType > kContentRtf) return;
    ++notesOfType[nType];
    if (const CBaseContentNode* pContent = folder.ContentOf(below))
      charsOfType[nType] += CharacterCount(pContent->CachedContent());
  });
  const auto n = [](size_t nValue) { return std::to_string(nValue); };
  std::string sReport = "Count of elements \t\t\t" + n(nCount) + "\n\n";
  sReport += "Count of plain text elements \t\t" + n(notesOfType[0]) + "\n" +
             "Count of chars in plain text elements \t" + n(charsOfType[0]) + "\n\n";
  sReport += "Count of html elements \t\t" + n(notesOfType[1]) + "\n" +
             "Count of chars in html elements \t" + n(charsOfType[1]) + "\n\n";
  sReport += "Count of rich text elements \t\t" + n(notesOfType[2]) + "\n" +
             "Count of chars in rich text elements \t" + n(charsOfType[2]) + "\n\n";
  sReport += "Date of create: \t\t\t" + GetProperty(note, kCreateTimeKey) + "\n";
  sReport += "Date of last modificate: \t\t" + GetProperty(note, kModifyTimeKey) + "\n";
  sReport +=
      std::string("Password protect: \t\t\t") + (IsSet(note, kPasswordKey) ? "Yes\n" : "No\n");
  sReport += std::string("Readonly protect: \t\t\t") +
             (PropertyIs(note, kReadOnlyKey, "true") ? "Yes\n" : "No\n\n");
  sReport += "Description: \n" +
             (IsSet(note, kDescriptionKey) ? GetProperty(note, kDescriptionKey) : "<None>");
  return sReport;
}

}  // namespace orv
