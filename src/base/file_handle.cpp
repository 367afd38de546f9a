#include "base/file_handle.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace orv {
namespace {

constexpr unsigned char kStringTag = 's';
constexpr unsigned char kDateTag = 't';
constexpr uint32_t kMaxStringLength = 10000;
constexpr int kMinDateYear = 1900;
// The largest year whose yyyymmdd value still fits a signed 32-bit record.
constexpr int kMaxDateYear = std::numeric_limits<int32_t>::max() / 10000;
constexpr const char* kCorruptFormat = "File corrupted or unsupported format";

// Local midnight of the given day, or -1 when no such day exists. mktime
// would quietly turn 30 February into 2 March; a day it moved was not real.
std::time_t LocalMidnight(int nYear, int nMonth, int nDay) {
  std::tm day{};
  day.tm_year = nYear - 1900;
  day.tm_mon = nMonth - 1;
  day.tm_mday = nDay;
  day.tm_isdst = -1;
  std::time_t tResult = std::mktime(&day);
  bool bSameDay = day.tm_year == nYear - 1900 && day.tm_mon == nMonth - 1 && day.tm_mday == nDay;
  return bSameDay ? tResult : -1;
}

}  // namespace

CFileHandle::CFileHandle(std::string sPath, CFileSystem& fileSystem)
    : m_sPath(std::move(sPath)), m_fileSystem(fileSystem) {
  if (m_sPath.empty()) throw CFileHandleError("Empty file path");
}

void CFileHandle::OpenRead() { Open(EOpenMode::Read, "Can't open file "); }
void CFileHandle::OpenWrite() { Open(EOpenMode::CreateAlways, "Can't open file "); }
void CFileHandle::OpenAppend() { Open(EOpenMode::OpenOrCreate, "Can't open file "); }
void CFileHandle::CreateNew() { Open(EOpenMode::CreateNew, "Can't create file "); }

void CFileHandle::Open(EOpenMode eMode, const char* szFailure) {
  if (m_pFile) throw CFileHandleError("Attempt to open busy file " + m_sPath);
  try {
    std::unique_ptr<COsFile> pFile = m_fileSystem.Open(m_sPath, eMode);
    m_nSize = pFile->Size();
    m_pFile = std::move(pFile);
  } catch (const CIoError&) {
    throw CFileHandleError(szFailure + m_sPath);
  }
  m_nPosition = eMode == EOpenMode::OpenOrCreate ? m_nSize : 0;
}

void CFileHandle::Close() {
  if (!m_pFile) throw CFileHandleError("Attempt to close closed file");
  m_pFile.reset();
  m_nSize = 0;
  m_nPosition = 0;
}

void CFileHandle::Write(const void* pData, size_t nCount) {
  if (!m_pFile) throw CFileHandleError("Attemt to write closed file");
  try {
    m_pFile->WriteAt(m_nPosition, pData, nCount);
  } catch (const CIoError&) {
    throw CFileHandleError("Error writing to file");
  }
  m_nPosition += nCount;
  m_nSize = std::max(m_nSize, m_nPosition);
}

size_t CFileHandle::Read(void* pBuffer, size_t nCount) {
  if (!m_pFile) throw CFileHandleError("Attemt to read closed file");
  size_t nRead = 0;
  try {
    nRead = m_pFile->ReadAt(m_nPosition, pBuffer, nCount);
  } catch (const CIoError&) {
    throw CFileHandleError("Error reading from file");
  }
  m_nPosition += nRead;
  return nRead;
}

uint64_t CFileHandle::Seek(int64_t nOffset, ESeekFrom eFrom) {
  if (!m_pFile) throw CFileHandleError("Attempt to seek closed file " + m_sPath);
  uint64_t nBase = eFrom == ESeekFrom::Begin     ? 0
                   : eFrom == ESeekFrom::Current ? m_nPosition
                                                 : m_nSize;
  // Positions before the start or beyond what the OS can address are refused.
  int64_t nTarget = 0;
  if (nBase > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) ||
      __builtin_add_overflow(static_cast<int64_t>(nBase), nOffset, &nTarget) || nTarget < 0)
    throw CFileHandleError("Error seeking file " + m_sPath);
  m_nPosition = static_cast<uint64_t>(nTarget);
  return m_nPosition;
}

