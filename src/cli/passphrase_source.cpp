#include "cli/passphrase_source.h"

#include <cstdlib>

#include "base/file_system.h"
#include "cli/cli_error.h"
#include "cli/terminal_prompt.h"

namespace orv::cli {

namespace {

// Far longer than any passphrase; a larger file is surely the wrong one.
constexpr uint64_t kMaxPassphraseFileSize = uint64_t{64} * 1024;

// The file's text without the one line end an editor or `echo` adds.
std::string ReadPassphraseFile(const std::string& sPath) {
  std::string sText;
  try {
    auto pFile = CFileSystem::Default().Open(sPath, EOpenMode::Read);
    uint64_t nSize = pFile->Size();
    if (nSize > kMaxPassphraseFileSize)
      throw CCliError("The passphrase file " + sPath + " is larger than " +
                      std::to_string(kMaxPassphraseFileSize) + " bytes");
    sText.resize(nSize);
    sText.resize(pFile->ReadAt(0, sText.data(), sText.size()));
  } catch (const CIoError& e) {
    throw CCliError("Can't read the passphrase file: " + std::string(e.what()));
  }
  if (sText.ends_with('\n')) {
    sText.pop_back();
    if (sText.ends_with('\r')) sText.pop_back();
  }
  return sText;
}

}  // namespace

CPassphraseSource::CPassphraseSource(const std::string& sOptionName, const std::string& sFile,
                                     const char* pVariableName, std::string sPromptNote)
    : m_sPromptNote(std::move(sPromptNote)),
      m_sDescription(sOptionName + " F, " + pVariableName + " or on a terminal") {
  if (!sFile.empty()) {
    m_given = ReadPassphraseFile(sFile);
  } else if (const char* pValue = std::getenv(pVariableName); pValue && *pValue) {
    m_given = pValue;
  }
}

std::optional<std::string> CPassphraseSource::Ask(const std::string& sCaption) const {
  if (m_given) return m_given;
  return AskSecretOnTerminal(sCaption + m_sPromptNote + ": ");
}

}  // namespace orv::cli
