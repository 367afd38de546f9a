#include "storage/storage.h"

#include <filesystem>
#include <vector>

namespace orv {

namespace {
constexpr size_t kCopyBlock = 4096;
}

bool CStorage::Create(const std::string& sPath) { return Record(CStgFile::Create(sPath)); }

bool CStorage::OpenStg(const std::string& sPath, bool bReadOnly) {
  return Record(CStgFile::OpenStg(sPath, bReadOnly));
}

bool CStorage::CloseStg() { return Record(CStgFile::CloseStg()); }

bool CStorage::Open(const std::string& sStreamPath, unsigned nFlags) {
  return Record(CStgFile::Open(sStreamPath, nFlags));
}

void CStorage::Close() {
  CStgFile::Close();
  m_bResult = true;
}

std::string CStorage::AddFilePath(const std::string& sSourceFile, const std::string& sStreamPath) {
  bool bOneLevel = !sStreamPath.empty() && sStreamPath[0] == '\\' &&
                   sStreamPath.find('\\', 1) == std::string::npos;
  if (!bOneLevel) return sStreamPath;
  std::filesystem::path source(sSourceFile);
  return sStreamPath + "\\" + source.stem().string() + source.extension().string();
}

bool CStorage::AddFile(const std::string& sSourceFile, const std::string& sStreamPath) {
  m_bCopyDone = false;
  try {
    std::unique_ptr<COsFile> pSource = FileSystem().Open(sSourceFile, EOpenMode::Read);
    if (!CStgFile::Open(AddFilePath(sSourceFile, sStreamPath), modeCreate | modeWrite))
      return Record(false);
    std::vector<char> block(kCopyBlock);
    uint64_t nOffset = 0;
    for (size_t n; (n = pSource->ReadAt(nOffset, block.data(), block.size())) > 0; nOffset += n)
      Write(block.data(), n);
    CStgFile::Close();
  } catch (const std::exception& e) {
    SetLastError(e.what());
    return Record(false);
  }
  m_bCopyDone = true;
  return Record(true);
}

bool CStorage::ExtractFile(const std::string& sStreamPath, const std::string& sDestinationFile) {
  m_bCopyDone = false;
  try {
    // The stream is opened first, so that a missing one leaves the destination alone.
    if (!CStgFile::Open(sStreamPath, modeRead)) return Record(false);
    std::unique_ptr<COsFile> pDestination =
        FileSystem().Open(sDestinationFile, EOpenMode::CreateAlways);
    std::vector<char> block(kCopyBlock);
    uint64_t nOffset = 0;
    for (size_t n; (n = Read(block.data(), block.size())) > 0; nOffset += n)
      pDestination->WriteAt(nOffset, block.data(), n);
    CStgFile::Close();
  } catch (const std::exception& e) {
    SetLastError(e.what());
    return Record(false);
  }
  m_bCopyDone = true;
  return Record(true);
}

}  // namespace orv
