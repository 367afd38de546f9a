#include "app/external_tools.h"

#include <charconv>

#include "base/file_system.h"

namespace orv {

namespace {

constexpr std::string_view kVersionLine = "1.1";
constexpr uint64_t kMaxFileSize = 4 * 1024 * 1024;

class CLineReader {
 public:
  explicit CLineReader(std::string_view sText) : m_sRest(sText) {}
  // The next line without its end (LF or CR LF); nullopt at the end.
  std::optional<std::string> Next() {
    if (m_sRest.empty()) return std::nullopt;
    const size_t nEnd = m_sRest.find('\n');
    std::string_view sLine = m_sRest.substr(0, nEnd);
    m_sRest = nEnd == std::string_view::npos ? std::string_view() : m_sRest.substr(nEnd + 1);
    if (sLine.ends_with('\r')) sLine.remove_suffix(1);
    return std::string(sLine);
  }

 private:
  std::string_view m_sRest;
};

uint16_t NumberAt(std::string_view sText) {
  unsigned nValue = 0;
  const auto result = std::from_chars(sText.data(), sText.data() + sText.size(), nValue);
  return result.ec == std::errc() && nValue <= 0xFFFF ? static_cast<uint16_t>(nValue) : 0;
}

std::string OneLine(std::string sField) {
  for (char& c : sField)
    if (c == '\n' || c == '\r') c = ' ';
  return sField;
}

std::string Expanded(std::string_view sWord, const SToolContext& context) {
  std::string sOut;
  for (size_t i = 0; i < sWord.size(); ++i) {
    if (sWord[i] == '%' && i + 1 < sWord.size()) {
      const char c = sWord[i + 1];
      if (c == 'f' || c == 'n' || c == '%') {
        sOut += c == 'f' ? context.sDocument : c == 'n' ? context.sNoteFile : "%";
        ++i;
        continue;
      }
    }
    sOut += sWord[i];
  }
  return sOut;
}

// Words as a POSIX shell splits them, without any expansion.
std::optional<std::vector<std::string>> ShellWords(std::string_view sLine) {
  std::vector<std::string> words;
  std::string sWord;
  bool bInWord = false;
  char cQuote = 0;
  for (size_t i = 0; i < sLine.size(); ++i) {
    const char c = sLine[i];
    if (cQuote == '\'') {
      if (c == '\'')
        cQuote = 0;
      else
        sWord += c;
    } else if (cQuote == '"') {
      if (c == '"') {
        cQuote = 0;
      } else if (c == '\\' && i + 1 < sLine.size() &&
                 std::string_view("\"\\$`").find(sLine[i + 1]) != std::string_view::npos) {
        sWord += sLine[++i];
      } else {
        sWord += c;
      }
    } else if (c == ' ' || c == '\t') {
      if (bInWord) words.push_back(std::move(sWord));
      sWord.clear();
      bInWord = false;
    } else {
      bInWord = true;
      if (c == '\'' || c == '"')
        cQuote = c;
      else if (c == '\\' && i + 1 < sLine.size())
        sWord += sLine[++i];
      else
        sWord += c;
    }
  }
  if (cQuote) return std::nullopt;
  if (bInWord) words.push_back(std::move(sWord));
  return words;
}

}  // namespace

void CExternalTool::SetHotKey(const SKeyCombination& combination) {
  nKey = combination.nKey;
  nModifiers = 0;
  if (combination.nFlags & kAccelShift) nModifiers |= kToolShift;
  if (combination.nFlags & kAccelControl) nModifiers |= kToolControl;
  if (combination.nFlags & kAccelAlt) nModifiers |= kToolAlt;
  if (nKey == 0) nModifiers = 0;
  sHotKeyText = CombinationText(HotKey());
}

SKeyCombination CExternalTool::HotKey() const {
  SKeyCombination combination{kAccelVirtKey, nKey};
  if (nModifiers & kToolShift) combination.nFlags |= kAccelShift;
  if (nModifiers & kToolControl) combination.nFlags |= kAccelControl;
  if (nModifiers & kToolAlt) combination.nFlags |= kAccelAlt;
  return combination;
}

std::vector<CExternalTool> ReadExternalTools(std::string_view sFile) {
  std::vector<CExternalTool> tools;
  CLineReader lines(sFile);
  lines.Next();  // the version line
  while (std::optional<std::string> sTitle = lines.Next()) {
    CExternalTool tool;
    tool.sTitle = std::move(*sTitle);
    tool.sCommand = lines.Next().value_or("");
    tool.sArguments = lines.Next().value_or("");
    tool.sHotKeyText = lines.Next().value_or("");
    const std::string sNumbers = lines.Next().value_or("");
    const size_t nBlank = sNumbers.find(' ');
    tool.nKey = NumberAt(std::string_view(sNumbers).substr(0, nBlank));
    if (nBlank != std::string::npos) tool.nModifiers = NumberAt(sNumbers.substr(nBlank + 1));
    tools.push_back(std::move(tool));
  }
  return tools;
}

std::string WriteExternalTools(const std::vector<CExternalTool>& tools) {
  std::string sFile = std::string(kVersionLine) + "\n";
  for (const CExternalTool& tool : tools) {
    for (const std::string* pField :
         {&tool.sTitle, &tool.sCommand, &tool.sArguments, &tool.sHotKeyText})
      sFile += OneLine(*pField) + "\n";
    sFile += std::to_string(tool.nKey) + " " + std::to_string(tool.nModifiers) + "\n";
  }
  return sFile;
}

std::vector<CExternalTool> LoadExternalToolsFile(CFileSystem& fs, const std::string& sPath) {
  const std::optional<std::string> sFile = ReadSmallFile(fs, sPath, kMaxFileSize);
  return sFile ? ReadExternalTools(*sFile) : std::vector<CExternalTool>();
}

void SaveExternalToolsFile(const std::vector<CExternalTool>& tools, CFileSystem& fs,
                           const std::string& sPath) {
  ReplaceFileContents(fs, sPath, WriteExternalTools(tools));
}

std::string ToolMenuText(const CExternalTool& tool) {
  if (tool.sHotKeyText.empty()) return tool.sTitle;
  return tool.sTitle + "\t        " + tool.sHotKeyText;
}

std::optional<size_t> ToolForKey(const std::vector<CExternalTool>& tools,
                                 const SKeyCombination& pressed) {
  constexpr uint8_t kModifiers = kAccelShift | kAccelControl | kAccelAlt;
  for (size_t i = 0; i < tools.size(); ++i) {
    const SKeyCombination key = tools[i].HotKey();
    if (key.nKey != 0 && key.nKey == pressed.nKey &&
        (key.nFlags & kModifiers) == (pressed.nFlags & kModifiers))
      return i;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> ToolCommandLine(const CExternalTool& tool,
                                                        const SToolContext& context) {
  std::optional<std::vector<std::string>> arguments = ShellWords(tool.sArguments);
  if (!arguments) return std::nullopt;
  std::vector<std::string> commandLine{tool.sCommand};
  for (const std::string& sWord : *arguments) commandLine.push_back(Expanded(sWord, context));
  return commandLine;
}

}  // namespace orv
