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
  void Set(uint32_t nUnit, uint32_t nValue);
  bool IsCommittedUsed(uint32_t nUnit) const {
    return nUnit < m_committed.size() && m_committed[nUnit] != cfb::kFreeSect;
  }

  // A unit free now and at the last commit, marked as the end of a chain.
  uint32_t Allocate();
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

  // Pages of kEntriesPerSector entries changed since the last commit, ascending.
  std::vector<uint32_t> DirtyPages() const;
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
  void MarkDirty(uint32_t nUnit);

  std::vector<uint32_t> m_entries;
  std::vector<uint32_t> m_committed;
  std::vector<bool> m_dirtyPages;
  std::vector<uint32_t> m_dirtyList;
  uint32_t m_nHint = 0;  // no unit below it can be allocated
  uint32_t m_nReservedUnit;
};

}  // namespace orv
