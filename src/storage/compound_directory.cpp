#include "storage/compound_directory.h"

#include <algorithm>

namespace orv {

using namespace cfb;

namespace {

// Simple upper-casing of one UTF-16 unit, enough for the scripts document
// names are written in (Latin, Greek, Cyrillic).
char16_t UpperUnit(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F))
    return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
      c != 0x17F) {
    // Latin Extended-A pairs upper/lower as even/odd, shifted by one in two runs.
    bool bShifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    bool bLower = bShifted ? (c % 2 == 0) : (c % 2 == 1);
    return bLower ? static_cast<char16_t>(c - 1) : c;
  }
  return c;
}

}  // namespace

int CompareEntryNames(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    char16_t ua = UpperUnit(a[i]), ub = UpperUnit(b[i]);
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  return 0;
}

// FNV-1a over the upper-cased units, folded to 32 bits, except the low two
// bits of the last unit, which are added: names that differ only there, as
// in a numbered series, get neighbouring slots of the index and are looked
// up in order from one cache line, while no group of neighbours is larger
// than four.
uint32_t CNameIndex::Hash(std::u16string_view sName) {
  uint64_t nHash = 0xCBF29CE484222325ull;
  char16_t nLast = sName.empty() ? 0 : UpperUnit(sName.back());
  for (size_t i = 0; i + 1 < sName.size(); ++i)
    nHash = (nHash ^ UpperUnit(sName[i])) * 0x100000001B3ull;
  nHash = (nHash ^ (nLast >> 2)) * 0x100000001B3ull;
  return static_cast<uint32_t>(nHash ^ (nHash >> 32)) + (nLast & 3);
}

std::optional<uint32_t> CNameIndex::Find(std::u16string_view sName,
                                         const std::vector<SCfbEntry>& entries) const {
  if (m_slots.empty()) return std::nullopt;
  uint32_t nSid = m_slots[Probe(Hash(sName), sName, entries)].nSid;
  if (nSid == kNoStream) return std::nullopt;
  return nSid;
}

void CNameIndex::Reserve(size_t nCount) {
  if (2 * nCount <= m_slots.size()) return;
  size_t nSlots = 16;
  while (nSlots < 2 * nCount) nSlots *= 2;
  std::vector<SSlot> old(nSlots);
  old.swap(m_slots);
  for (const SSlot& slot : old)
    if (slot.nSid != kNoStream) Place(slot);
}

void CNameIndex::Insert(uint32_t nSid, uint32_t nHash, const std::vector<SCfbEntry>& entries) {
  Reserve(m_nCount + 1);
  SSlot& slot = m_slots[Probe(nHash, entries[nSid].sName, entries)];
  if (slot.nSid != kNoStream) return;
  slot = SSlot{nHash, nSid};
  ++m_nCount;
}

void CNameIndex::Erase(uint32_t nSid, const std::vector<SCfbEntry>& entries) {
  if (m_slots.empty()) return;
  const std::u16string& sName = entries[nSid].sName;
  size_t nMask = m_slots.size() - 1;
  size_t i = Probe(Hash(sName), sName, entries);
  if (m_slots[i].nSid != nSid) return;
  m_slots[i] = SSlot{};
  --m_nCount;
  // What follows in the same run moves up, so that no probe stops at the hole.
  for (size_t j = (i + 1) & nMask; m_slots[j].nSid != kNoStream; j = (j + 1) & nMask) {
    SSlot slot = m_slots[j];
    m_slots[j] = SSlot{};
    Place(slot);
  }
}

size_t CNameIndex::Probe(uint32_t nHash, std::u16string_view sName,
                         const std::vector<SCfbEntry>& entries) const {
  size_t nMask = m_slots.size() - 1;
  for (size_t i = nHash & nMask;; i = (i + 1) & nMask) {
    const SSlot& slot = m_slots[i];
    if (slot.nSid == kNoStream ||
        (slot.nHash == nHash && CompareEntryNames(entries[slot.nSid].sName, sName) == 0))
      return i;
  }
}

