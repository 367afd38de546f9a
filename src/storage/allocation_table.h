#pragma once
// One allocation table of a compound file (the FAT or the mini FAT) as it is
// being changed, beside the table as it was last committed. A unit may be
// handed out only when it is free in both: what the committed file still
// uses is never overwritten, which is what makes a commit all-or-nothing.

#include <cstdint>
#include <vector>

#include "storage/compound_format.h"

namespace orv {

class CAllocationTable {
 public:
  // `nReservedUnit` is never handed out (the FAT's range-lock sector).
  explicit CAllocationTable(uint32_t nReservedUnit = cfb::kFreeSect)
      : m_nReservedUnit(nReservedUnit) {}

  // Takes `entries` as both the working and the committed table.
  void Load(std::vector<uint32_t> entries);

  size_t Size() const { return m_entries.size(); }
  uint32_t Get(uint32_t nUnit) const {
    return nUnit < m_entries.size() ? m_entries[nUnit] : cfb::kFreeSect;
  }
  void Set(uint32_t nUnit, uint32_t nValue) {
    if (nUnit >= m_entries.size()) Grow(nUnit);
    if (m_entries[nUnit] == nValue) return;
    if (!m_bCommittedApart) KeepCommitted();
    m_entries[nUnit] = nValue;
    MarkDirty(nUnit);
  }
  bool IsCommittedUsed(uint32_t nUnit) const {
    const std::vector<uint32_t>& committed = m_bCommittedApart ? m_committed : m_entries;
    return nUnit < committed.size() && committed[nUnit] != cfb::kFreeSect;
  }

  // A unit free now and at the last commit, marked as the end of a chain.
  uint32_t Allocate();
  // Grows `chain` to `nUnits` fresh units, linked in order; `rStart` is the
  // link that points at the first unit.
  void Extend(std::vector<uint32_t>& chain, size_t nUnits, uint32_t& rStart);
  // Marks a unit free; it becomes reusable at once if the last commit did not use it.
  void Free(uint32_t nUnit);
  // Records in memory that a unit the file uses is taken, when the file's own
  // table says otherwise, so that it is never handed out. The mark reaches
  // the file with the next commit that writes its page.
  void Reserve(uint32_t nUnit, uint32_t nValue);

  // The units of the chain from `nStart`, at most `nMaxUnits` of them; units
  // must be below `nLimit`. Throws CStorageError on a loop or a unit out of range.
  std::vector<uint32_t> Chain(uint32_t nStart, uint64_t nMaxUnits, uint32_t nLimit,
                              const char* pWhat) const;
  // The same into `rUnits`, whose memory is reused: walking many chains then
  // allocates nothing. With `pClaimed`, one mark for every unit of the table,
  // the units are marked there as well, and one an earlier chain marked is
  // refused too.
  void Chain(uint32_t nStart, uint64_t nMaxUnits, uint32_t nLimit, const char* pWhat,
             std::vector<uint32_t>& rUnits, std::vector<uint8_t>* pClaimed = nullptr) const;

  // Pages of kEntriesPerSector entries changed since the last commit, ascending.
  std::vector<uint32_t> DirtyPages() const;
  bool IsDirty() const { return !m_dirtyList.empty(); }
  bool IsPageDirty(uint32_t nPage) const {
    return nPage < m_dirtyPages.size() && m_dirtyPages[nPage];
  }
  // The page's entries as they go on disk (free beyond the end of the table).
  void SerializePage(uint32_t nPage, uint8_t* pOut) const;
  // The working table becomes the committed one.
  void MarkCommitted();
  // The highest unit in use, or -1 when none is.
  int64_t HighestUsed() const;

 private:
  // Makes room up to `nUnit`, a whole page at a time so that the table
  // always ends on a page boundary.
  void Grow(uint32_t nUnit);
  // Copies the table aside as the committed one, before its first change.
  void KeepCommitted();
  // Free now and at the last commit, and not reserved.
  bool IsAllocatable(uint64_t nUnit) const;
  void MarkDirty(uint32_t nUnit) {
    uint32_t nPage = nUnit / cfb::kEntriesPerSector;
    if (!m_dirtyPages[nPage]) {
      m_dirtyPages[nPage] = true;
      m_dirtyList.push_back(nPage);
    }
  }

  std::vector<uint32_t> m_entries;
  // Until the first change the committed table is m_entries itself, so that
  // a file only read never copies its tables.
  std::vector<uint32_t> m_committed;
  bool m_bCommittedApart = false;
  std::vector<uint8_t> m_dirtyPages;  // one for every page of m_entries
  std::vector<uint32_t> m_dirtyList;
  uint32_t m_nHint = 0;  // no unit below it can be allocated
  // Units of the chain being walked, to see a loop; all clear between walks.
  mutable std::vector<uint8_t> m_walked;
  uint32_t m_nReservedUnit;
};

}  // namespace orv
