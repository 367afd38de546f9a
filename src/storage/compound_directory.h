#pragma once
// The directory of a compound file: its entries, the tree of siblings under
// each storage, and an index by name so that a look-up never walks the tree.
// Sibling trees are kept ordered (shorter names first, then by upper-cased
// UTF-16 units) and shallow (AVL-balanced), so that tools which walk them
// recursively cope with storages of many thousands of streams.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
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

// The elements of one storage by name, ignoring case as the format does: a
// flat table of name hashes and entry ids, probed linearly, so that a look-up
// allocates nothing and touches little memory. The names stay in the
// directory's entries, which every call is handed.
class CNameIndex {
 public:
  static uint32_t Hash(std::u16string_view sName);

  std::optional<uint32_t> Find(std::u16string_view sName,
                               const std::vector<SCfbEntry>& entries) const;
  // Makes room for `nCount` elements in all.
  void Reserve(size_t nCount);
  // Adds `nSid` under its name, whose Hash is `nHash`, unless an element of
  // that name is there already.
  void Insert(uint32_t nSid, uint32_t nHash, const std::vector<SCfbEntry>& entries);
  // Drops `nSid` if it is the element indexed under its name.
  void Erase(uint32_t nSid, const std::vector<SCfbEntry>& entries);

 private:
  struct SSlot {
    uint32_t nHash = 0;
    uint32_t nSid = cfb::kNoStream;  // none: the slot is free
  };
  // The slot holding that name, or the free slot where its probe ends.
  size_t Probe(uint32_t nHash, std::u16string_view sName,
               const std::vector<SCfbEntry>& entries) const;
  void Place(SSlot slot);

  std::vector<SSlot> m_slots;  // a power of two of them, at most half taken
  size_t m_nCount = 0;
};

class CCompoundDirectory {
 public:
  static constexpr uint32_t kRootSid = 0;

  // A directory holding only the root storage.
  void InitNew();
  // Takes the entries a file holds and checks the tree: every link in range,
  // no entry reached twice. Throws CStorageError on a damaged tree.
  void Load(std::vector<SCfbEntry> entries);

  size_t Count() const { return m_entries.size(); }
  // Whether the entry is the root or an element below it; entries that are
  // not are free, or debris another writer left.
  bool IsInTree(uint32_t nSid) const { return nSid < m_inTree.size() && m_inTree[nSid]; }
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
  bool IsDirty() const { return !m_dirtyList.empty(); }
  void SerializeSector(uint32_t nSector, uint8_t* pOut) const;
  void MarkCommitted();

 private:
  void Touch(uint32_t nSid);
  uint32_t NewEntry();
  // What loading walks the trees by.
  struct STreeNode {
    uint32_t nLeft, nRight, nChild;
    uint32_t nHash;  // of the name
    uint8_t nType;
  };
  // Indexes the children of a storage and measures their tree; storages
  // below it go on `pending`.
  void IndexStorage(uint32_t nStorage, const std::vector<STreeNode>& nodes,
                    std::vector<uint32_t>& pending);
  uint32_t Height(uint32_t nSid) const { return nSid == cfb::kNoStream ? 0 : m_heights[nSid]; }
  void InsertIntoTree(uint32_t nParent, uint32_t nSid);
  // Restores the balance of the subtree from `nTop` after an insertion below
  // it and refreshes its height; returns its new top.
  uint32_t Rebalance(uint32_t nTop);
  uint32_t RotateLeft(uint32_t nTop);
  uint32_t RotateRight(uint32_t nTop);
  // Rebuilds the tree of a storage's children sorted by name and balanced,
  // leaving `nLeaveOut` out.
  void RebuildSorted(uint32_t nParent, uint32_t nLeaveOut = cfb::kNoStream);
  // The top of a balanced tree of sids[nBegin, nEnd), which is not empty.
  uint32_t BuildBalanced(const std::vector<uint32_t>& sids, size_t nBegin, size_t nEnd);
  void InOrder(uint32_t nTop, std::vector<uint32_t>& out) const;

  std::vector<SCfbEntry> m_entries;
  std::unordered_map<uint32_t, CNameIndex> m_index;  // by storage
  std::vector<uint32_t> m_freeSids;
  // By sid: the height of the sibling subtree it heads, 1 for a leaf. The
  // trees this class builds are AVL trees: at every node the two sides
  // differ in height by one at most.
  std::vector<uint32_t> m_heights;
  // Storages whose tree another writer left less balanced: rebuilt before it grows.
  std::unordered_set<uint32_t> m_unbalanced;
  std::vector<bool> m_inTree;    // by sid: reached from the root
  std::vector<uint32_t> m_path;  // scratch of InsertIntoTree
  std::vector<uint8_t> m_dirty;  // by directory sector
  std::vector<uint32_t> m_dirtyList;
};

}  // namespace orv
