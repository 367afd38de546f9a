#include "base/archive.h"

#include <algorithm>
#include <limits>

namespace orv {
namespace {

// Length prefixes: one byte below kLength16; else kLength16 and a 16-bit
// length below kLength32; else kLength32 and a 32-bit length. kWideMarker in
// the 16-bit place of a string's first prefix announces UTF-16 text, whose
// length in units follows as a second prefix.
constexpr uint8_t kLength16 = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kLength32 = 0xFFFF;
// MFC reserves the largest 32-bit value for a 64-bit length, which we never write.
constexpr uint32_t kMaxLength = std::numeric_limits<uint32_t>::max() - 1;

std::string TooLong(std::string_view sWhat, size_t nLength, size_t nPos, size_t nLeft) {
  return std::string(sWhat) + " " + std::to_string(nLength) + " at byte " + std::to_string(nPos) +
         " exceeds the " + std::to_string(nLeft) + " bytes left";
}

}  // namespace

void CArchiveWriter::WriteUInt16(uint16_t n) {
  WriteByte(static_cast<uint8_t>(n));
  WriteByte(static_cast<uint8_t>(n >> 8));
}

void CArchiveWriter::WriteUInt32(uint32_t n) {
  WriteUInt16(static_cast<uint16_t>(n));
  WriteUInt16(static_cast<uint16_t>(n >> 16));
  FlushIfFull();
}

void CArchiveWriter::WriteBytes(const void* pData, size_t nCount) {
  m_sData.append(static_cast<const char*>(pData), nCount);
  FlushIfFull();
}

void CArchiveWriter::Flush() {
  if (!m_pSink || m_sData.empty()) return;
  m_pSink->Write(m_sData.data(), m_sData.size());
  m_sData.clear();
}

void CArchiveWriter::WriteLength(size_t nLength) {
  if (nLength < kLength16) {
    WriteByte(static_cast<uint8_t>(nLength));
    return;
  }
  WriteByte(kLength16);
  if (nLength < kWideMarker) {
    WriteUInt16(static_cast<uint16_t>(nLength));
    return;
  }
  if (nLength > kMaxLength)
    throw CArchiveError("A string of length " + std::to_string(nLength) + " is too long to store");
  WriteUInt16(kLength32);
  WriteUInt32(static_cast<uint32_t>(nLength));
}

void CArchiveWriter::WriteString(std::string_view sUtf8) {
  std::string sAnsi;
  if (m_codePage.FromUtf8(sUtf8, sAnsi)) {
    WriteLength(sAnsi.size());
    m_sData += sAnsi;
    FlushIfFull();
    return;
  }
  const std::u16string sWide = CCodePage::Utf8ToUtf16(sUtf8);
  WriteByte(kLength16);
  WriteUInt16(kWideMarker);
  WriteLength(sWide.size());
  for (char16_t c : sWide) WriteUInt16(c);
  FlushIfFull();
}

void CArchiveReader::Refill(size_t nCount) {
  constexpr size_t kBlockSize = 1 << 20;
  m_buffer.erase(0, m_nPos);
  m_nBase += m_nPos;
  m_nPos = 0;
  size_t nHave = m_buffer.size();
  size_t nWant = std::min<size_t>(std::max(nCount, kBlockSize), m_nTotal - m_nBase);
  m_buffer.resize(nWant);
  size_t nFilled = nHave;
  for (size_t n; nFilled < nWant && (n = m_pSource->Read(&m_buffer[nFilled], nWant - nFilled)) > 0;)
    nFilled += n;
  m_buffer.resize(nFilled);
  m_data = m_buffer;
  if (nFilled < nCount)
    throw CArchiveError("Unexpected end of data at byte " + std::to_string(m_nBase + nFilled));
}

const uint8_t* CArchiveReader::Take(size_t nCount) {
  if (nCount > Remaining())
    throw CArchiveError("Unexpected end of data at byte " + std::to_string(Position()));
  if (m_nPos + nCount > m_data.size()) Refill(nCount);
  const auto* p = reinterpret_cast<const uint8_t*>(m_data.data() + m_nPos);
  m_nPos += nCount;
  return p;
}

uint8_t CArchiveReader::ReadByte() { return *Take(1); }

uint16_t CArchiveReader::ReadUInt16() {
  const uint8_t* p = Take(2);
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t CArchiveReader::ReadUInt32() {
  const uint8_t* p = Take(4);
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

std::string_view CArchiveReader::ReadBytes(size_t nCount) {
  if (nCount > Remaining())
    throw CArchiveError(TooLong("Block length", nCount, Position(), Remaining()));
  return {reinterpret_cast<const char*>(Take(nCount)), nCount};
}

size_t CArchiveReader::ReadLength(bool* pWide) {
  const uint8_t n8 = ReadByte();
  if (n8 < kLength16) return n8;
  const uint16_t n16 = ReadUInt16();
  // Inside a wide prefix MFC reads 0xFFFE as a plain length, and so do we.
  if (n16 == kWideMarker && pWide) {
    *pWide = true;
    return ReadLength(nullptr);
  }
  if (n16 < kLength32) return n16;
  return ReadUInt32();
}

std::string CArchiveReader::ReadString() {
  const size_t nStart = Position();
  bool bWide = false;
  const size_t nLength = ReadLength(&bWide);
  if (!bWide) {
    if (nLength > Remaining())
      throw CArchiveError(TooLong("String length", nLength, nStart, Remaining()));
    return m_codePage.ToUtf8(ReadBytes(nLength));
  }
  if (nLength > Remaining() / 2)
    throw CArchiveError(TooLong("Wide string length", nLength, nStart, Remaining()));
  const uint8_t* p = Take(nLength * 2);
  std::u16string sWide(nLength, u'\0');
  for (size_t i = 0; i < nLength; ++i)
    sWide[i] = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
  return CCodePage::Utf16ToUtf8(sWide);
}

}  // namespace orv