uint64_t CFileHandle::Size() const {
  if (!m_pFile) throw CFileHandleError("Attempt to get size of closed file");
  return m_nSize;
}

void CFileHandle::Delete(const std::string& sPath, CFileSystem& fileSystem) {
  try {
    fileSystem.Remove(sPath);
  } catch (const CIoError&) {
    throw CFileHandleError("Can't delete file: " + sPath);
  }
}

bool CFileHandle::ReadFully(void* pBuffer, size_t nCount) {
  return Read(pBuffer, nCount) == nCount;
}

uint64_t CFileHandle::BytesLeft() const {
  return m_nSize > m_nPosition ? m_nSize - m_nPosition : 0;
}

void CFileHandle::WriteUInt32(uint32_t nValue) {
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(nValue >> (8 * i));
  Write(bytes, sizeof bytes);
}

bool CFileHandle::ReadUInt32(uint32_t& nValue) {
  unsigned char bytes[4];
  if (!ReadFully(bytes, sizeof bytes)) return false;
  nValue = 0;
  for (int i = 0; i < 4; ++i) nValue |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return true;
}

void CFileHandle::WriteInt(int32_t nValue) { WriteUInt32(static_cast<uint32_t>(nValue)); }

int32_t CFileHandle::ReadInt() {
  uint32_t nValue = 0;
  if (!ReadUInt32(nValue)) throw CFileHandleError(kCorruptFormat);
  return static_cast<int32_t>(nValue);
}

void CFileHandle::WriteString(std::string_view sValue) {
  // A record the reader would refuse is never written: it would lose the rest of the file.
  if (sValue.size() > kMaxStringLength) throw CFileHandleError("Error writing to file");
  Write(&kStringTag, 1);
  WriteUInt32(static_cast<uint32_t>(sValue.size()));
  Write(sValue.data(), sValue.size());
}

std::string CFileHandle::ReadString() {
  unsigned char nTag = 0;
  uint32_t nLength = 0;
  if (!ReadFully(&nTag, 1) || nTag != kStringTag || !ReadUInt32(nLength) ||
      nLength > kMaxStringLength || nLength > BytesLeft())
    throw CFileHandleError(kCorruptFormat);
  std::string sValue(nLength, '\0');
  if (!ReadFully(sValue.data(), nLength)) throw CFileHandleError(kCorruptFormat);
  return sValue;
}

void CFileHandle::WriteDate(std::time_t tTime) {
  std::tm day{};
  if (!localtime_r(&tTime, &day) || day.tm_year < kMinDateYear - 1900 ||
      day.tm_year > kMaxDateYear - 1900)
    throw CFileHandleError("Error writing to file");
  Write(&kDateTag, 1);
  WriteUInt32(
      static_cast<uint32_t>((day.tm_year + 1900) * 10000 + (day.tm_mon + 1) * 100 + day.tm_mday));
}

std::time_t CFileHandle::ReadDate() {
  const std::string sInvalid = "Invalid file format: " + m_sPath;
  unsigned char nTag = 0;
  uint32_t nValue = 0;
  if (!ReadFully(&nTag, 1) || nTag != kDateTag || !ReadUInt32(nValue))
    throw CFileHandleError(sInvalid);
  int32_t nDate = static_cast<int32_t>(nValue);
  int nYear = nDate / 10000;
  if (nYear < kMinDateYear) throw CFileHandleError(sInvalid);
  std::time_t tMidnight = LocalMidnight(nYear, nDate / 100 % 100, nDate % 100);
  if (tMidnight == -1) throw CFileHandleError(sInvalid);
  return tMidnight;
}

}  // namespace orv
