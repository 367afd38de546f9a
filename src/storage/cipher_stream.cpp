#include "storage/cipher_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace orv {
namespace {

// How much is enciphered or deciphered at a time; a whole number of blocks.
constexpr size_t kChunkSize = size_t{64} * 1024;
static_assert(kChunkSize % CBlowfish::kBlockSize == 0);

}  // namespace

uint64_t PaddedRecordSize(uint64_t nLength) {
  if (nLength > std::numeric_limits<uint64_t>::max() - CBlowfish::kBlockSize)
    throw CCipherError("A record of " + std::to_string(nLength) + " bytes is too long");
  return nLength - nLength % CBlowfish::kBlockSize + CBlowfish::kBlockSize;
}

CBlowfishEcbSink::CBlowfishEcbSink(const CBlowfish& cipher, CArchiveSink& target)
    : m_cipher(cipher), m_target(target) {
  m_buffer.reserve(kChunkSize + CBlowfish::kBlockSize);
}

void CBlowfishEcbSink::Write(const void* pData, size_t nCount) {
  if (m_bFinished) throw std::logic_error("Write after the record was finished");
  const auto* pBytes = static_cast<const uint8_t*>(pData);
  while (nCount > 0) {
    const size_t nTake = std::min(nCount, kChunkSize - m_buffer.size());
    m_buffer.insert(m_buffer.end(), pBytes, pBytes + nTake);
    pBytes += nTake;
    nCount -= nTake;
    if (m_buffer.size() == kChunkSize) SendBuffer();
  }
}

void CBlowfishEcbSink::Finish() {
  if (m_bFinished) throw std::logic_error("The record was already finished");
  m_bFinished = true;
  m_buffer.resize(PaddedRecordSize(m_buffer.size()), 0);
  SendBuffer();
}

void CBlowfishEcbSink::SendBuffer() {
  m_cipher.BlowfishEncrypt(m_buffer.data(), m_buffer.data(), m_buffer.size(), CBlowfish::modeEcb);
  m_target.Write(m_buffer.data(), m_buffer.size());
  m_buffer.clear();
}

CBlowfishEcbSource::CBlowfishEcbSource(const CBlowfish& cipher, CArchiveSource& stored,
                                       uint64_t nStoredSize)
    : m_cipher(cipher),
      m_stored(stored),
      m_nStoredSize(nStoredSize),
      m_nSize(nStoredSize == 0 ? 0 : PaddedRecordSize(nStoredSize)) {}

size_t CBlowfishEcbSource::Read(void* pBuffer, size_t nCount) {
  auto* pOut = static_cast<uint8_t*>(pBuffer);
  size_t nDone = 0;
  while (nDone < nCount) {
    if (m_nPos == m_buffer.size()) {
      if (m_nBuffered == m_nSize) break;
      FillBuffer();
    }
    const size_t nTake = std::min(nCount - nDone, m_buffer.size() - m_nPos);
    std::memcpy(pOut + nDone, m_buffer.data() + m_nPos, nTake);
    m_nPos += nTake;
    nDone += nTake;
  }
  return nDone;
}

void CBlowfishEcbSource::FillBuffer() {
  const size_t nChunk = static_cast<size_t>(std::min<uint64_t>(kChunkSize, m_nSize - m_nBuffered));
  // Past the stored bytes the buffer stays zero: that is the padding.
  m_buffer.assign(nChunk, 0);
  ReadStored(m_buffer.data(),
             static_cast<size_t>(std::min<uint64_t>(nChunk, m_nStoredSize - m_nStoredRead)));
  m_cipher.BlowfishDecrypt(m_buffer.data(), m_buffer.data(), nChunk, CBlowfish::modeEcb);
  m_nBuffered += nChunk;
  m_nPos = 0;
}

void CBlowfishEcbSource::ReadStored(uint8_t* pBuffer, size_t nCount) {
  while (nCount > 0) {
    const size_t nRead = m_stored.Read(pBuffer, nCount);
    if (nRead == 0)
      throw CArchiveError("The enciphered stream ends after " + std::to_string(m_nStoredRead) +
                          " of its " + std::to_string(m_nStoredSize) + " bytes");
    pBuffer += nRead;
    nCount -= nRead;
    m_nStoredRead += nRead;
  }
}

}  // namespace orv
