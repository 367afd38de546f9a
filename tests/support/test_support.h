#pragma once
// Helpers shared by the test programs: scratch folders, exact-message
// assertions, archive ends in memory, and a file system that fails on demand.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/file_system.h"
#include "storage/archive.h"

// Expects `expr` to throw `type` whose what() is exactly `message`.
#define EXPECT_THROW_MSG(expr, type, message)                 \
  do {                                                        \
    try {                                                     \
      (void)(expr);                                           \
      ADD_FAILURE() << #expr " did not throw";                \
    } catch (const type& e) {                                 \
      EXPECT_EQ(std::string(e.what()), std::string(message)); \
    }                                                         \
  } while (0)

namespace orv::test {

// A fresh folder under the system's temporary folder, removed afterwards.
class CTempDir {
 public:
  CTempDir();
  ~CTempDir();
  CTempDir(const CTempDir&) = delete;
  CTempDir& operator=(const CTempDir&) = delete;
  const std::filesystem::path& Path() const { return m_path; }
  std::string File(const std::string& sName) const { return (m_path / sName).string(); }

 private:
  std::filesystem::path m_path;
};

std::string ReadWholeFile(const std::string& sPath);
void WriteWholeFile(const std::string& sPath, const std::string& sData);
// The bytes of a stream directly in the root storage of a compound file.
std::string ReadRootStream(const std::string& sPath, const std::string& sName);

// Keeps every byte written to it.
struct CCollectSink : CArchiveSink {
  void Write(const void* pData, size_t nCount) override {
    m_s.append(static_cast<const char*>(pData), nCount);
  }
  std::string m_s;
};

// Hands out at most nPiece bytes a call, as a stream read in blocks would.
class CTrickleSource : public CArchiveSource {
 public:
  CTrickleSource(std::string s, size_t nPiece) : m_s(std::move(s)), m_nPiece(nPiece) {}
  size_t Read(void* pBuffer, size_t nCount) override;

 private:
  std::string m_s;
  size_t m_nPiece;
  size_t m_nPos = 0;
};

// The real file system, except that the n-th changing operation (write,
// truncate, sync, rename, link, remove) and every one after it fail, as a
// killed process would leave them. FillDiskAt fails only the writes that
// grow a file from the n-th operation on, as a full disk does; FailReadsFrom fails the n-th read
// and every one after it. Counting starts at 1; 0 never fails.
class CFaultyFileSystem : public CFileSystem {
 public:
  void FailFrom(int nOperation) { Reset(nOperation, false); }
  void FillDiskAt(int nOperation) { Reset(nOperation, true); }
  void FailReadsFrom(int nRead) {
    m_nFailReadsFrom = nRead;
    m_nReads = 0;
  }
  int Reads() const { return m_nReads; }
  // Called before every read; throws when its turn has come.
  void ReadStep();
  int Count() const { return m_nCount; }
  uint64_t BytesWritten() const { return m_nBytesWritten; }
  void CountBytes(size_t nCount) { m_nBytesWritten += nCount; }
  // Called before every changing operation; throws when its turn has come
  // (for a write that grows a file, also once the disk is full).
  void Step(bool bGrows = false);

  std::unique_ptr<COsFile> Open(const std::string& sPath, EOpenMode eMode) override;
  void Rename(const std::string& sFrom, const std::string& sTo) override;
  void Link(const std::string& sFrom, const std::string& sTo) override;
  void Remove(const std::string& sPath) override;
  std::optional<SFileStamp> Stamp(const std::string& sPath) override { return Real().Stamp(sPath); }
  std::unique_ptr<CFileLock> LockForChange(const std::string& sPath,
                                           std::chrono::milliseconds wait) override {
    return Real().LockForChange(sPath, wait);
  }
  bool Exists(const std::string& sPath) override { return Real().Exists(sPath); }
  void CreateDirectories(const std::string& sPath) override { Real().CreateDirectories(sPath); }
  std::vector<SDirEntry> List(const std::string& sDirectory) override {
    return Real().List(sDirectory);
  }

 private:
  static CFileSystem& Real() { return CFileSystem::Default(); }
  void Reset(int nOperation, bool bDiskFull) {
    m_nFailFrom = nOperation;
    m_bDiskFull = bDiskFull;
    m_nCount = 0;
  }
  int m_nFailFrom = 0;
  bool m_bDiskFull = false;
  int m_nCount = 0;
  int m_nFailReadsFrom = 0;
  int m_nReads = 0;
  uint64_t m_nBytesWritten = 0;
};

}  // namespace orv::test