void CNameIndex::Place(SSlot slot) {
  size_t nMask = m_slots.size() - 1;
  size_t i = slot.nHash & nMask;
  while (m_slots[i].nSid != kNoStream) i = (i + 1) & nMask;
  m_slots[i] = slot;
}

void SCfbEntry::Parse(const uint8_t* p) {
  uint16_t nNameBytes = GetLe16(p + kDirNameBytes);
  size_t nUnits = std::min<size_t>(nNameBytes / 2, kDirNameUnits);
  size_t nLength = 0;  // the length counts the terminator; some writers omit it
  while (nLength < nUnits && GetLe16(p + kDirName + 2 * nLength) != 0) ++nLength;
  sName.resize(nLength);
  for (size_t i = 0; i < nLength; ++i) sName[i] = GetLe16(p + kDirName + 2 * i);
  nType = p[kDirType];
  nLeft = GetLe32(p + kDirLeft);
  nRight = GetLe32(p + kDirRight);
  nChild = GetLe32(p + kDirChild);
  std::copy(p + kDirClsid, p + kDirClsid + kDirClsidSize, clsid.begin());
  nStateBits = GetLe32(p + kDirStateBits);
  nCreated = GetLe64(p + kDirCreated);
  nModified = GetLe64(p + kDirModified);
  nStart = GetLe32(p + kDirStart);
  nSize = GetLe32(p + kDirSize);  // the high half is undefined in version 3 files
}

void SCfbEntry::Serialize(uint8_t* p) const {
  std::fill(p, p + kDirEntrySize, 0);
  for (size_t i = 0; i < sName.size(); ++i) PutLe16(p + kDirName + 2 * i, sName[i]);
  PutLe16(p + kDirNameBytes,
          nType == kTypeEmpty ? 0 : static_cast<uint16_t>((sName.size() + 1) * 2));
  p[kDirType] = nType;
  p[kDirColour] = nType == kTypeEmpty ? 0 : 1;  // every node black: valid, and simplest
  PutLe32(p + kDirLeft, nLeft);
  PutLe32(p + kDirRight, nRight);
  PutLe32(p + kDirChild, nChild);
  if (nType != kTypeStream) std::copy(clsid.begin(), clsid.end(), p + kDirClsid);
  PutLe32(p + kDirStateBits, nStateBits);
  if (nType == kTypeStorage) {
    PutLe64(p + kDirCreated, nCreated);
    PutLe64(p + kDirModified, nModified);
  }
  bool bHasData = nType == kTypeStream || nType == kTypeRoot;
  PutLe32(p + kDirStart, bHasData ? nStart : 0);
  PutLe64(p + kDirSize, bHasData ? nSize : 0);
}

void CCompoundDirectory::InitNew() {
  m_entries.assign(1, SCfbEntry{});
  m_entries[0].sName = u"Root Entry";
  m_entries[0].nType = kTypeRoot;
  m_heights.assign(1, 1);
  m_unbalanced.clear();
  m_inTree.assign(1, true);
  m_index.clear();
  m_index[kRootSid];
  m_freeSids.clear();
  m_dirty.assign(1, false);
  m_dirtyList.clear();
  Touch(kRootSid);
}

void CCompoundDirectory::Load(std::vector<SCfbEntry> entries) {
  size_t nCount = entries.size();
  if (nCount == 0) throw CStorageError("The compound file has no directory");
  m_entries = std::move(entries);
  if (m_entries[kRootSid].nType != kTypeRoot)
    throw CStorageError("The compound file's directory does not start with the root storage");

  m_index.clear();
  m_freeSids.clear();
  m_heights.assign(nCount, 1);
  m_unbalanced.clear();
  m_inTree.assign(nCount, false);
  m_inTree[kRootSid] = true;
  m_dirty.assign((nCount + kDirEntriesPerSector - 1) / kDirEntriesPerSector, false);
  m_dirtyList.clear();
  // The walk below goes in tree order; what it needs of the entries, copied
  // out in directory order, stays in cache where the entries would not.
  std::vector<STreeNode> nodes(nCount);
  for (size_t i = 0; i < nCount; ++i) {
    const SCfbEntry& entry = m_entries[i];
    nodes[i] = {entry.nLeft, entry.nRight, entry.nChild, CNameIndex::Hash(entry.sName),
                entry.nType};
  }
  std::vector<uint32_t> pending{kRootSid};
  while (!pending.empty()) {
    uint32_t nStorage = pending.back();
    pending.pop_back();
    IndexStorage(nStorage, nodes, pending);
  }
  for (uint32_t nSid = static_cast<uint32_t>(nCount); nSid-- > 1;)
    if (m_entries[nSid].nType == kTypeEmpty && !m_inTree[nSid]) m_freeSids.push_back(nSid);
}

