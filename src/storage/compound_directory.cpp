#include "storage/compound_directory.h"

#include <algorithm>
#include <cmath>

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

std::u16string UpperName(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = UpperUnit(c);
  return out;
}

}  // namespace

int CompareEntryNames(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t ua = UpperUnit(a[i]), ub = UpperUnit(b[i]);
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  return 0;
}

void SCfbEntry::Parse(const uint8_t* p) {
  uint16_t nNameBytes = GetLe16(p + 0x40);
  size_t nUnits = std::min<size_t>(nNameBytes / 2, 32);
  sName.clear();
  for (size_t i = 0; i < nUnits; ++i) {
    char16_t c = GetLe16(p + 2 * i);
    if (c == 0) break;  // the length counts the terminator; some writers omit it
    sName.push_back(c);
  }
  nType = p[0x42];
  nLeft = GetLe32(p + 0x44);
  nRight = GetLe32(p + 0x48);
  nChild = GetLe32(p + 0x4C);
  std::copy(p + 0x50, p + 0x60, clsid.begin());
  nStateBits = GetLe32(p + 0x60);
  nCreated = GetLe64(p + 0x64);
  nModified = GetLe64(p + 0x6C);
  nStart = GetLe32(p + 0x74);
  nSize = GetLe32(p + 0x78);  // the high half is undefined in version 3 files
}

void SCfbEntry::Serialize(uint8_t* p) const {
  std::fill(p, p + kDirEntrySize, 0);
  for (size_t i = 0; i < sName.size(); ++i) PutLe16(p + 2 * i, sName[i]);
  PutLe16(p + 0x40, nType == kTypeEmpty ? 0 : static_cast<uint16_t>((sName.size() + 1) * 2));
  p[0x42] = nType;
  p[0x43] = nType == kTypeEmpty ? 0 : 1;  // every node black: valid, and simplest
  PutLe32(p + 0x44, nLeft);
  PutLe32(p + 0x48, nRight);
  PutLe32(p + 0x4C, nChild);
  if (nType != kTypeStream) std::copy(clsid.begin(), clsid.end(), p + 0x50);
  PutLe32(p + 0x60, nStateBits);
  if (nType == kTypeStorage) {
    PutLe64(p + 0x64, nCreated);
    PutLe64(p + 0x6C, nModified);
  }
  bool bHasData = nType == kTypeStream || nType == kTypeRoot;
  PutLe32(p + 0x74, bHasData ? nStart : 0);
  PutLe64(p + 0x78, bHasData ? nSize : 0);
}

void CCompoundDirectory::InitNew() {
  m_entries.assign(1, SCfbEntry{});
  m_entries[0].sName = u"Root Entry";
  m_entries[0].nType = kTypeRoot;
  m_index.clear();
  m_index[kRootSid];
  m_freeSids.clear();
  m_dirty.clear();
  m_dirtyList.clear();
  Touch(kRootSid);
}

void CCompoundDirectory::Load(const uint8_t* pData, size_t nCount) {
  if (nCount == 0) throw CStorageError("The compound file has no directory");
  m_entries.assign(nCount, SCfbEntry{});
  for (size_t i = 0; i < nCount; ++i) m_entries[i].Parse(pData + i * kDirEntrySize);
  if (m_entries[kRootSid].nType != kTypeRoot)
    throw CStorageError("The compound file's directory does not start with the root storage");

  m_index.clear();
  m_freeSids.clear();
  m_dirty.assign((nCount + kDirEntriesPerSector - 1) / kDirEntriesPerSector, false);
  m_dirtyList.clear();
  std::vector<bool> visited(nCount, false);
  visited[kRootSid] = true;
  std::vector<uint32_t> pending{kRootSid};
  while (!pending.empty()) {
    uint32_t nStorage = pending.back();
    pending.pop_back();
    IndexStorage(nStorage, visited, pending);
  }
  for (uint32_t nSid = static_cast<uint32_t>(nCount); nSid-- > 1;)
    if (m_entries[nSid].nType == kTypeEmpty && !visited[nSid]) m_freeSids.push_back(nSid);
}

