#include "storage/stg_file.h"

#include "base/trace.h"

namespace orv {

namespace {
// The one result code our traces carry; the text in LastError() says more.
constexpr unsigned kFailureCode = 0x80004005;
}  // namespace

std::vector<std::string> SplitStoragePath(const std::string& sPath) {
  std::vector<std::string> parts;
  std::string sPart;
  for (char c : sPath) {
    if (c == '\\' || c == '/') {
      if (!sPart.empty()) parts.push_back(std::move(sPart));
      sPart.clear();
    } else {
      sPart += c;
    }
  }
  if (!sPart.empty()) parts.push_back(std::move(sPart));
  return parts;
}

bool CStgFile::Fail(const std::string& sMessage, const char* szTrace) {
  m_sLastError = sMessage;
  if (szTrace) Trace(szTrace, kFailureCode);
  Trace("CStgFile: %s\n", sMessage.c_str());
  return false;
}

bool CStgFile::Create(const std::string& sPath) {
  Trace("CStgFile::Create( %s )\n", sPath.c_str());
  CloseStg();
  try {
    m_pRoot = CCompoundFile::Create(sPath, m_fs);
    return true;
  } catch (const std::exception& e) {
    return Fail(e.what(), nullptr);
  }
}

bool CStgFile::OpenStg(const std::string& sPath, bool bReadOnly) {
  Trace("CStgFile::OpenStg( %s )\n", sPath.c_str());
  CloseStg();
  try {
    m_pRoot = CCompoundFile::Open(
        sPath, bReadOnly ? CCompoundFile::EMode::ReadOnly : CCompoundFile::EMode::ReadWrite, m_fs);
    return true;
  } catch (const std::exception& e) {
    return Fail(e.what(), nullptr);
  }
}

bool CStgFile::MkStg(const std::string& sName) {
  if (!m_pRoot) return Fail("No compound file is open", "MkStg: failed, hRes = 0x%x\n");
  try {
    uint32_t nStorage = CCompoundFile::kRoot;
    for (const std::string& sPart : SplitStoragePath(sName))
      nStorage = m_pRoot->CreateStorage(nStorage, sPart);
    return true;
  } catch (const std::exception& e) {
    return Fail(e.what(), "MkStg: failed, hRes = 0x%x\n");
  }
}

std::optional<uint32_t> CStgFile::ResolveStorage(const std::string& sPath) const {
  uint32_t nStorage = CCompoundFile::kRoot;
  for (const std::string& sPart : SplitStoragePath(sPath)) {
    auto nChild = m_pRoot->Find(nStorage, sPart);
    if (!nChild || !m_pRoot->IsStorage(*nChild)) return std::nullopt;
    nStorage = *nChild;
  }
  return nStorage;
}

bool CStgFile::Open(const std::string& sPath, unsigned nFlags) {
  Trace("CStgFile::Open( %s )\n", sPath.c_str());
  m_sLastError.clear();
  try {
    if (!m_pRoot) {
      m_pPlain.reset();
      EOpenMode eMode = EOpenMode::ReadWrite;
      if (nFlags & modeCreate)
        eMode = (nFlags & modeNoTruncate) ? EOpenMode::OpenOrCreate : EOpenMode::CreateAlways;
      else if ((nFlags & (modeWrite | modeReadWrite)) == 0)
        eMode = EOpenMode::Read;
      m_pPlain = m_fs.Open(sPath, eMode);
      m_nPlainPosition = 0;
      return true;
    }
    CloseStream();
    size_t nSplit = sPath.find_last_of("\\/");
    std::string sStgDir = nSplit == std::string::npos ? "" : sPath.substr(0, nSplit);
    std::string sStream = nSplit == std::string::npos ? sPath : sPath.substr(nSplit + 1);
    Trace("CStgFile::Open() - sStgDir = %s, sStream = %s\n", sStgDir.c_str(), sStream.c_str());
    m_nCurrentStorage = ResolveStorage(sStgDir);
    if (!m_nCurrentStorage) return Fail("There is no storage \"" + sStgDir + "\"", nullptr);
    uint32_t nSid;
    if (nFlags & modeCreate) {
      nSid = m_pRoot->CreateStream(*m_nCurrentStorage, sStream);
    } else {
      auto nFound = m_pRoot->Find(*m_nCurrentStorage, sStream);
      if (!nFound || m_pRoot->IsStorage(*nFound))
        return Fail("There is no stream \"" + sPath + "\"", nullptr);
      nSid = *nFound;
    }
    m_pStream = m_pRoot->OpenStream(nSid);
    return true;
  } catch (const std::exception& e) {
    return Fail(e.what(), nullptr);
  }
}

void CStgFile::CloseStream() {
  m_pStream.reset();
  m_nCurrentStorage.reset();
}

void CStgFile::Close() {
  Trace("CStgFile::Close()\n");
  if (!m_pRoot) {
    m_pPlain.reset();
    return;
  }
  CloseStream();
  if (!m_pRoot->IsReadOnly()) m_pRoot->Commit();
}

bool CStgFile::CloseStg() {
  Trace("CStgFile::CloseStg()\n");
  if (!m_pRoot) return false;
  CloseStream();
  std::unique_ptr<CCompoundFile> pRoot = std::move(m_pRoot);
  if (!pRoot->IsReadOnly()) pRoot->Commit();
  return true;
}

std::unique_ptr<COsFile>& CStgFile::PlainFile() {
  if (!m_pPlain) throw CIoError("No file is open");
  return m_pPlain;
}

size_t CStgFile::Read(void* pBuffer, size_t nCount) {
  if (m_pRoot) {
    if (!m_pStream) throw CStorageError("No stream is open");
    return m_pStream->Read(pBuffer, nCount);
  }
  size_t nRead = PlainFile()->ReadAt(m_nPlainPosition, pBuffer, nCount);
  m_nPlainPosition += nRead;
  return nRead;
}

void CStgFile::Write(const void* pData, size_t nCount) {
  if (m_pRoot) {
    if (!m_pStream) throw CStorageError("No stream is open");
    m_pStream->Write(pData, nCount);
    return;
  }
  PlainFile()->WriteAt(m_nPlainPosition, pData, nCount);
  m_nPlainPosition += nCount;
}

uint64_t CStgFile::Seek(int64_t nOffset, ESeekFrom eFrom) {
  uint64_t nBase = 0;
  if (eFrom == ESeekFrom::Current)
    nBase = m_pRoot ? (m_pStream ? m_pStream->Position() : 0) : m_nPlainPosition;
  if (eFrom == ESeekFrom::End) nBase = GetLength();
  if (nOffset < 0 && static_cast<uint64_t>(-nOffset) > nBase)
    throw CIoError("Can't seek before the start of the file");
  uint64_t nPosition = nBase + static_cast<uint64_t>(nOffset);
  if (m_pRoot) {
    if (!m_pStream) throw CStorageError("No stream is open");
    m_pStream->Seek(nPosition);
  } else {
    PlainFile();
    m_nPlainPosition = nPosition;
  }
  return nPosition;
}

uint64_t CStgFile::GetLength() {
  if (m_pRoot) {
    if (!m_pStream) throw CStorageError("No stream is open");
    return m_pStream->Size();
  }
  return PlainFile()->Size();
}

void CStgFile::SetLength(uint64_t nLength) {
  if (m_pRoot) {
    if (!m_pStream) throw CStorageError("No stream is open");
    m_pStream->SetSize(nLength);
    return;
  }
  PlainFile()->Truncate(nLength);
}

void CStgFile::Flush() {
  // A stream's data reaches the file when it is closed and committed.
  if (!m_pRoot && m_pPlain) m_pPlain->Sync();
}

void CStgFile::Enum(std::optional<uint32_t> nStorage, const std::string& sPrefix,
                    const CEnumCallback& callback) {
  if (!m_pRoot) return;
  WalkEnum(nStorage.value_or(CCompoundFile::kRoot), nStorage ? sPrefix : "", callback);
}

bool CStgFile::WalkEnum(uint32_t nStorage, const std::string& sPrefix,
                        const CEnumCallback& callback) {
  for (uint32_t nSid : m_pRoot->Children(nStorage)) {
    std::string sName = m_pRoot->Name(nSid);
    bool bStorage = m_pRoot->IsStorage(nSid);
    bool bGoOn = !callback || callback(sPrefix, sName, bStorage);
    if (bStorage) {
      OnEnumStg(sPrefix, sName);
      if (!WalkEnum(nSid, sPrefix + sName + "\\", callback)) return false;
    } else {
      OnEnumStream(sPrefix, sName);
    }
    if (!bGoOn) return false;
  }
  return true;
}

std::optional<uint64_t> CStgFile::StreamSize(const std::string& sPath) const {
  if (!m_pRoot) return std::nullopt;
  size_t nSplit = sPath.find_last_of("\\/");
  auto nStorage = ResolveStorage(nSplit == std::string::npos ? "" : sPath.substr(0, nSplit));
  if (!nStorage) return std::nullopt;
  auto nSid = m_pRoot->Find(*nStorage, sPath.substr(nSplit == std::string::npos ? 0 : nSplit + 1));
  if (!nSid || m_pRoot->IsStorage(*nSid)) return std::nullopt;
  return m_pRoot->StreamSize(*nSid);
}

void CStgFile::OnEnumStg(const std::string& sPrefix, const std::string& sName) {
  Trace("CStgFile:: OnEnumStg( %s\\%s )\n", sPrefix.c_str(), sName.c_str());
}

void CStgFile::OnEnumStream(const std::string& sPrefix, const std::string& sName) {
  Trace("CStgFile:: OnEnumStream( %s\\%s )\n", sPrefix.c_str(), sName.c_str());
}

}  // namespace orv
