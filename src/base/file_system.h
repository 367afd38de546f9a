#pragma once
// The one door through which the core touches files. The real implementation
// talks to POSIX; tests substitute one that fails on demand, so that a disk
// filling up half-way through a save is something we test.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Raised by every file-system operation that fails; carries a readable text.
class CIoError : public std::runtime_error {
 public:
  CIoError(const std::string& sMessage, int nErrno = 0)
      : std::runtime_error(sMessage), m_nErrno(nErrno) {}
  int Errno() const { return m_nErrno; }

 private:
  int m_nErrno;
};

// An open file addressed by absolute offsets.
class COsFile {
 public:
  virtual ~COsFile() = default;
  // Reads up to nCount bytes at nOffset; returns fewer only at end of file.
  virtual size_t ReadAt(uint64_t nOffset, void* pBuffer, size_t nCount) = 0;
  virtual void WriteAt(uint64_t nOffset, const void* pData, size_t nCount) = 0;
  virtual uint64_t Size() = 0;
  virtual void Truncate(uint64_t nSize) = 0;
  // Makes what was written durable before anything written afterwards.
  virtual void Sync() = 0;
};

enum class EOpenMode {
  Read,          // existing file, read only, shared lock
  ReadWrite,     // existing file, exclusive lock
  CreateAlways,  // created or emptied, read-write, exclusive lock
  CreateNew,     // fails when the file exists, read-write, exclusive lock
  OpenOrCreate,  // kept as it is or created, read-write, exclusive lock
};

struct SDirEntry {
  std::string sName;
  bool bDirectory = false;
};

// What tells one state of a file on disk from another: a save renames a new
// file into place, another program may write in place.
struct SFileStamp {
  uint64_t nDevice = 0;
  uint64_t nInode = 0;
  uint64_t nSize = 0;
  int64_t nModifiedNs = 0;
  bool SameFile(const SFileStamp& other) const {
    return nDevice == other.nDevice && nInode == other.nInode;
  }
  bool operator==(const SFileStamp&) const = default;
};

// Held by a program that reads, changes and writes back a file; released when destroyed.
class CFileLock {
 public:
  virtual ~CFileLock() = default;
};

// How long a change waits for another program's change of the same file.
inline constexpr std::chrono::milliseconds kChangeLockWait{3000};

class CFileSystem {
 public:
  virtual ~CFileSystem() = default;
  virtual std::unique_ptr<COsFile> Open(const std::string& sPath, EOpenMode eMode) = 0;
  virtual void Rename(const std::string& sFrom, const std::string& sTo) = 0;
  // A second name for an existing file; fails when sTo exists or the file
  // system has no hard links.
  virtual void Link(const std::string& sFrom, const std::string& sTo) = 0;
  virtual void Remove(const std::string& sPath) = 0;
  virtual bool Exists(const std::string& sPath) = 0;
  virtual void CreateDirectories(const std::string& sPath) = 0;
  virtual std::vector<SDirEntry> List(const std::string& sDirectory) = 0;
  // nullopt when there is no such file.
  virtual std::optional<SFileStamp> Stamp(const std::string& sPath) = 0;
  // Waits up to `wait` for other programs' changes of the file to end, then
  // keeps theirs out until the lock is destroyed; throws CIoError "The file
  // P is in use by another program" after that. nullptr when the file does
  // not exist. It does not keep readers out: a change reaches the file by a
  // rename, which they never see half done.
  virtual std::unique_ptr<CFileLock> LockForChange(const std::string& sPath,
                                                   std::chrono::milliseconds wait) = 0;

  // The process-wide real file system.
  static CFileSystem& Default();
};

std::string InUseMessage(const std::string& sPath);

// A name beside sPath for a scratch file: sPath + sTag + ".orvtmp" + a random suffix.
std::string ScratchName(const std::string& sPath, const std::string& sTag = "");

// A new scratch file beside sPath, named by ScratchName, created exclusively and locked for as long
// as it is open, so that two writers never share one and a stale one can be told from a live one.
// Its name goes to rScratchPath.
std::unique_ptr<COsFile> CreateScratchFile(CFileSystem& fs, const std::string& sPath,
                                           std::string& rScratchPath, const std::string& sTag = "");

// Removes the scratch files of sPath (its own and those of its backup copies)
// that a killed writer left behind: those no live process holds locked.
// Returns how many were removed. Call it only while holding the file's change
// lock, so that no writer of this file is between creating and locking one.
int RemoveStaleScratchFiles(CFileSystem& fs, const std::string& sPath);

// Writes a file through a scratch file beside it that is flushed and renamed
// over it, so the file is never seen half-written. `write` fills the scratch file.
void ReplaceFileAtomically(CFileSystem& fs, const std::string& sPath,
                           const std::function<void(COsFile&)>& write);
void ReplaceFileContents(CFileSystem& fs, const std::string& sPath, std::string_view sData);

// The whole of a small file; nullopt when there is no such file. Throws
// CIoError when it cannot be read or holds more than nMaxSize bytes.
std::optional<std::string> ReadSmallFile(CFileSystem& fs, const std::string& sPath,
                                         uint64_t nMaxSize);

}  // namespace orv
