#pragma once
// Helpers shared by the test programs: scratch folders, exact-message
// assertions, archive ends in memory, and a file system that fails on demand.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "base/archive.h"
#include "base/clock.h"
#include "base/file_system.h"
#include "model/xml_tree.h"

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

// Replaces the folder's notes with those of an outline such as "A(A1 A2) B":
// plain-text notes, every branch open.
void BuildOutline(CXMLTree& folder, std::string_view sOutline);

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

// A clock that stands still at a given local time, the current one while it lives.
class CPinnedClock : public CClock {
 public:
  CPinnedClock(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
      : m_override(*this) {
    Set(nYear, nMonth, nDay, nHour, nMinute, nSecond);
  }
  void Set(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    m_local = std::tm{};
    m_local.tm_year = nYear - 1900;
    m_local.tm_mon = nMonth - 1;
    m_local.tm_mday = nDay;
    m_local.tm_hour = nHour;
    m_local.tm_min = nMinute;
    m_local.tm_sec = nSecond;
  }
  std::tm LocalNow() override { return m_local; }

 private:
  std::tm m_local{};
  CClockOverride m_override;
};

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
// grow a file from the n-th operation on, as a full disk does; FailReadsFrom
// fails the n-th read and every one after it. Counting starts at 1; 0 never
// fails.
//
// It also remembers each write and truncation until its file is synced, so
// that Crash() can leave what a power cut would: every file as it was at its
// last sync, or with just one of the changes since then on disk (a disk may
// store them in any order). A rename takes the unsynced changes along.
class CFaultyFileSystem : public CFileSystem {
 public:
  void FailFrom(int nOperation) { Reset(nOperation, false); }
  void FillDiskAt(int nOperation) { Reset(nOperation, true); }
  void FailReadsFrom(int nRead) {
    m_nFailReadsFrom = nRead;
    m_nReads = 0;
  }
  int Count() const { return m_nCount; }
  int ReadCount() const { return m_nReads; }
  uint64_t BytesWritten() const { return m_nBytesWritten; }
  void CountBytes(size_t nCount) { m_nBytesWritten += nCount; }
  // Called before every changing operation; throws when its turn has come
  // (for a write that grows a file, also once the disk is full).
  void Step(bool bGrows = false);
  // Called before every read; throws when its turn has come.
  void ReadStep();
  // The writes and truncations not yet synced, in every file.
  size_t UnsyncedChanges() const;
  // Drops every unsynced change, except the nKeep-th of them (from 1, in the
  // order they were made) when nKeep is not 0.
  void Crash(size_t nKeep = 0);

  // A write (sNew at nOffset) or a truncation (to nOffset), with what it overwrote.
  struct SChange {
    uint64_t nSeq;
    uint64_t nOffset;
    std::string sOld;
    uint64_t nSizeBefore;
    bool bTruncation;
    std::string sNew;
  };
  using CChangeLog = std::vector<SChange>;
  void Remember(CChangeLog& log, COsFile& file, SChange change);

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
  uint64_t m_nChanges = 0;
  std::map<std::string, std::shared_ptr<CChangeLog>> m_unsynced;
};

// For every n from 1 to nSteps: runs `attempt` (which sets its files up and
// swallows the failure) with the n-th change failing, then crashes every way
// the disk could have been left: no unsynced change kept, or just one of them.
// `check` then looks at the files; its argument says which crash it was.
void ForEveryCrash(CFaultyFileSystem& fs, int nSteps, const std::function<void()>& attempt,
                   const std::function<void(const std::string&)>& check);

}  // namespace orv::test
