#pragma once
// The directory of a compound file: its entries, the tree of siblings under
// each storage, and an index by name so that a look-up never walks the tree.
// Sibling trees are kept ordered (shorter names first, then by upper-cased
// UTF-16 units) and shallow, so that tools which walk them recursively cope
// with storages of many thousands of streams.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/compound_format.h"

namespace orv {

struct SCfbEntry {
  std::u16string sName;
  uint8_t nType = cfb::kTypeEmpty;
  uint32_t nLeft = cfb::kNoStream;
  uint32_t nRight = cfb::kNoStream;
  uint32_t nChild = cfb::kNoStream;
  std::array<uint8_t, 16> clsid{};
  uint32_t nStateBits = 0;
  uint64_t nCreated = 0;
  uint64_t nModified = 0;
  uint32_t nStart = cfb::kEndOfChain;
  uint64_t nSize = 0;

  bool IsStream() const { return nType == cfb::kTypeStream; }
  bool IsStorage() const { return nType == cfb::kTypeStorage || nType == cfb::kTypeRoot; }
  void Parse(const uint8_t* p);
  void Serialize(uint8_t* p) const;
};

// Orders names the way the format requires: length first, then upper case.
int CompareEntryNames(std::u16string_view a, std::u16string_view b);

class CCompoundDirectory {
 public:
  static constexpr uint32_t kRootSid = 0;

  // A directory holding only the root storage.
  void InitNew();
  // Parses `nCount` entries and checks the tree: every link in range, no entry
  // reached twice. Throws CStorageError on a damaged tree.
  void Load(const uint8_t* pData, size_t nCount);

  size_t Count() const { return m_entries.size(); }
  const SCfbEntry& Entry(uint32_t nSid) const { return m_entries.at(nSid); }
  // For changes to an entry's data; its directory sector is marked dirty.
  SCfbEntry& Modify(uint32_t nSid);

  std::optional<uint32_t> Find(uint32_t nParent, std::u16string_view sName) const;
  // The children of a storage in sibling order.
  std::vector<uint32_t> Children(uint32_t nParent) const;
  // Adds a new empty element; the caller has checked that the name is free.
  uint32_t Add(uint32_t nParent, std::u16string_view sName, uint8_t nType);
  // Removes an element with everything below it; returns the streams removed
  // so that the caller can free their sectors.
  std::vector<SCfbEntry> Remove(uint32_t nParent, uint32_t nSid);

  // Directory sectors changed since the last commit.
  std::vector<uint32_t> DirtySectors() const;
  void SerializeSector(uint32_t nSector, uint8_t* pOut) const;
  void MarkCommitted();

 private:
  using CNameIndex = std::unordered_map<std::u16string, uint32_t>;

  void Touch(uint32_t nSid);
  uint32_t NewEntry();
  void IndexStorage(uint32_t nStorage, std::vector<bool>& visited, std::vector<uint32_t>& pending);
  void InsertIntoTree(uint32_t nParent, uint32_t nSid);
  size_t SubtreeSize(uint32_t nSid) const;
  // Rebuilds the subtree hanging from `rLink` as a balanced tree of `sids`.
  void RebuildTree(uint32_t& rLink, std::vector<uint32_t> sids, uint32_t nLinkOwner);
  uint32_t BuildBalanced(const std::vector<uint32_t>& sids, size_t nBegin, size_t nEnd);
  void InOrder(uint32_t nTop, std::vector<uint32_t>& out) const;

  std::vector<SCfbEntry> m_entries;
  std::unordered_map<uint32_t, CNameIndex> m_index;  // storage -> upper-cased name -> sid
  std::vector<uint32_t> m_freeSids;
  std::vector<bool> m_dirty;
  std::vector<uint32_t> m_dirtyList;
};

}  // namespace orv
