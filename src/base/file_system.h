#pragma once
// The one door through which the core touches files. The real implementation
// talks to POSIX; tests substitute one that fails on demand, so that a disk
// filling up half-way through a save is something we test.

#include <cstdint>
#include <functional>
#include <memory>
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

class CFileSystem {
 public:
  virtual ~CFileSystem() = default;
  virtual std::unique_ptr<COsFile> Open(const std::string& sPath, EOpenMode eMode) = 0;
  virtual void Rename(const std::string& sFrom, const std::string& sTo) = 0;
  virtual void Remove(const std::string& sPath) = 0;
  virtual bool Exists(const std::string& sPath) = 0;
  virtual void CreateDirectories(const std::string& sPath) = 0;
  virtual std::vector<SDirEntry> List(const std::string& sDirectory) = 0;

  // The process-wide real file system.
  static CFileSystem& Default();
};

// Writes a file through a scratch file beside it that is flushed and renamed
// over it, so the file is never seen half-written. `write` fills the scratch file.
void ReplaceFileAtomically(CFileSystem& fs, const std::string& sPath,
                           const std::function<void(COsFile&)>& write);
void ReplaceFileContents(CFileSystem& fs, const std::string& sPath, std::string_view sData);

}  // namespace orv
