#pragma once
// A plain disk file with strict open rules and a small tagged record format
// (integers, strings, dates). Every failure is a CFileHandleError whose text
// the caller shows or logs as it is.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace orv {

class CFileHandleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CFileHandle {
 public:
  enum class ESeekFrom { Begin, Current, End };

  explicit CFileHandle(std::string sPath, CFileSystem& fileSystem = CFileSystem::Default());
  CFileHandle(const CFileHandle&) = delete;
  CFileHandle& operator=(const CFileHandle&) = delete;

  // An existing file, shared with other readers.
  void OpenRead();
  // Created or emptied, not shared.
  void OpenWrite();
  // Kept as it is or created, not shared; writing starts at its end.
  void OpenAppend();
  // Fails when the file already exists.
  void CreateNew();
  void Close();

  void Write(const void* pData, size_t nCount);
  // Returns fewer bytes than asked only at the end of the file.
  size_t Read(void* pBuffer, size_t nCount);
  // Returns the new position; a position past the end is allowed, as with lseek.
  uint64_t Seek(int64_t nOffset, ESeekFrom eFrom = ESeekFrom::Begin);
  uint64_t Size() const;

  static void Delete(const std::string& sPath, CFileSystem& fileSystem = CFileSystem::Default());

  // Tagged records, little-endian.
  void WriteInt(int32_t nValue);
  int32_t ReadInt();
  // Raw bytes, at most 10000 of them.
  void WriteString(std::string_view sValue);
  std::string ReadString();
  // Stores the local calendar day of tTime; reading gives local midnight of that day.
  void WriteDate(std::time_t tTime);
  std::time_t ReadDate();

 private:
  void Open(EOpenMode eMode, const char* szFailure);
  bool ReadFully(void* pBuffer, size_t nCount);
  bool ReadUInt32(uint32_t& nValue);
  void WriteUInt32(uint32_t nValue);
  uint64_t BytesLeft() const;

  std::string m_sPath;
  CFileSystem& m_fileSystem;
  std::unique_ptr<COsFile> m_pFile;  // null while closed
  // Kept 64-bit, so a file past 4 GiB is measured and addressed as it is.
  uint64_t m_nSize = 0;
  uint64_t m_nPosition = 0;
};

}  // namespace orv
