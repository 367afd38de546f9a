#pragma once
// A file object that works either on a plain disk file or on one stream of a
// compound file, addressed as "storage\stream". Compound-file operations
// report failure as a false result (the reason is kept in LastError());
// reads and writes throw as any file's do.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/file_system.h"
#include "storage/compound_file.h"
#include "storage/compound_stream.h"

namespace orv {

class CStgFile {
 public:
  // Open flags, as a plain file takes them.
  enum : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
  };
  enum class ESeekFrom { Begin, Current, End };
  // Called for every element before it is reported; false stops the walk.
  using CEnumCallback =
      std::function<bool(const std::string& sPrefix, const std::string& sName, bool bStorage)>;

  explicit CStgFile(CFileSystem& fs = CFileSystem::Default()) : m_fs(fs) {}
  virtual ~CStgFile() = default;
  CStgFile(const CStgFile&) = delete;
  CStgFile& operator=(const CStgFile&) = delete;

  bool Create(const std::string& sPath);
  // Transacted read-write unless bReadOnly.
  bool OpenStg(const std::string& sPath, bool bReadOnly = false);
  bool MkStg(const std::string& sName);
  bool Open(const std::string& sPath, unsigned nFlags);
  void Close();
  bool CloseStg();

  size_t Read(void* pBuffer, size_t nCount);
  void Write(const void* pData, size_t nCount);
  uint64_t Seek(int64_t nOffset, ESeekFrom eFrom = ESeekFrom::Begin);
  uint64_t GetLength();
  void SetLength(uint64_t nLength);
  void Flush();

  // Walks a storage (the root when none is given) depth first.
  void Enum(std::optional<uint32_t> nStorage = std::nullopt, const std::string& sPrefix = "",
            const CEnumCallback& callback = {});
  // The size of the stream at `sPath` without opening it.
  std::optional<uint64_t> StreamSize(const std::string& sPath) const;

  bool HasStg() const { return m_pRoot != nullptr; }
  const std::string& LastError() const { return m_sLastError; }

 protected:
  CFileSystem& FileSystem() { return m_fs; }
  void SetLastError(std::string sMessage) { m_sLastError = std::move(sMessage); }
  virtual void OnEnumStg(const std::string& sPrefix, const std::string& sName);
  virtual void OnEnumStream(const std::string& sPrefix, const std::string& sName);

 private:
  bool Fail(const std::string& sMessage, const char* szTrace);
  void CloseStream();
  bool WalkEnum(uint32_t nStorage, const std::string& sPrefix, const CEnumCallback& callback);
  // The storage that a backslash path names, each level below the root.
  std::optional<uint32_t> ResolveStorage(const std::string& sPath) const;
  std::unique_ptr<COsFile>& PlainFile();

  CFileSystem& m_fs;
  std::unique_ptr<CCompoundFile> m_pRoot;
  std::optional<uint32_t> m_nCurrentStorage;
  std::unique_ptr<CCompoundStream> m_pStream;
  std::unique_ptr<COsFile> m_pPlain;
  uint64_t m_nPlainPosition = 0;
  std::string m_sLastError;
};

// Splits "a\b\c" into its non-empty parts; "/" counts as a separator too.
std::vector<std::string> SplitStoragePath(const std::string& sPath);

}  // namespace orv
