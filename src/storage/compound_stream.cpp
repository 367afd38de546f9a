#include "storage/compound_stream.h"

#include <algorithm>
#include <vector>

#include "storage/compound_file.h"

namespace orv {

using namespace cfb;

CCompoundStream::CCompoundStream(CCompoundFile& file, uint32_t nSid) : m_file(file), m_nSid(nSid) {}

CCompoundStream::~CCompoundStream() { m_file.m_openStreams[m_nSid] = false; }

uint32_t CCompoundStream::UnitSize() const { return m_bMini ? kMiniSectorSize : kSectorSize; }

uint64_t CCompoundStream::Size() const { return m_file.m_directory.Entry(m_nSid).nSize; }

size_t CCompoundStream::Read(void* pBuffer, size_t nCount) {
  uint64_t nSize = Size();
  if (m_nPosition >= nSize) return 0;
  size_t nRead = static_cast<size_t>(std::min<uint64_t>(nCount, nSize - m_nPosition));
  m_file.TransferUnits(m_bMini, m_units, m_nPosition, static_cast<uint8_t*>(pBuffer), nullptr,
                       nRead);
  m_nPosition += nRead;
  return nRead;
}

void CCompoundStream::Write(const void* pData, size_t nCount) {
  if (nCount == 0) return;
  m_file.RequireWritable();
  uint64_t nEnd = m_nPosition + nCount;
  if (nEnd > kMaxStreamSize)
    throw CStorageError("A stream of a compound file can't grow beyond 2 GiB");
  if (m_nPosition > Size()) SetSize(m_nPosition);
  if (nEnd > Size()) Resize(nEnd);
  WriteAt(m_nPosition, static_cast<const uint8_t*>(pData), nCount);
  m_nPosition = nEnd;
}

void CCompoundStream::WriteAt(uint64_t nOffset, const uint8_t* pData, size_t nCount) {
  // Units the committed state still uses are never overwritten: they are
  // replaced by fresh ones, keeping the bytes this write does not cover.
  uint32_t nUnitSize = UnitSize();
  uint64_t nEnd = nOffset + nCount;
  uint64_t nSize = Size();
  CAllocationTable& table = m_file.Table(m_bMini);
  uint32_t& rStart = m_file.m_directory.Modify(m_nSid).nStart;
  std::vector<uint8_t> unit;
  for (size_t i = nOffset / nUnitSize; i <= (nEnd - 1) / nUnitSize; ++i) {
    uint32_t nOld = m_units[i];
    if (!table.IsCommittedUsed(nOld)) continue;
    uint64_t nUnitStart = static_cast<uint64_t>(i) * nUnitSize;
    uint64_t nUnitEnd = std::min<uint64_t>(nUnitStart + nUnitSize, nSize);
    bool bCovered = nOffset <= nUnitStart && nEnd >= nUnitEnd;
    uint32_t nNew = m_file.AllocateUnit(m_bMini);
    if (!bCovered) {
      unit.resize(nUnitSize);
      m_file.m_pFile->ReadAt(m_file.UnitOffset(m_bMini, nOld), unit.data(), nUnitSize);
      m_file.m_pFile->WriteAt(m_file.UnitOffset(m_bMini, nNew), unit.data(), nUnitSize);
    }
    m_file.ReplaceUnit(m_bMini, m_units, i, nNew, rStart);
  }
  m_file.TransferUnits(m_bMini, m_units, nOffset, nullptr, pData, nCount);
}

void CCompoundStream::WriteZeros(uint64_t nFrom, uint64_t nTo) {
  static const std::vector<uint8_t> zeros(1 << 16, 0);
  while (nFrom < nTo) {
    size_t nCount = static_cast<size_t>(std::min<uint64_t>(zeros.size(), nTo - nFrom));
    WriteAt(nFrom, zeros.data(), nCount);
    nFrom += nCount;
  }
}

void CCompoundStream::SetSize(uint64_t nSize) {
  m_file.RequireWritable();
  if (nSize > kMaxStreamSize)
    throw CStorageError("A stream of a compound file can't grow beyond 2 GiB");
  uint64_t nOldSize = Size();
  Resize(nSize);
  if (nSize > nOldSize) WriteZeros(nOldSize, nSize);
}

void CCompoundStream::Resize(uint64_t nSize) {
  uint64_t nOldSize = Size();
  bool bMini = nSize < kMiniStreamCutoff;
  std::vector<uint8_t> kept;
  if (bMini != m_bMini) {
    // Crossing the cutoff moves the stream; both sides of it are small.
    kept.resize(static_cast<size_t>(std::min(nOldSize, nSize)));
    uint64_t nPosition = m_nPosition;
    m_nPosition = 0;
    Read(kept.data(), kept.size());
    m_nPosition = nPosition;
    for (uint32_t nUnit : m_units) m_file.Table(m_bMini).Free(nUnit);
    m_units.clear();
    m_bMini = bMini;
  }
  SCfbEntry& entry = m_file.m_directory.Modify(m_nSid);
  size_t nUnits = static_cast<size_t>((nSize + UnitSize() - 1) / UnitSize());
  CAllocationTable& table = m_file.Table(m_bMini);
  if (nUnits < m_units.size()) {
    for (size_t i = nUnits; i < m_units.size(); ++i) table.Free(m_units[i]);
    m_units.resize(nUnits);
    if (nUnits > 0) table.Set(m_units.back(), kEndOfChain);
  }
  m_file.ExtendChain(m_units, nUnits, m_bMini, entry.nStart);
  if (m_units.empty()) entry.nStart = kEndOfChain;
  m_file.m_directory.Modify(m_nSid).nSize = nSize;
  if (!kept.empty()) WriteAt(0, kept.data(), kept.size());
}

}  // namespace orv
