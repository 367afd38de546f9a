#include "storage/allocation_table.h"

#include <algorithm>
#include <string>

namespace orv {

using namespace cfb;

void CAllocationTable::Load(std::vector<uint32_t> entries) {
  m_entries = std::move(entries);
  m_committed.clear();
  m_bCommittedApart = false;
  m_dirtyPages.assign((m_entries.size() + kEntriesPerSector - 1) / kEntriesPerSector, false);
  m_dirtyList.clear();
  m_nHint = 0;
}

void CAllocationTable::KeepCommitted() {
  m_committed = m_entries;
  m_bCommittedApart = true;
}

void CAllocationTable::Grow(uint32_t nUnit) {
  size_t nPages = static_cast<size_t>(nUnit) / kEntriesPerSector + 1;
  m_entries.resize(nPages * kEntriesPerSector, kFreeSect);
  m_dirtyPages.resize(nPages, false);
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
  if (m_bCommittedApart && nUnit < m_committed.size()) m_committed[nUnit] = nValue;
}

bool CAllocationTable::IsAllocatable(uint64_t nUnit) const {
  if (nUnit > kMaxRegSect || nUnit == m_nReservedUnit) return false;
  return nUnit >= m_entries.size() || (m_entries[nUnit] == kFreeSect && !IsCommittedUsed(nUnit));
}

void CAllocationTable::Extend(std::vector<uint32_t>& chain, size_t nUnits, uint32_t& rStart) {
  if (chain.empty()) chain.reserve(nUnits);  // a chain that grows in steps doubles instead
  while (chain.size() < nUnits) {
    // The units after a free one are mostly free as well: they join its run
    // without a search and a Set each.
    uint32_t nFirst = Allocate();  // its Set has kept the committed table aside
    uint32_t nLast = nFirst;
    while (chain.size() + (nLast - nFirst) + 1 < nUnits && IsAllocatable(nLast + 1ull)) ++nLast;
    if (nLast >= m_entries.size()) Grow(nLast);
    for (uint32_t nUnit = nFirst; nUnit < nLast; ++nUnit) m_entries[nUnit] = nUnit + 1;
    m_entries[nLast] = kEndOfChain;
    for (uint32_t nPage = nFirst / kEntriesPerSector; nPage <= nLast / kEntriesPerSector; ++nPage)
      MarkDirty(nPage * kEntriesPerSector);
    m_nHint = nLast + 1;
    if (chain.empty())
      rStart = nFirst;
    else
      Set(chain.back(), nFirst);
    for (uint32_t nUnit = nFirst; nUnit <= nLast; ++nUnit) chain.push_back(nUnit);
  }
}

std::vector<uint32_t> CAllocationTable::Chain(uint32_t nStart, uint64_t nMaxUnits, uint32_t nLimit,
                                              const char* pWhat) const {
  std::vector<uint32_t> units;
  Chain(nStart, nMaxUnits, nLimit, pWhat, units);
  return units;
}

void CAllocationTable::Chain(uint32_t nStart, uint64_t nMaxUnits, uint32_t nLimit,
                             const char* pWhat, std::vector<uint32_t>& rUnits,
                             std::vector<uint8_t>* pClaimed) const {
  rUnits.clear();
  // A chain of known length that can exist gets its memory at once.
  if (nMaxUnits <= std::min<uint64_t>(nLimit, m_entries.size())) rUnits.reserve(nMaxUnits);
  auto damaged = [&](const std::string& sWhy) {
    return CStorageError(std::string("The ") + pWhat + " " + sWhy);
  };
  auto loops = [&] { return damaged("has a chain of sectors that loops"); };
  // A unit met twice is a loop, which also ends the walk within the units
  // that exist. The caller's claims, when given, mark the units and stay
  // marked; without them, units are marked only from a chain's first step
  // back on, as one whose units ascend can't meet a unit twice.
  bool bMarking = false;
  auto clearMarks = [&] {
    if (bMarking)
      for (uint32_t nUnit : rUnits) m_walked[nUnit] = 0;
  };
  try {
    // In locals, as the compiler can't tell that stores into rUnits leave them be.
    const uint32_t* pEntries = m_entries.data();
    uint32_t nEnd = static_cast<uint32_t>(std::min<size_t>(nLimit, m_entries.size()));
    uint32_t nPrevious = 0;
    uint32_t nUnit = nStart;
    for (uint64_t nCount = 0; nUnit != kEndOfChain && nCount < nMaxUnits; ++nCount) {
      if (nUnit >= nEnd)
        throw damaged("refers to sector " + std::to_string(nUnit) + ", which is outside the file");
      if (pClaimed) {
        if ((*pClaimed)[nUnit]) {
          if (std::find(rUnits.begin(), rUnits.end(), nUnit) != rUnits.end()) throw loops();
          throw damaged("shares sector " + std::to_string(nUnit) + " with another chain");
        }
        (*pClaimed)[nUnit] = 1;
      } else {
        if (!bMarking && nUnit <= nPrevious && nCount > 0) {
          if (m_walked.size() < m_entries.size()) m_walked.resize(m_entries.size(), 0);
          bMarking = true;
          for (uint32_t nEarlier : rUnits) m_walked[nEarlier] = 1;
        }
        if (bMarking) {
          if (m_walked[nUnit]) throw loops();
          m_walked[nUnit] = 1;
        }
      }
      rUnits.push_back(nUnit);
      nPrevious = nUnit;
      nUnit = pEntries[nUnit];
    }
  } catch (...) {
    clearMarks();
    throw;
  }
  clearMarks();
}

std::vector<uint32_t> CAllocationTable::DirtyPages() const {
  std::vector<uint32_t> pages = m_dirtyList;
  std::sort(pages.begin(), pages.end());
  return pages;
}

void CAllocationTable::SerializePage(uint32_t nPage, uint8_t* pOut) const {
  for (uint32_t i = 0; i < kEntriesPerSector; ++i)
    PutLe32(pOut + size_t{4} * i, Get(nPage * kEntriesPerSector + i));
}

void CAllocationTable::MarkCommitted() {
  if (!m_bCommittedApart) return;  // nothing changed
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
