#include "shell/tips_file.h"

#include "ports/settings_defaults.h"

namespace orv {

namespace {

// Tips are a few kilobytes; anything this big is not a tips file.
constexpr uint64_t kMaxTipsFileSize = 1 << 20;

std::string_view TrimmedLine(std::string_view sLine) {
  while (!sLine.empty() && (sLine.back() == '\r' || sLine.back() == ' ' || sLine.back() == '\t'))
    sLine.remove_suffix(1);
  while (!sLine.empty() && (sLine.front() == ' ' || sLine.front() == '\t')) sLine.remove_prefix(1);
  return sLine;
}

}  // namespace

CTipsFile::CTipsFile(CSettingsStore& settings, const std::string& sPath, CFileSystem& fs)
    : m_settings(settings) {
  const std::optional<SFileStamp> stamp = fs.Stamp(sPath);
  if (!stamp) {
    m_eState = ETipsState::Missing;
    return;
  }
  try {
    std::unique_ptr<COsFile> pFile = fs.Open(sPath, EOpenMode::Read);
    const uint64_t nSize = pFile->Size();
    if (nSize > kMaxTipsFileSize) {
      m_eState = ETipsState::Trouble;
      return;
    }
    m_sText.resize(nSize);
    m_sText.resize(pFile->ReadAt(0, m_sText.data(), m_sText.size()));
  } catch (const CIoError&) {
    m_eState = ETipsState::Trouble;
    return;
  }
  m_sStamp = std::to_string(stamp->nModifiedNs) + ":" + std::to_string(stamp->nSize);
  if (ReadSetting(m_settings, kTipTimeStamp) == m_sStamp) {
    const int32_t nPos = ReadSetting(m_settings, kTipFilePos);
    // An offset past the end, or into the middle of a line, is no tip's start.
    if (nPos > 0 && static_cast<size_t>(nPos) <= m_sText.size()) {
      m_nNext = static_cast<size_t>(nPos);
      if (m_sText[m_nNext - 1] != '\n') {
        const size_t nLineEnd = m_sText.find('\n', m_nNext);
        m_nNext = nLineEnd == std::string::npos ? m_sText.size() : nLineEnd + 1;
      }
    }
  }
  Next();
}

void CTipsFile::Next() {
  if (m_eState != ETipsState::Ready) return;
  // Once to the end and once more from the top: a file without a tip ends here.
  for (size_t nStart = m_nNext, nPasses = 0; nPasses < 2; nStart = 0, ++nPasses) {
    while (nStart < m_sText.size()) {
      size_t nEnd = m_sText.find('\n', nStart);
      if (nEnd == std::string::npos) nEnd = m_sText.size();
      const std::string_view sLine =
          TrimmedLine(std::string_view(m_sText).substr(nStart, nEnd - nStart));
      nStart = nEnd + 1;
      if (sLine.empty() || sLine.front() == ';') continue;
      m_sTip = sLine;
      m_nNext = std::min(nStart, m_sText.size());
      return;
    }
  }
  m_eState = ETipsState::Trouble;
  m_sTip.clear();
}

void CTipsFile::Close(bool bShowAtStartUp) {
  WriteSetting(m_settings, kTipStartUp, bShowAtStartUp ? 1 : 0);
  if (m_eState != ETipsState::Ready) return;
  WriteSetting(m_settings, kTipFilePos, static_cast<int32_t>(m_nNext));
  WriteSetting(m_settings, kTipTimeStamp, m_sStamp);
}

}  // namespace orv