void CCompoundDirectory::IndexStorage(uint32_t nStorage, const std::vector<STreeNode>& nodes,
                                      std::vector<uint32_t>& pending) {
  CNameIndex& index = m_index[nStorage];
  std::vector<uint32_t> stack, reached;
  if (nodes[nStorage].nChild != kNoStream) stack.push_back(nodes[nStorage].nChild);
  while (!stack.empty()) {
    uint32_t nSid = stack.back();
    stack.pop_back();
    if (nSid >= nodes.size())
      throw CStorageError("The compound file's directory refers to entry " + std::to_string(nSid) +
                          ", which does not exist");
    if (m_inTree[nSid])
      throw CStorageError("The compound file's directory has a loop at entry " +
                          std::to_string(nSid));
    m_inTree[nSid] = true;
    reached.push_back(nSid);
    const STreeNode& node = nodes[nSid];
    if (node.nType != kTypeStorage && node.nType != kTypeStream)
      throw CStorageError("The compound file's directory entry " + std::to_string(nSid) +
                          " has an invalid type");
    if (node.nLeft != kNoStream) stack.push_back(node.nLeft);
    if (node.nRight != kNoStream) stack.push_back(node.nRight);
    if (node.nType == kTypeStorage) {
      m_index[nSid];
      pending.push_back(nSid);
    }
  }
  index.Reserve(reached.size());
  for (uint32_t nSid : reached)
    index.Insert(nSid, nodes[nSid].nHash, m_entries);  // a duplicate name keeps the first
  // Every node was reached before the nodes below it, so going backwards
  // measures both sides of a node before the node.
  for (auto it = reached.rbegin(); it != reached.rend(); ++it) {
    uint32_t nLeft = Height(nodes[*it].nLeft), nRight = Height(nodes[*it].nRight);
    m_heights[*it] = 1 + std::max(nLeft, nRight);
    if (nLeft > nRight + 1 || nRight > nLeft + 1) m_unbalanced.insert(nStorage);
  }
}

SCfbEntry& CCompoundDirectory::Modify(uint32_t nSid) {
  SCfbEntry& entry = m_entries.at(nSid);
  Touch(nSid);
  return entry;
}

void CCompoundDirectory::Touch(uint32_t nSid) {
  uint32_t nSector = nSid / kDirEntriesPerSector;  // m_dirty covers every entry
  if (!m_dirty[nSector]) {
    m_dirty[nSector] = true;
    m_dirtyList.push_back(nSector);
  }
}

std::optional<uint32_t> CCompoundDirectory::Find(uint32_t nParent,
                                                 std::u16string_view sName) const {
  auto it = m_index.find(nParent);
  if (it == m_index.end()) return std::nullopt;
  return it->second.Find(sName, m_entries);
}

void CCompoundDirectory::InOrder(uint32_t nTop, std::vector<uint32_t>& out) const {
  std::vector<uint32_t> stack;
  uint32_t nSid = nTop;
  while (nSid != kNoStream || !stack.empty()) {
    while (nSid != kNoStream) {
      stack.push_back(nSid);
      nSid = m_entries[nSid].nLeft;
    }
    nSid = stack.back();
    stack.pop_back();
    out.push_back(nSid);
    nSid = m_entries[nSid].nRight;
  }
}

std::vector<uint32_t> CCompoundDirectory::Children(uint32_t nParent) const {
  std::vector<uint32_t> children;
  if (m_index.count(nParent)) InOrder(m_entries[nParent].nChild, children);
  return children;
}