void CCompoundDirectory::IndexStorage(uint32_t nStorage, std::vector<bool>& visited,
                                      std::vector<uint32_t>& pending) {
  CNameIndex& index = m_index[nStorage];
  std::vector<uint32_t> stack;
  if (m_entries[nStorage].nChild != kNoStream) stack.push_back(m_entries[nStorage].nChild);
  while (!stack.empty()) {
    uint32_t nSid = stack.back();
    stack.pop_back();
    if (nSid >= m_entries.size())
      throw CStorageError("The compound file's directory refers to entry " +
                          std::to_string(nSid) + ", which does not exist");
    if (visited[nSid])
      throw CStorageError("The compound file's directory has a loop at entry " +
                          std::to_string(nSid));
    visited[nSid] = true;
    const SCfbEntry& entry = m_entries[nSid];
    if (entry.nType != kTypeStorage && entry.nType != kTypeStream)
      throw CStorageError("The compound file's directory entry " + std::to_string(nSid) +
                          " has an invalid type");
    index.emplace(UpperName(entry.sName), nSid);  // a duplicate name keeps the first
    if (entry.nLeft != kNoStream) stack.push_back(entry.nLeft);
    if (entry.nRight != kNoStream) stack.push_back(entry.nRight);
    if (entry.nType == kTypeStorage) {
      m_index[nSid];
      pending.push_back(nSid);
    }
  }
}

SCfbEntry& CCompoundDirectory::Modify(uint32_t nSid) {
  Touch(nSid);
  return m_entries.at(nSid);
}

void CCompoundDirectory::Touch(uint32_t nSid) {
  uint32_t nSector = nSid / kDirEntriesPerSector;
  if (nSector >= m_dirty.size()) m_dirty.resize(nSector + 1, false);
  if (!m_dirty[nSector]) {
    m_dirty[nSector] = true;
    m_dirtyList.push_back(nSector);
  }
}

std::optional<uint32_t> CCompoundDirectory::Find(uint32_t nParent,
                                                 std::u16string_view sName) const {
  auto itStorage = m_index.find(nParent);
  if (itStorage == m_index.end()) return std::nullopt;
  auto it = itStorage->second.find(UpperName(sName));
  if (it == itStorage->second.end()) return std::nullopt;
  return it->second;
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
    return nSid;
  }
  if (m_entries.size() >= kMaxRegSect) throw CStorageError("The compound file is full");
  m_entries.emplace_back();
  return static_cast<uint32_t>(m_entries.size() - 1);
}

uint32_t CCompoundDirectory::Add(uint32_t nParent, std::u16string_view sName, uint8_t nType) {
  uint32_t nSid = NewEntry();
  SCfbEntry& entry = Modify(nSid);
  entry.sName = sName;
  entry.nType = nType;
  m_index[nParent].emplace(UpperName(sName), nSid);
  if (nType == kTypeStorage) m_index[nSid];
  InsertIntoTree(nParent, nSid);
  return nSid;
}

size_t CCompoundDirectory::SubtreeSize(uint32_t nSid) const {
  std::vector<uint32_t> nodes;
  InOrder(nSid, nodes);
  return nodes.size();
}

