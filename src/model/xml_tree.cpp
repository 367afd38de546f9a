#include "model/xml_tree.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>
#include <utility>

#include "base/clock.h"
#include "model/note_keys.h"

namespace orv {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

bool IsContentKey(const XMLelement& child) { return child.m_sName == kContentKey; }

struct SNoteVisit {
  XMLelement* pNote;
  XMLelement* pParent;
  int nDepth;
};

// Calls fn for every note reachable from `pending`, depth first, each note
// before its subnotes, until fn returns false. An explicit stack, because a
// folder may nest notes deeper than the call stack goes.
template <typename F>
void VisitNotes(std::vector<SNoteVisit> pending, F&& fn) {
  while (!pending.empty()) {
    const SNoteVisit visit = pending.back();
    pending.pop_back();
    if (!fn(visit)) return;
    const CElementList& children = visit.pNote->m_children;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      if ((*it)->IsNote()) pending.push_back({it->get(), visit.pNote, visit.nDepth + 1});
  }
}

std::vector<SNoteVisit> TopLevelVisits(const CElementList& top) {
  std::vector<SNoteVisit> visits;
  for (auto it = top.rbegin(); it != top.rend(); ++it)
    if ((*it)->IsNote()) visits.push_back({it->get(), nullptr, 0});
  return visits;
}

// Where each note ends up after a selection sort: for each position in turn,
// the first of the strictly smallest later values is exchanged into it. A
// tournament tree over the positions finds that value in log time, so the
// result is the selection sort's own (unstable) order at n log n cost.
std::vector<size_t> SelectionSortOrder(std::vector<std::string> values) {
  const size_t nCount = values.size();
  std::vector<size_t> order(nCount);
  std::iota(order.begin(), order.end(), size_t{0});
  size_t nLeaves = 1;
  while (nLeaves < nCount) nLeaves *= 2;
  std::vector<size_t> winners(2 * nLeaves, kNone);
  // Left positions come first, so a tie keeps the earlier one.
  auto pick = [&](size_t nLeft, size_t nRight) {
    if (nLeft == kNone) return nRight;
    if (nRight == kNone) return nLeft;
    return values[nRight] < values[nLeft] ? nRight : nLeft;
  };
  auto replay = [&](size_t nNode) {
    for (nNode /= 2; nNode > 0; nNode /= 2)
      winners[nNode] = pick(winners[2 * nNode], winners[2 * nNode + 1]);
  };
  for (size_t i = 0; i < nCount; ++i) winners[nLeaves + i] = i;
  for (size_t nNode = nLeaves - 1; nNode > 0; --nNode)
    winners[nNode] = pick(winners[2 * nNode], winners[2 * nNode + 1]);

  for (size_t i = 0; i + 1 < nCount; ++i) {
    winners[nLeaves + i] = kNone;  // from now on only later positions compete
    replay(nLeaves + i);
    const size_t j = winners[1];
    if (!(values[j] < values[i])) continue;
    std::swap(values[i], values[j]);
    std::swap(order[i], order[j]);
    replay(nLeaves + j);
  }
  return order;
}

// Sorts the notes among `list` by attribute `key`; other elements stay where
// they are. Returns whether any note moved.
bool SortNoteList(CElementList& list, std::string_view key) {
  std::vector<size_t> slots;
  std::vector<std::string> values;
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i]->IsNote()) continue;
    slots.push_back(i);
    values.push_back(GetProperty(*list[i], key));
  }
  const std::vector<size_t> order = SelectionSortOrder(std::move(values));
  bool bMoved = false;
  CElementList notes;
  for (size_t nSlot : slots) notes.push_back(std::move(list[nSlot]));
  for (size_t i = 0; i < slots.size(); ++i) {
    bMoved = bMoved || order[i] != i;
    list[slots[i]] = std::move(notes[order[i]]);
  }
  return bMoved;
}

}  // namespace

CXMLTree::CXMLTree(std::string_view sText, const SNoteDefaults& defaults) : m_defaults(defaults) {
  // A text that fails to parse keeps the notes completed before the fault.
  if (!sText.empty()) m_parser.Parse(sText);
  InsertNote({.sName = "Note #1", .nType = kContentRtf, .nContentClass = kContentRtf});
  m_bModified = false;
}

CElementList& CXMLTree::GetNoteList(XMLelement* pParent) {
  return pParent ? pParent->m_children : TopLevel();
}

int CXMLTree::GetNoteDepth(const XMLelement& element) const {
  int nDepth = -1;
  VisitNotes(TopLevelVisits(TopLevel()), [&](const SNoteVisit& visit) {
    if (visit.pNote != &element) return true;
    nDepth = visit.nDepth;
    return false;
  });
  return nDepth;
}

