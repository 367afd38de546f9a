#include "support/test_support.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "storage/compound_file.h"
#include "storage/compound_stream.h"

namespace orv::test {

CTempDir::CTempDir() {
  std::random_device rd;
  m_path = std::filesystem::temp_directory_path() / ("orvella-test-" + std::to_string(rd()));
  std::filesystem::create_directories(m_path);
}

CTempDir::~CTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

std::string ReadWholeFile(const std::string& sPath) {
  std::ifstream in(sPath, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteWholeFile(const std::string& sPath, const std::string& sData) {
  std::ofstream out(sPath, std::ios::binary | std::ios::trunc);
  out.write(sData.data(), static_cast<std::streamsize>(sData.size()));
}

std::string ReadRootStream(const std::string& sPath, const std::string& sName) {
  auto pFile = CCompoundFile::Open(sPath, CCompoundFile::EMode::ReadOnly);
  auto pStream = pFile->OpenStream(*pFile->Find(CCompoundFile::kRoot, sName));
  std::string s(pStream->Size(), '\0');
  pStream->Read(s.data(), s.size());
  return s;
}

size_t CTrickleSource::Read(void* pBuffer, size_t nCount) {
  const size_t n = std::min({nCount, m_s.size() - m_nPos, m_nPiece});
  std::memcpy(pBuffer, m_s.data() + m_nPos, n);
  m_nPos += n;
  return n;
}

void CFaultyFileSystem::Step(bool bGrows) {
  ++m_nCount;
  if (m_nFailFrom > 0 && m_nCount >= m_nFailFrom && (bGrows || !m_bDiskFull))
    throw CIoError("injected failure", 28);
}

void CFaultyFileSystem::ReadStep() {
  ++m_nReads;
  if (m_nFailReadsFrom > 0 && m_nReads >= m_nFailReadsFrom)
    throw CIoError("Can't read: injected failure", 5);
}

namespace {

class CFaultyFile : public COsFile {
 public:
  CFaultyFile(std::unique_ptr<COsFile> pReal, CFaultyFileSystem& owner)
      : m_pReal(std::move(pReal)), m_owner(owner) {}
  size_t ReadAt(uint64_t nOffset, void* pBuffer, size_t nCount) override {
    m_owner.ReadStep();
    return m_pReal->ReadAt(nOffset, pBuffer, nCount);
  }
  void WriteAt(uint64_t nOffset, const void* pData, size_t nCount) override {
    m_owner.Step(nOffset + nCount > m_pReal->Size());
    m_owner.CountBytes(nCount);
    m_pReal->WriteAt(nOffset, pData, nCount);
  }
  uint64_t Size() override { return m_pReal->Size(); }
  void Truncate(uint64_t nSize) override {
    m_owner.Step();
    m_pReal->Truncate(nSize);
  }
  void Sync() override {
    m_owner.Step();
    m_pReal->Sync();
  }

 private:
  std::unique_ptr<COsFile> m_pReal;
  CFaultyFileSystem& m_owner;
};

}  // namespace

std::unique_ptr<COsFile> CFaultyFileSystem::Open(const std::string& sPath, EOpenMode eMode) {
  if (eMode != EOpenMode::Read) Step();
  return std::make_unique<CFaultyFile>(Real().Open(sPath, eMode), *this);
}

void CFaultyFileSystem::Rename(const std::string& sFrom, const std::string& sTo) {
  Step();
  Real().Rename(sFrom, sTo);
}

void CFaultyFileSystem::Link(const std::string& sFrom, const std::string& sTo) {
  Step();
  Real().Link(sFrom, sTo);
}

void CFaultyFileSystem::Remove(const std::string& sPath) {
  Step();
  Real().Remove(sPath);
}

}  // namespace orv::test
