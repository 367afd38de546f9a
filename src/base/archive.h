#pragma once
// The byte format every document stream is made of, compatible with MFC's
// CArchive: little-endian integers, one-byte booleans and length-prefixed
// strings. Strings are UTF-8 in memory and ANSI (the document's code page) in
// the stream; text the code page cannot hold goes in the wide UTF-16 form,
// which every reader of the format accepts, so no character is ever lost.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "base/code_page.h"

namespace orv {

// Raised when the bytes of a stream do not follow the format.
class CArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where a streaming writer sends its bytes and a streaming reader takes them
// from, so that a document of gigabytes never sits in memory twice.
class CArchiveSink {
 public:
  virtual ~CArchiveSink() = default;
  virtual void Write(const void* pData, size_t nCount) = 0;
};

class CArchiveSource {
 public:
  virtual ~CArchiveSource() = default;
  // Returns 0 only at the end.
  virtual size_t Read(void* pBuffer, size_t nCount) = 0;
};

class CArchiveWriter {
 public:
  // Without a sink the bytes collect in Data(); with one they go to it in
  // blocks, and Flush() sends the rest.
  explicit CArchiveWriter(const CCodePage& codePage, CArchiveSink* pSink = nullptr)
      : m_codePage(codePage), m_pSink(pSink) {}

  void WriteInt32(int32_t n) { WriteUInt32(static_cast<uint32_t>(n)); }
  void WriteBool8(bool b) { WriteByte(b ? 1 : 0); }
  void WriteByte(uint8_t n) { m_sData += static_cast<char>(n); }
  void WriteUInt16(uint16_t n);
  void WriteUInt32(uint32_t n);
  void WriteString(std::string_view sUtf8);
  void WriteBytes(const void* pData, size_t nCount);

  const std::string& Data() const { return m_sData; }
  std::string Take() { return std::move(m_sData); }
  void Flush();

 private:
  void WriteLength(size_t nLength);
  void FlushIfFull() {
    if (m_pSink && m_sData.size() >= kBlockSize) Flush();
  }

  static constexpr size_t kBlockSize = 1 << 20;
  const CCodePage& m_codePage;
  CArchiveSink* m_pSink;
  std::string m_sData;
};

// Reads a stream held in memory, or one of `nSize` bytes from a source in
// blocks. Nothing read is trusted: every length is checked against the bytes
// left before anything is allocated.
class CArchiveReader {
 public:
  CArchiveReader(std::string_view data, const CCodePage& codePage)
      : m_data(data), m_nTotal(data.size()), m_codePage(codePage) {}
  CArchiveReader(CArchiveSource& source, uint64_t nSize, const CCodePage& codePage)
      : m_pSource(&source), m_nTotal(nSize), m_codePage(codePage) {}

  int32_t ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }
  bool ReadBool8() { return ReadByte() != 0; }
  uint8_t ReadByte();
  uint16_t ReadUInt16();
  uint32_t ReadUInt32();
  std::string ReadString();
  // The bytes stay valid until the next read; copy them to keep them longer.
  std::string_view ReadBytes(size_t nCount);

  size_t Remaining() const { return m_nTotal - Position(); }
  size_t Position() const { return m_nBase + m_nPos; }
  bool AtEnd() const { return Remaining() == 0; }

 private:
  const uint8_t* Take(size_t nCount);
  // Makes the next nCount bytes available in the window.
  void Refill(size_t nCount);
  // A length prefix; pWide, when given, is set if it announces UTF-16 text.
  size_t ReadLength(bool* pWide);

  CArchiveSource* m_pSource = nullptr;
  std::string m_buffer;     // the window's bytes when reading from a source
  std::string_view m_data;  // the window
  size_t m_nBase = 0;       // stream position of the window's first byte
  size_t m_nPos = 0;        // position in the window
  size_t m_nTotal;
  const CCodePage& m_codePage;
};

}  // namespace orv