bool CXMLTree::FindParent(const XMLelement& element, XMLelement*& rpParent) const {
  bool bFound = false;
  VisitNotes(TopLevelVisits(TopLevel()), [&](const SNoteVisit& visit) {
    if (visit.pNote != &element) return true;
    rpParent = visit.pParent;
    bFound = true;
    return false;
  });
  return bFound;
}

// The parent is only checked for being a note: proving it belongs to this
// tree would cost a walk of the whole folder on every insertion, so callers
// pass notes of this tree.
XMLelement* CXMLTree::InsertNote(const SNewNote& note) {
  if (note.pParent && !note.pParent->IsNote()) return nullptr;
  CElementList& list = GetNoteList(note.pParent);
  auto itPlace = list.end();
  if (note.pSibling) {
    itPlace = std::find_if(list.begin(), list.end(),
                           [&](const auto& p) { return p.get() == note.pSibling; });
    if (itPlace == list.end()) return nullptr;
    if (!note.bBefore) ++itPlace;
  }

  auto pNote = std::make_unique<XMLelement>();
  pNote->m_sName = kNoteTag;
  // The attributes below and the content key, without regrowing on the way.
  pNote->m_children.reserve(16);
  const std::string sNow = FormatLocalTime(kNoteTimeFormat);
  AddProperty(*pNote, kSharePathKey, note.sSharePath);
  AddProperty(*pNote, kNameKey, note.sName);
  AddProperty(*pNote, kExpandKey, "true");
  AddProperty(*pNote, kTypeKey, std::to_string(note.nType));
  AddProperty(*pNote, kDescriptionKey, "");
  AddProperty(*pNote, kSelectedKey, "false");
  AddProperty(*pNote, kPasswordKey, "");
  AddProperty(*pNote, kReadOnlyKey, "");
  AddProperty(*pNote, kCreateTimeKey, sNow);
  AddProperty(*pNote, kModifyTimeKey, sNow);
  AddProperty(*pNote, kIconKey, std::to_string(m_defaults.nDefIcon));
  AddProperty(*pNote, kScrollPosKey, "0");
  AddProperty(*pNote, kCurLineKey, "0");
  AddProperty(*pNote, kSaveKey, "true");
  AddProperty(*pNote, kAttCountKey, "0");
  if (auto pContent = CBaseContentNode::Make(note.nContentClass, {}, note.bExternal,
                                             std::string(note.sExternalPath))) {
    AddProperty(*pNote, kContentKey, pContent->OwnKey());
    AddContent(std::move(pContent));
  }

  XMLelement* pInserted = list.insert(itPlace, std::move(pNote))->get();
  m_bModified = true;
  return pInserted;
}

bool CXMLTree::DeleteNote(XMLelement& note) {
  XMLelement* pParent = nullptr;
  if (!FindParent(note, pParent)) return false;
  RemoveContents(BranchContents(note));
  CElementList& list = GetNoteList(pParent);
  list.erase(
      std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == &note; }));
  m_bModified = true;
  return true;
}

size_t CXMLTree::DeleteChildNotes(XMLelement& parent) {
  std::unordered_set<const CBaseContentNode*> doomed;
  size_t nRemoved = 0;
  for (const auto& pChild : parent.m_children) {
    if (!pChild->IsNote()) continue;
    ++nRemoved;
    doomed.merge(BranchContents(*pChild));
  }
  if (nRemoved == 0) return 0;
  RemoveContents(doomed);
  std::erase_if(parent.m_children, [](const auto& p) { return p->IsNote(); });
  m_bModified = true;
  return nRemoved;
}

std::unordered_set<const CBaseContentNode*> CXMLTree::BranchContents(const XMLelement& note) const {
  std::unordered_set<const CBaseContentNode*> contents;
  VisitNotes({{const_cast<XMLelement*>(&note), nullptr, 0}}, [&](const SNoteVisit& visit) {
    for (const auto& pChild : visit.pNote->m_children)
      if (IsContentKey(*pChild))
        if (const CBaseContentNode* pContent = FindContent(pChild->m_sValue))
          contents.insert(pContent);
    return true;
  });
  return contents;
}

void CXMLTree::RemoveContents(const std::unordered_set<const CBaseContentNode*>& doomed) {
  if (doomed.empty()) return;
  std::erase_if(m_contents, [&](const auto& p) { return doomed.contains(p.get()); });
  // A removed object may have hidden a later one of the same key.
  RebuildContentIndex();
}

