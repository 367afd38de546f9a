#pragma once
// Carries a protected document's "Contents" record through the cipher in
// blocks, so that a large document is never held whole to be enciphered.
//
// The stored form is the record followed by 1 to 8 zero bytes (a whole block
// of them when the record already ends on a block boundary), enciphered in
// ECB mode. Reading zero-pads the stored bytes the same way before
// deciphering, so a stream whose length is not a whole number of blocks still
// reads; the reader ignores whatever follows the record.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/archive.h"
#include "storage/blowfish.h"

namespace orv {

// The bytes that n bytes take once padded: n - n mod 8 + 8.
uint64_t PaddedRecordSize(uint64_t nLength);

// Enciphers what is written to it and passes it on to `target`. The cipher
// must be keyed and, like the target, outlive the sink.
class CBlowfishEcbSink : public CArchiveSink {
 public:
  CBlowfishEcbSink(const CBlowfish& cipher, CArchiveSink& target);

  void Write(const void* pData, size_t nCount) override;
  // Pads the record, enciphers and passes on the rest. Call it once, after
  // the last Write.
  void Finish();

 private:
  void SendBuffer();

  const CBlowfish& m_cipher;
  CArchiveSink& m_target;
  std::vector<uint8_t> m_buffer;
  bool m_bFinished = false;
};

// Deciphers the nStoredSize bytes of a stored record read from `stored`. The
// cipher must be keyed and, like the source, outlive this one.
class CBlowfishEcbSource : public CArchiveSource {
 public:
  CBlowfishEcbSource(const CBlowfish& cipher, CArchiveSource& stored, uint64_t nStoredSize);

  // The deciphered bytes it yields: none for an empty stream, otherwise
  // PaddedRecordSize(nStoredSize).
  uint64_t Size() const { return m_nSize; }
  size_t Read(void* pBuffer, size_t nCount) override;

 private:
  void FillBuffer();
  void ReadStored(uint8_t* pBuffer, size_t nCount);

  const CBlowfish& m_cipher;
  CArchiveSource& m_stored;
  const uint64_t m_nStoredSize;
  uint64_t m_nStoredRead = 0;
  const uint64_t m_nSize;
  uint64_t m_nBuffered = 0;  // deciphered bytes that have been through the buffer
  std::vector<uint8_t> m_buffer;
  size_t m_nPos = 0;
};

}  // namespace orv
