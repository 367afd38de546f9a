#include "ports/ini_settings.h"

#include <cerrno>

#include "base/trace.h"
#include "ports/ini_format.h"

namespace orv {
namespace {

// Far more than any settings file holds; a larger file is not one.
constexpr uint64_t kMaxFileSize = uint64_t{16} * 1024 * 1024;

CMemorySettingsStore::TSections Load(CFileSystem& fs, const std::string& sPath) {
  std::unique_ptr<COsFile> pFile;
  try {
    pFile = fs.Open(sPath, EOpenMode::Read);
  } catch (const CIoError& e) {
    if (e.Errno() == ENOENT) return {};
    throw;
  }
  uint64_t nSize = pFile->Size();
  if (nSize > kMaxFileSize) throw CSettingsError("Settings file " + sPath + " is too large");
  std::string sText(nSize, '\0');
  sText.resize(pFile->ReadAt(0, sText.data(), sText.size()));
  return ParseIni(sText, sPath);
}

}  // namespace

CIniSettingsStore::CIniSettingsStore(std::string sPath, CFileSystem& fs)
    : CMemorySettingsStore(Load(fs, sPath)), m_sPath(std::move(sPath)), m_fs(fs) {}

CIniSettingsStore::~CIniSettingsStore() {
  try {
    Flush();
  } catch (const std::exception& e) {
    Trace("CIniSettingsStore: settings not saved: %s\n", e.what());
  }
}

void CIniSettingsStore::Flush() {
  if (!m_bDirty) return;
  const std::string sText = FormatIni(Sections());
  ReplaceFileContents(m_fs, m_sPath, sText);
  m_bDirty = false;
}

}  // namespace orv