uint32_t CCompoundDirectory::NewEntry() {
  if (!m_freeSids.empty()) {
    uint32_t nSid = m_freeSids.back();
    m_freeSids.pop_back();
    m_entries[nSid] = SCfbEntry{};
    m_heights[nSid] = 1;
    return nSid;
  }
  if (m_entries.size() >= kMaxRegSect) throw CStorageError("The compound file is full");
  m_entries.emplace_back();
  m_heights.push_back(1);
  m_inTree.push_back(false);
  m_dirty.resize((m_entries.size() + kDirEntriesPerSector - 1) / kDirEntriesPerSector, false);
  return static_cast<uint32_t>(m_entries.size() - 1);
}

uint32_t CCompoundDirectory::Add(uint32_t nParent, std::u16string_view sName, uint8_t nType) {
  uint32_t nSid = NewEntry();
  SCfbEntry& entry = Modify(nSid);
  entry.sName = sName;
  entry.nType = nType;
  m_index[nParent].Insert(nSid, CNameIndex::Hash(sName), m_entries);
  m_inTree[nSid] = true;
  if (nType == kTypeStorage) m_index[nSid];
  InsertIntoTree(nParent, nSid);
  return nSid;
}

void CCompoundDirectory::InsertIntoTree(uint32_t nParent, uint32_t nSid) {
  if (!m_unbalanced.empty() && m_unbalanced.count(nParent)) RebuildSorted(nParent);
  const std::u16string& sName = m_entries[nSid].sName;
  m_path.clear();
  uint32_t* pLink = &m_entries[nParent].nChild;
  while (*pLink != kNoStream) {
    uint32_t nNode = *pLink;
    m_path.push_back(nNode);
    SCfbEntry& node = m_entries[nNode];
    pLink = CompareEntryNames(sName, node.sName) < 0 ? &node.nLeft : &node.nRight;
  }
  *pLink = nSid;
  Touch(m_path.empty() ? nParent : m_path.back());

  // Back up the path heights grow until a node takes the growth in, or one
  // rotation restores the height the subtree had.
  for (size_t i = m_path.size(); i-- > 0;) {
    uint32_t nNode = m_path[i];
    uint32_t nOldHeight = m_heights[nNode];
    uint32_t nTop = Rebalance(nNode);
    if (nTop != nNode) {
      uint32_t nOwner = i == 0 ? nParent : m_path[i - 1];
      SCfbEntry& owner = m_entries[nOwner];
      (i == 0 ? owner.nChild : owner.nLeft == nNode ? owner.nLeft : owner.nRight) = nTop;
      Touch(nOwner);
    }
    if (m_heights[nTop] == nOldHeight) return;
  }
}

uint32_t CCompoundDirectory::Rebalance(uint32_t nTop) {
  SCfbEntry& top = m_entries[nTop];
  uint32_t nLeft = Height(top.nLeft), nRight = Height(top.nRight);
  if (nLeft > nRight + 1) {
    const SCfbEntry& left = m_entries[top.nLeft];
    if (Height(left.nRight) > Height(left.nLeft)) top.nLeft = RotateLeft(top.nLeft);
    return RotateRight(nTop);
  }
  if (nRight > nLeft + 1) {
    const SCfbEntry& right = m_entries[top.nRight];
    if (Height(right.nLeft) > Height(right.nRight)) top.nRight = RotateRight(top.nRight);
    return RotateLeft(nTop);
  }
  m_heights[nTop] = 1 + std::max(nLeft, nRight);
  return nTop;
}

uint32_t CCompoundDirectory::RotateLeft(uint32_t nTop) {
  SCfbEntry& top = m_entries[nTop];
  uint32_t nNewTop = top.nRight;
  SCfbEntry& newTop = m_entries[nNewTop];
  top.nRight = newTop.nLeft;
  newTop.nLeft = nTop;
  m_heights[nTop] = 1 + std::max(Height(top.nLeft), Height(top.nRight));
  m_heights[nNewTop] = 1 + std::max(m_heights[nTop], Height(newTop.nRight));
  Touch(nTop);
  Touch(nNewTop);
  return nNewTop;
}