void CCompoundDirectory::InsertIntoTree(uint32_t nParent, uint32_t nSid) {
  const std::u16string& sName = m_entries[nSid].sName;
  std::vector<uint32_t> path;
  uint32_t* pLink = &Modify(nParent).nChild;
  while (*pLink != kNoStream) {
    uint32_t nNode = *pLink;
    path.push_back(nNode);
    SCfbEntry& node = m_entries[nNode];
    pLink = CompareEntryNames(sName, node.sName) < 0 ? &node.nLeft : &node.nRight;
  }
  *pLink = nSid;
  if (!path.empty()) Touch(path.back());

  // Scapegoat rule: when the new node lies deeper than log base 3/2 of the
  // tree's size, rebuild the lowest ancestor whose one side outweighs 2/3.
  size_t nTotal = m_index[nParent].size();
  double fLimit = std::log(static_cast<double>(nTotal)) / std::log(1.5) + 1;
  if (static_cast<double>(path.size()) <= fLimit) return;
  size_t nChildSize = 1;
  uint32_t nChild = nSid;
  for (size_t i = path.size(); i-- > 0;) {
    uint32_t nNode = path[i];
    const SCfbEntry& node = m_entries[nNode];
    uint32_t nOther = node.nLeft == nChild ? node.nRight : node.nLeft;
    size_t nSize = 1 + nChildSize + (nOther == kNoStream ? 0 : SubtreeSize(nOther));
    if (3 * nChildSize > 2 * nSize) {
      uint32_t nOwner = i == 0 ? nParent : path[i - 1];
      uint32_t& rLink = i == 0 ? m_entries[nParent].nChild
                               : (m_entries[nOwner].nLeft == nNode ? m_entries[nOwner].nLeft
                                                                    : m_entries[nOwner].nRight);
      std::vector<uint32_t> sids;
      InOrder(nNode, sids);
      RebuildTree(rLink, std::move(sids), nOwner);
      return;
    }
    nChildSize = nSize;
    nChild = nNode;
  }
}

void CCompoundDirectory::RebuildTree(uint32_t& rLink, std::vector<uint32_t> sids,
                                     uint32_t nLinkOwner) {
  rLink = BuildBalanced(sids, 0, sids.size());
  Touch(nLinkOwner);
}

uint32_t CCompoundDirectory::BuildBalanced(const std::vector<uint32_t>& sids, size_t nBegin,
                                           size_t nEnd) {
  if (nBegin == nEnd) return kNoStream;
  size_t nMid = nBegin + (nEnd - nBegin) / 2;
  uint32_t nSid = sids[nMid];
  uint32_t nLeft = BuildBalanced(sids, nBegin, nMid);
  uint32_t nRight = BuildBalanced(sids, nMid + 1, nEnd);
  SCfbEntry& entry = Modify(nSid);
  entry.nLeft = nLeft;
  entry.nRight = nRight;
  return nSid;
}

std::vector<SCfbEntry> CCompoundDirectory::Remove(uint32_t nParent, uint32_t nSid) {
  std::vector<SCfbEntry> removedStreams;
  // The remaining siblings are re-sorted and rebuilt: removal is rare, and
  // this also mends the order of a tree some other writer left unsorted.
  std::vector<uint32_t> siblings = Children(nParent);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), nSid), siblings.end());
  std::sort(siblings.begin(), siblings.end(), [&](uint32_t a, uint32_t b) {
    return CompareEntryNames(m_entries[a].sName, m_entries[b].sName) < 0;
  });
  m_index[nParent].erase(UpperName(m_entries[nSid].sName));
  RebuildTree(m_entries[nParent].nChild, std::move(siblings), nParent);

  std::vector<uint32_t> doomed{nSid};
  while (!doomed.empty()) {
    uint32_t nDead = doomed.back();
    doomed.pop_back();
    if (m_entries[nDead].IsStream()) removedStreams.push_back(m_entries[nDead]);
    if (m_entries[nDead].nType == kTypeStorage) {
      for (uint32_t nChild : Children(nDead)) doomed.push_back(nChild);
      m_index.erase(nDead);
    }
    Modify(nDead) = SCfbEntry{};
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
    (nSid < m_entries.size() ? m_entries[nSid] : SCfbEntry{}).Serialize(pOut + i * kDirEntrySize);
  }
}

void CCompoundDirectory::MarkCommitted() {
  for (uint32_t nSector : m_dirtyList) m_dirty[nSector] = false;
  m_dirtyList.clear();
}

}  // namespace orv
