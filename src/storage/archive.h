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

class CArchiveWriter {
 public:
  explicit CArchiveWriter(const CCodePage& codePage) : m_codePage(codePage) {}

  void WriteInt32(int32_t n) { WriteUInt32(static_cast<uint32_t>(n)); }
  void WriteBool8(bool b) { WriteByte(b ? 1 : 0); }
  void WriteByte(uint8_t n) { m_sData += static_cast<char>(n); }
  void WriteUInt16(uint16_t n);
  void WriteUInt32(uint32_t n);
  void WriteString(std::string_view sUtf8);
  void WriteBytes(const void* pData, size_t nCount);

  const std::string& Data() const { return m_sData; }
  std::string Take() { return std::move(m_sData); }

 private:
  void WriteLength(size_t nLength);

  const CCodePage& m_codePage;
  std::string m_sData;
};

// Reads a stream held in memory. Nothing read is trusted: every length is
// checked against the bytes left before anything is allocated.
class CArchiveReader {
 public:
  CArchiveReader(std::string_view data, const CCodePage& codePage)
      : m_data(data), m_codePage(codePage) {}

  int32_t ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }
  bool ReadBool8() { return ReadByte() != 0; }
  uint8_t ReadByte();
  uint16_t ReadUInt16();
  uint32_t ReadUInt32();
  std::string ReadString();
  // The bytes stay in the reader's data; copy them to keep them longer.
  std::string_view ReadBytes(size_t nCount);

  size_t Remaining() const { return m_data.size() - m_nPos; }
  size_t Position() const { return m_nPos; }
  bool AtEnd() const { return m_nPos == m_data.size(); }

 private:
  const uint8_t* Take(size_t nCount);
  // A length prefix; pWide, when given, is set if it announces UTF-16 text.
  size_t ReadLength(bool* pWide);

  std::string_view m_data;
  size_t m_nPos = 0;
  const CCodePage& m_codePage;
};

}  // namespace orv
