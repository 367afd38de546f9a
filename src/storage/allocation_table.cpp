#include "storage/allocation_table.h"

#include <algorithm>
#include <string>

namespace orv {

using namespace cfb;

void CAllocationTable::Load(std::vector<uint32_t> entries) {
  m_entries = std::move(entries);
  m_committed = m_entries;
  m_dirtyPages.assign((m_entries.size() + kEntriesPerSector - 1) / kEntriesPerSector, false);
  m_dirtyList.clear();
  m_nHint = 0;
}

void CAllocationTable::MarkDirty(uint32_t nUnit) {
  uint32_t nPage = nUnit / kEntriesPerSector;
  if (nPage >= m_dirtyPages.size()) m_dirtyPages.resize(nPage + 1, false);
  if (!m_dirtyPages[nPage]) {
    m_dirtyPages[nPage] = true;
    m_dirtyList.push_back(nPage);
  }
}

void CAllocationTable::Set(uint32_t nUnit, uint32_t nValue) {
  if (nUnit >= m_entries.size()) {
    // Grow a whole page at a time so the table always ends on a page boundary.
    size_t nNewSize = (static_cast<size_t>(nUnit) / kEntriesPerSector + 1) * kEntriesPerSector;
    m_entries.resize(nNewSize, kFreeSect);
  }
  if (m_entries[nUnit] == nValue) return;
  m_entries[nUnit] = nValue;
  MarkDirty(nUnit);
}

uint32_t CAllocationTable::Allocate() {
  uint32_t nUnit = m_nHint;
  while (nUnit < m_entries.size() &&
         (m_entries[nUnit] != kFreeSect || IsCommittedUsed(nUnit) || nUnit == m_nReservedUnit)) {
    if (nUnit == m_nReservedUnit && m_entries[nUnit] == kFreeSect) Set(nUnit, kEndOfChain);
    ++nUnit;
  }
  if (nUnit == m_nReservedUnit) {
    Set(nUnit, kEndOfChain);
    ++nUnit;
  }
  if (nUnit > kMaxRegSect) throw CStorageError("The compound file is full");
  Set(nUnit, kEndOfChain);
  m_nHint = nUnit + 1;
  return nUnit;
}

void CAllocationTable::Free(uint32_t nUnit) {
  Set(nUnit, kFreeSect);
  if (!IsCommittedUsed(nUnit)) m_nHint = std::min(m_nHint, nUnit);
}

void CAllocationTable::Reserve(uint32_t nUnit, uint32_t nValue) {
  if (nUnit >= m_entries.size()) return;
  m_entries[nUnit] = nValue;
  if (nUnit < m_committed.size()) m_committed[nUnit] = nValue;
}

std::vector<uint32_t> CAllocationTable::Chain(uint32_t nStart, uint64_t nMaxUnits,
                                              uint32_t nLimit, const char* pWhat) const {
  std::vector<uint32_t> units;
  // A chain can never be longer than the units that exist; that bounds both
  // the memory and the walk of a chain that loops.
  uint64_t nCap = std::min<uint64_t>(nMaxUnits, std::min<uint64_t>(nLimit, m_entries.size()));
  uint32_t nUnit = nStart;
  while (nUnit != kEndOfChain && units.size() < nMaxUnits) {
    if (nUnit >= nLimit || nUnit >= m_entries.size())
      throw CStorageError(std::string("The ") + pWhat + " refers to sector " +
                          std::to_string(nUnit) + ", which is outside the file");
    if (units.size() >= nCap)
      throw CStorageError(std::string("The ") + pWhat + " has a chain of sectors that loops");
    units.push_back(nUnit);
    nUnit = m_entries[nUnit];
  }
  // A chain that runs into itself before its length is reached is as bad as one that loops.
  std::vector<uint32_t> sorted = units;
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
    throw CStorageError(std::string("The ") + pWhat + " has a chain of sectors that loops");
  return units;
}

std::vector<uint32_t> CAllocationTable::DirtyPages() const {
  std::vector<uint32_t> pages = m_dirtyList;
  std::sort(pages.begin(), pages.end());
  return pages;
}

void CAllocationTable::SerializePage(uint32_t nPage, uint8_t* pOut) const {
  for (uint32_t i = 0; i < kEntriesPerSector; ++i)
    PutLe32(pOut + 4 * i, Get(nPage * kEntriesPerSector + i));
}

void CAllocationTable::MarkCommitted() {
  if (m_committed.size() < m_entries.size()) m_committed.resize(m_entries.size(), kFreeSect);
  for (uint32_t nPage : m_dirtyList) {
    size_t nBegin = static_cast<size_t>(nPage) * kEntriesPerSector;
    size_t nEnd = std::min(nBegin + kEntriesPerSector, m_entries.size());
    for (size_t i = nBegin; i < nEnd; ++i) {
      // Units the old state used and the new one freed become reusable now.
      if (m_entries[i] == kFreeSect && m_committed[i] != kFreeSect)
        m_nHint = std::min<uint32_t>(m_nHint, static_cast<uint32_t>(i));
      m_committed[i] = m_entries[i];
    }
    m_dirtyPages[nPage] = false;
  }
  m_dirtyList.clear();
}

int64_t CAllocationTable::HighestUsed() const {
  for (size_t i = m_entries.size(); i-- > 0;)
    if (m_entries[i] != kFreeSect) return static_cast<int64_t>(i);
  return -1;
}

}  // namespace orv