uint32_t CCompoundDirectory::RotateRight(uint32_t nTop) {
  SCfbEntry& top = m_entries[nTop];
  uint32_t nNewTop = top.nLeft;
  SCfbEntry& newTop = m_entries[nNewTop];
  top.nLeft = newTop.nRight;
  newTop.nRight = nTop;
  m_heights[nTop] = 1 + std::max(Height(top.nLeft), Height(top.nRight));
  m_heights[nNewTop] = 1 + std::max(m_heights[nTop], Height(newTop.nLeft));
  Touch(nTop);
  Touch(nNewTop);
  return nNewTop;
}

void CCompoundDirectory::RebuildSorted(uint32_t nParent, uint32_t nLeaveOut) {
  // Sorting also mends the order of a tree some other writer left unsorted.
  std::vector<uint32_t> siblings = Children(nParent);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), nLeaveOut), siblings.end());
  std::sort(siblings.begin(), siblings.end(), [&](uint32_t a, uint32_t b) {
    return CompareEntryNames(m_entries[a].sName, m_entries[b].sName) < 0;
  });
  m_entries[nParent].nChild =
      siblings.empty() ? kNoStream : BuildBalanced(siblings, 0, siblings.size());
  Touch(nParent);
  m_unbalanced.erase(nParent);
}

uint32_t CCompoundDirectory::BuildBalanced(const std::vector<uint32_t>& sids, size_t nBegin,
                                           size_t nEnd) {
  size_t nMid = nBegin + (nEnd - nBegin) / 2;
  uint32_t nSid = sids[nMid];
  uint32_t nLeft = nBegin < nMid ? BuildBalanced(sids, nBegin, nMid) : kNoStream;
  uint32_t nRight = nMid + 1 < nEnd ? BuildBalanced(sids, nMid + 1, nEnd) : kNoStream;
  SCfbEntry& entry = m_entries[nSid];
  if (entry.nLeft != nLeft || entry.nRight != nRight) {
    entry.nLeft = nLeft;
    entry.nRight = nRight;
    Touch(nSid);
  }
  m_heights[nSid] = 1 + std::max(Height(nLeft), Height(nRight));
  return nSid;
}

std::vector<SCfbEntry> CCompoundDirectory::Remove(uint32_t nParent, uint32_t nSid) {
  std::vector<SCfbEntry> removedStreams;
  // The remaining siblings are rebuilt: removal is rare.
  m_index[nParent].Erase(nSid, m_entries);
  RebuildSorted(nParent, nSid);

  std::vector<uint32_t> doomed{nSid};
  while (!doomed.empty()) {
    uint32_t nDead = doomed.back();
    doomed.pop_back();
    if (m_entries[nDead].IsStream()) removedStreams.push_back(m_entries[nDead]);
    if (m_entries[nDead].nType == kTypeStorage) {
      for (uint32_t nChild : Children(nDead)) doomed.push_back(nChild);
      m_index.erase(nDead);
      m_unbalanced.erase(nDead);
    }
    Modify(nDead) = SCfbEntry{};
    m_inTree[nDead] = false;
    m_freeSids.push_back(nDead);
  }
  return removedStreams;
}

std::vector<uint32_t> CCompoundDirectory::DirtySectors() const {
  std::vector<uint32_t> sectors = m_dirtyList;
  std::sort(sectors.begin(), sectors.end());
  return sectors;
}

void CCompoundDirectory::SerializeSector(uint32_t nSector, uint8_t* pOut) const {
  for (uint32_t i = 0; i < kDirEntriesPerSector; ++i) {
    size_t nSid = static_cast<size_t>(nSector) * kDirEntriesPerSector + i;
    (nSid < m_entries.size() ? m_entries[nSid] : SCfbEntry{})
        .Serialize(pOut + size_t{i} * kDirEntrySize);
  }
}

void CCompoundDirectory::MarkCommitted() {
  for (uint32_t nSector : m_dirtyList) m_dirty[nSector] = false;
  m_dirtyList.clear();
}

}  // namespace orv
