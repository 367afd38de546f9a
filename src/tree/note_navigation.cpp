#include "tree/note_navigation.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "model/note_keys.h"
#include "model/note_walk.h"

namespace orv {
namespace {

using TNoteSet = std::unordered_set<const XMLelement*>;

bool IsExpanded(const XMLelement& note) { return PropertyIs(note, kExpandKey, "true"); }

// The shown notes from the top level down to `note` (the last entry); empty
// when it is not shown. One walk, however deep the note lies.
std::vector<XMLelement*> ShownPathTo(CNoteTree& tree, const XMLelement& note) {
  struct SFrame {
    std::vector<XMLelement*> children;
    size_t nNext = 0;
  };
  std::vector<SFrame> stack{{tree.ShownChildren(nullptr)}};
  std::vector<XMLelement*> path;
  while (!stack.empty()) {
    SFrame& frame = stack.back();
    if (frame.nNext == frame.children.size()) {
      stack.pop_back();
      if (!path.empty()) path.pop_back();
      continue;
    }
    XMLelement* pNote = frame.children[frame.nNext++];
    path.push_back(pNote);
    if (pNote == &note) return path;
    stack.push_back({tree.ShownChildren(pNote)});
  }
  return {};
}

TNoteSet ShownNotes(CNoteTree& tree) {
  TNoteSet shown;
  ForEachShownNote(tree.CurrentFolder(), [&](XMLelement& note) {
    shown.insert(&note);
    return true;
  });
  return shown;
}

// The last note shown inside pNote's branch as it is open now.
XMLelement* LastShownIn(CNoteTree& tree, XMLelement* pNote) {
  while (IsExpanded(*pNote)) {
    const std::vector<XMLelement*> children = tree.ShownChildren(pNote);
    if (children.empty()) break;
    pNote = children.back();
  }
  return pNote;
}

size_t IndexIn(const std::vector<XMLelement*>& notes, const XMLelement* pNote) {
  return static_cast<size_t>(std::find(notes.begin(), notes.end(), pNote) - notes.begin());
}

// The note the Up or Down arrow selects from the last note of `path`, or null.
XMLelement* NeighbourInView(CNoteTree& tree, const std::vector<XMLelement*>& path, bool bDown) {
  XMLelement* pNote = path.back();
  if (bDown && IsExpanded(*pNote)) {
    const std::vector<XMLelement*> children = tree.ShownChildren(pNote);
    if (!children.empty()) return children.front();
  }
  // Up goes to the previous sibling's last shown note or the parent; Down to
  // the next sibling of the nearest level that has one.
  for (size_t nLevel = path.size(); nLevel-- > 0;) {
    XMLelement* pParent = nLevel ? path[nLevel - 1] : nullptr;
    const std::vector<XMLelement*> siblings = tree.ShownChildren(pParent);
    const size_t nIndex = IndexIn(siblings, path[nLevel]);
    if (!bDown) return nIndex > 0 ? LastShownIn(tree, siblings[nIndex - 1]) : pParent;
    if (nIndex + 1 < siblings.size()) return siblings[nIndex + 1];
  }
  return nullptr;
}

void SetExpanded(CNoteTree& tree, XMLelement& note, bool bExpanded) {
  SetProperty(note, kExpandKey, bExpanded ? "true" : "false");
  tree.RefreshTree(true);
}

// Left closes an open branch, else goes to the parent; Right opens a closed
// branch, else goes to its first note.
bool StepSideways(CNoteTree& tree, const std::vector<XMLelement*>& path, bool bRight) {
  XMLelement& note = *path.back();
  const std::vector<XMLelement*> children = tree.ShownChildren(&note);
  if (!children.empty() && IsExpanded(note) != bRight) {
    SetExpanded(tree, note, bRight);
    return true;
  }
  XMLelement* pTarget = bRight ? (children.empty() ? nullptr : children.front())
                               : (path.size() > 1 ? path[path.size() - 2] : nullptr);
  if (!pTarget) return false;
  SelectByUser(tree, pTarget);
  return true;
}

// Back, or Forward with the lists exchanged. Entries naming notes deleted or
// hidden since, or the open note itself, are dropped on the way.
bool GoThroughHistory(CNoteTree& tree, XMLelement& open, bool bForward) {
  SNoteHistory& history = tree.History(tree.CurrentFolder());
  std::vector<const XMLelement*>& from = bForward ? history.m_forward : history.m_back;
  std::vector<const XMLelement*>& to = bForward ? history.m_back : history.m_forward;
  if (from.empty()) return false;
  const TNoteSet shown = ShownNotes(tree);
  XMLelement* pTarget = nullptr;
  while (!pTarget && !from.empty()) {
    const XMLelement* pEntry = from.back();
    from.pop_back();
    if (pEntry != &open && shown.contains(pEntry)) pTarget = const_cast<XMLelement*>(pEntry);
  }
  if (!pTarget) return false;
  to.push_back(&open);
  tree.Select(pTarget);
  tree.RefreshTree(true);
  return true;
}

bool GoToRoot(CNoteTree& tree, XMLelement& selected) {
  XMLelement* pTop = ShownPathTo(tree, selected).front();
  if (pTop == &selected) return false;
  tree.Select(pTop);
  tree.RefreshTree(true);
  return true;
}

}  // namespace

bool IsEnabled(CNoteTree& tree, ENavigateCommand) { return tree.SelectedNote() != nullptr; }

bool RunNavigateCommand(CNoteTree& tree, ENavigateCommand eCommand) {
  XMLelement* pSelected = tree.SelectedNote();
  if (!pSelected) return false;
  switch (eCommand) {
    case ENavigateCommand::Back:
    case ENavigateCommand::Forward:
      return GoThroughHistory(tree, *pSelected, eCommand == ENavigateCommand::Forward);
    case ENavigateCommand::ToRoot:
      return GoToRoot(tree, *pSelected);
    default:
      break;
  }
  const std::vector<XMLelement*> path = ShownPathTo(tree, *pSelected);
  XMLelement* pTarget = nullptr;
  switch (eCommand) {
    case ENavigateCommand::Up:
    case ENavigateCommand::Down:
      pTarget = NeighbourInView(tree, path, eCommand == ENavigateCommand::Down);
      break;
    case ENavigateCommand::Left:
    case ENavigateCommand::Right:
      return StepSideways(tree, path, eCommand == ENavigateCommand::Right);
    default:  // Parent
      pTarget = path.size() > 1 ? path[path.size() - 2] : nullptr;
      break;
  }
  if (!pTarget) return false;
  SelectByUser(tree, pTarget);
  return true;
}

void SelectByUser(CNoteTree& tree, XMLelement* pNote) {
  if (tree.IsRefreshing()) return;
  XMLelement* pOpen = tree.SelectedNote();
  if (pNote == pOpen) return;
  // The same note twice in a row is recorded once.
  std::vector<const XMLelement*>& back = tree.History(tree.CurrentFolder()).m_back;
  if (pOpen && (back.empty() || back.back() != pOpen)) back.push_back(pOpen);
  tree.Select(pNote);
  tree.RefreshTree(true);
}

void ForgetNotes(CNoteTree& tree, const XMLelement& note) {
  CXMLTree& folder = tree.CurrentFolder();
  SNoteHistory& history = tree.History(folder);
  const bool bHistory = !history.m_back.empty() || !history.m_forward.empty();
  if (!bHistory && !folder.OpenNote()) return;
  TNoteSet doomed;
  ForEachInBranch(note, [&](const XMLelement& gone) { doomed.insert(&gone); });
  // The editor must not write into a note that is gone.
  if (doomed.contains(folder.OpenNote())) folder.SetOpenNote(nullptr);
  for (auto* pList : {&history.m_back, &history.m_forward})
    std::erase_if(*pList, [&](const XMLelement* p) { return doomed.contains(p); });
}

}  // namespace orv
