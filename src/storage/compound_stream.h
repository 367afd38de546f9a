#pragma once
// An open stream of a compound file, with a position, like a file. Streams
// under 4096 bytes live in 64-byte mini sectors and move to whole sectors
// when they grow past that, and back when they shrink.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

class CCompoundFile;

class CCompoundStream {
 public:
  ~CCompoundStream();
  CCompoundStream(const CCompoundStream&) = delete;
  CCompoundStream& operator=(const CCompoundStream&) = delete;

  uint64_t Size() const;
  uint64_t Position() const { return m_nPosition; }
  void Seek(uint64_t nPosition) { m_nPosition = nPosition; }
  // Reads at the position; returns fewer bytes than asked only at the end.
  size_t Read(void* pBuffer, size_t nCount);
  // Writes at the position; a position past the end leaves zeros between.
  void Write(const void* pData, size_t nCount);
  // Bytes added by growing read as zeros.
  void SetSize(uint64_t nSize);

 private:
  friend class CCompoundFile;
  CCompoundStream(CCompoundFile& file, uint32_t nSid);

  void Resize(uint64_t nSize);
  void WriteAt(uint64_t nOffset, const uint8_t* pData, size_t nCount);
  void WriteZeros(uint64_t nFrom, uint64_t nTo);
  uint32_t UnitSize() const;

  CCompoundFile& m_file;
  uint32_t m_nSid;
  bool m_bMini = false;
  std::vector<uint32_t> m_units;
  uint64_t m_nPosition = 0;
};

}  // namespace orv