std::unique_ptr<XMLelement> CXMLTree::CopySubtree(const XMLelement& element, CXMLTree* pTarget) {
  std::unique_ptr<XMLelement> pCopy = CopyElement(element);
  if (!pTarget) return pCopy;

  // Every source object is found before any clone is added, because the
  // target may be this tree.
  std::vector<std::pair<XMLelement*, const CBaseContentNode*>> links;
  VisitNotes({{pCopy.get(), nullptr, 0}}, [&](const SNoteVisit& visit) {
    for (const auto& pChild : visit.pNote->m_children)
      if (IsContentKey(*pChild)) links.emplace_back(pChild.get(), FindContent(pChild->m_sValue));
    return true;
  });
  for (auto [pKey, pSource] : links) {
    // A key that names nothing gets an empty object, as re-linking would give it.
    std::unique_ptr<CBaseContentNode> pClone =
        pSource ? pSource->Clone() : std::make_unique<CRTFConentNode>();
    pKey->m_sValue = pClone->OwnKey();
    pTarget->AddContent(std::move(pClone));
  }
  return pCopy;
}

void CXMLTree::SortNotes(XMLelement* pParent, std::string_view key) {
  bool bMoved = false;
  if (!pParent) {
    for (const auto& pTop : TopLevel())
      if (pTop->IsNote()) bMoved = SortNoteList(pTop->m_children, key) || bMoved;
  }
  bMoved = SortNoteList(GetNoteList(pParent), key) || bMoved;
  if (bMoved) m_bModified = true;
}

void CXMLTree::SetFolderName(std::string sName) {
  m_sFolderName = std::move(sName);
  m_bModified = true;
}

void CXMLTree::SetFolderIcon(int32_t nIcon) {
  m_nFolderIcon = nIcon;
  m_bModified = true;
}

void CXMLTree::SetShare(bool bShared, std::string sPath) {
  m_bShared = bShared;
  m_sSharePath = std::move(sPath);
  m_bModified = true;
}

void CXMLTree::SetTreeScroll(int32_t nHorizontal, int32_t nVertical) {
  m_nTreeHScroll = nHorizontal;
  m_nTreeVScroll = nVertical;
}

void CXMLTree::RebuildContentIndex() {
  m_contentIndex.clear();
  m_contentIndex.reserve(m_contents.size());
  // emplace keeps the first of equal keys, as a front-to-back search would find.
  for (const auto& pContent : m_contents)
    m_contentIndex.emplace(pContent->AddressHash(), pContent.get());
}

CBaseContentNode* CXMLTree::FindContent(std::string_view sKey) const {
  auto it = m_contentIndex.find(sKey);
  return it == m_contentIndex.end() ? nullptr : it->second;
}

CBaseContentNode& CXMLTree::AddContent(std::unique_ptr<CBaseContentNode> pContent) {
  CBaseContentNode& added = *m_contents.emplace_back(std::move(pContent));
  m_contentIndex.emplace(added.AddressHash(), &added);
  m_bModified = true;
  return added;
}

void CXMLTree::ReplaceContents(CContentList contents) {
  m_contents = std::move(contents);
  RebuildContentIndex();
  m_bModified = true;
}

CBaseContentNode* CXMLTree::ContentOf(const XMLelement& note) const {
  const XMLelement* pKey = FindPropertyElement(note, kContentKey);
  return pKey ? FindContent(pKey->m_sValue) : nullptr;
}

void CXMLTree::RelinkContents() {
  // Stored keys come from the file and may repeat; the first object wins, the
  // others stay in the folder unclaimed rather than be dropped.
  std::unordered_set<const CBaseContentNode*> claimed;
  for (XMLelement* pNote : AllNotes()) {
    const XMLelement* pKey = FindPropertyElement(*pNote, kContentKey);
    CBaseContentNode* pContent = pKey ? FindContent(pKey->m_sValue) : nullptr;
    // Every note must own its object: a shared or missing one is replaced.
    if (!pContent || claimed.contains(pContent)) {
      auto pOwn =
          std::make_unique<CRTFConentNode>(pContent ? pContent->CachedContent() : std::string());
      // Not indexed under its key yet: a stored key may equal a new own key.
      pContent = m_contents.emplace_back(std::move(pOwn)).get();
    }
    claimed.insert(pContent);
    SetProperty(*pNote, kContentKey, pContent->OwnKey());
  }
  for (const auto& pContent : m_contents) pContent->ResetAddressHash();
  RebuildContentIndex();
}

std::vector<XMLelement*> CXMLTree::AllNotes() const {
  std::vector<XMLelement*> notes;
  VisitNotes(TopLevelVisits(TopLevel()), [&](const SNoteVisit& visit) {
    notes.push_back(visit.pNote);
    return true;
  });
  return notes;
}

size_t CXMLTree::NoteCount() const {
  size_t nCount = 0;
  VisitNotes(TopLevelVisits(TopLevel()), [&](const SNoteVisit&) {
    ++nCount;
    return true;
  });
  return nCount;
}

}  // namespace orv
