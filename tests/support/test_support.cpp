#include "support/test_support.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "storage/compound_file.h"
#include "storage/compound_stream.h"

namespace orv::test {

void BuildOutline(CXMLTree& folder, std::string_view sOutline) {
  folder.TopLevel().clear();
  folder.ReplaceContents({});
  std::vector<XMLelement*> parents{nullptr};
  std::string sName;
  auto flush = [&] {
    if (sName.empty()) return;
    folder.InsertNote({.sName = sName,
                       .nType = kContentText,
                       .nContentClass = kContentText,
                       .pParent = parents.back()});
    sName.clear();
  };
  for (char c : sOutline) {
    if (c == '(' || c == ')' || c == ' ') flush();
    if (c == '(')
      parents.push_back(folder.GetNoteList(parents.back()).back().get());
    else if (c == ')')
      parents.pop_back();
    else if (c != ' ')
      sName += c;
  }
  flush();
}

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
    throw CIoError("injected failure", ENOSPC);
}

void CFaultyFileSystem::ReadStep() {
  ++m_nReads;
  if (m_nFailReadsFrom > 0 && m_nReads >= m_nFailReadsFrom)
    throw CIoError("injected read failure", EIO);
}

namespace {

using CChangeLog = CFaultyFileSystem::CChangeLog;

class CFaultyFile : public COsFile {
 public:
  CFaultyFile(std::unique_ptr<COsFile> pReal, CFaultyFileSystem& owner,
              std::shared_ptr<CChangeLog> pUnsynced)
      : m_pReal(std::move(pReal)), m_owner(owner), m_pUnsynced(std::move(pUnsynced)) {}
  size_t ReadAt(uint64_t nOffset, void* pBuffer, size_t nCount) override {
    m_owner.ReadStep();
    return m_pReal->ReadAt(nOffset, pBuffer, nCount);
  }
  void WriteAt(uint64_t nOffset, const void* pData, size_t nCount) override {
    m_owner.Step(nOffset + nCount > m_pReal->Size());
    m_owner.CountBytes(nCount);
    std::string sNew(static_cast<const char*>(pData), nCount);
    m_owner.Remember(*m_pUnsynced, *m_pReal, {0, nOffset, {}, 0, false, std::move(sNew)});
    m_pReal->WriteAt(nOffset, pData, nCount);
  }
  uint64_t Size() override { return m_pReal->Size(); }
  void Truncate(uint64_t nSize) override {
    m_owner.Step();
    m_owner.Remember(*m_pUnsynced, *m_pReal, {0, nSize, {}, 0, true, {}});
    m_pReal->Truncate(nSize);
  }
  void Sync() override {
    m_owner.Step();
    m_pReal->Sync();
    m_pUnsynced->clear();
  }

 private:
  std::unique_ptr<COsFile> m_pReal;
  CFaultyFileSystem& m_owner;
  std::shared_ptr<CChangeLog> m_pUnsynced;
};

// Puts the bytes a change overwrote back, or makes the change again.
void Apply(std::fstream& file, const std::string& sPath, uint64_t nOffset, const std::string& s,
           uint64_t nSize) {
  file.seekp(static_cast<std::streamoff>(nOffset));
  file.write(s.data(), static_cast<std::streamsize>(s.size()));
  file.flush();
  std::filesystem::resize_file(sPath, nSize);
}

}  // namespace

void CFaultyFileSystem::Remember(CChangeLog& log, COsFile& file, SChange change) {
  change.nSeq = ++m_nChanges;
  change.nSizeBefore = file.Size();
  uint64_t nEnd = change.bTruncation ? change.nSizeBefore : change.nOffset + change.sNew.size();
  if (change.nOffset < change.nSizeBefore) {
    change.sOld.resize(std::min(nEnd, change.nSizeBefore) - change.nOffset);
    file.ReadAt(change.nOffset, change.sOld.data(), change.sOld.size());
  }
  log.push_back(std::move(change));
}

std::unique_ptr<COsFile> CFaultyFileSystem::Open(const std::string& sPath, EOpenMode eMode) {
  if (eMode != EOpenMode::Read) Step();
  auto& pUnsynced = m_unsynced[sPath];
  if (!pUnsynced) pUnsynced = std::make_shared<CChangeLog>();
  auto pReal =
      Real().Open(sPath, eMode == EOpenMode::CreateAlways ? EOpenMode::OpenOrCreate : eMode);
  // Emptying a file is a change like any other until it is synced.
  if (eMode == EOpenMode::CreateAlways && pReal->Size() > 0) {
    Remember(*pUnsynced, *pReal, {0, 0, {}, 0, true, {}});
    pReal->Truncate(0);
  }
  return std::make_unique<CFaultyFile>(std::move(pReal), *this, pUnsynced);
}

void CFaultyFileSystem::Rename(const std::string& sFrom, const std::string& sTo) {
  Step();
  Real().Rename(sFrom, sTo);
  auto it = m_unsynced.find(sFrom);
  if (it == m_unsynced.end()) return;
  m_unsynced[sTo] = std::move(it->second);
  m_unsynced.erase(it);
}

void CFaultyFileSystem::Link(const std::string& sFrom, const std::string& sTo) {
  Step();
  Real().Link(sFrom, sTo);
}

void CFaultyFileSystem::Remove(const std::string& sPath) {
  Step();
  Real().Remove(sPath);
  m_unsynced.erase(sPath);
}

size_t CFaultyFileSystem::UnsyncedChanges() const {
  size_t n = 0;
  for (const auto& [sPath, pUnsynced] : m_unsynced) n += pUnsynced->size();
  return n;
}

void CFaultyFileSystem::Crash(size_t nKeep) {
  std::vector<uint64_t> seqs;
  for (const auto& [sPath, pUnsynced] : m_unsynced)
    for (const SChange& change : *pUnsynced) seqs.push_back(change.nSeq);
  std::sort(seqs.begin(), seqs.end());
  uint64_t nKeptSeq = nKeep > 0 && nKeep <= seqs.size() ? seqs[nKeep - 1] : 0;
  for (auto& [sPath, pUnsynced] : m_unsynced) {
    if (pUnsynced->empty() || !std::filesystem::exists(sPath)) continue;
    std::fstream file(sPath, std::ios::in | std::ios::out | std::ios::binary);
    // Newest first, so each change finds the file as it left it.
    for (auto it = pUnsynced->rbegin(); it != pUnsynced->rend(); ++it)
      Apply(file, sPath, it->nOffset, it->sOld, it->nSizeBefore);
    for (const SChange& change : *pUnsynced) {
      if (change.nSeq != nKeptSeq) continue;
      uint64_t nSynced = pUnsynced->front().nSizeBefore;
      uint64_t nSize = change.bTruncation ? change.nOffset
                                          : std::max(nSynced, change.nOffset + change.sNew.size());
      Apply(file, sPath, change.nOffset, change.sNew, nSize);
    }
    pUnsynced->clear();
  }
}

void ForEveryCrash(CFaultyFileSystem& fs, int nSteps, const std::function<void()>& attempt,
                   const std::function<void(const std::string&)>& check) {
  for (int n = 1; n <= nSteps; ++n) {
    size_t nUnsynced = 0;
    for (size_t nKeep = 0; nKeep <= nUnsynced; ++nKeep) {
      fs.FailFrom(n);
      attempt();
      if (nKeep == 0) nUnsynced = fs.UnsyncedChanges();
      fs.Crash(nKeep);
      check("failing from change " + std::to_string(n) + ", keeping unsynced change " +
            std::to_string(nKeep));
    }
  }
  fs.FailFrom(0);
}

}  // namespace orv::test
