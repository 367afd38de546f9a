#pragma once
// Walks the notes of a tree depth first, each before its subnotes, with an
// explicit stack: notes may nest deeper than the call stack goes.

#include <cstddef>
#include <type_traits>
#include <vector>

#include "model/note_keys.h"
#include "model/xml_element.h"
#include "model/xml_tree.h"

namespace orv {

// Calls fn(note, path) until it returns false; path[i] is the note's position
// among the notes at level i (its depth is path.size() - 1). A note for which
// skip(note) is true is passed over together with its subtree.
template <typename F, typename S>
void WalkNotes(const CElementList& topLevel, S&& skip, F&& fn) {
  struct SFrame {
    const CElementList* pList;
    size_t nNext;
  };
  std::vector<SFrame> stack{{&topLevel, 0}};
  // The position of the note being visited at each open level; the last
  // entry moves on once a note (and its subtree) is done.
  std::vector<size_t> path{0};
  while (!stack.empty()) {
    SFrame& frame = stack.back();
    if (frame.nNext == frame.pList->size()) {
      stack.pop_back();
      path.pop_back();
      if (!path.empty()) ++path.back();
      continue;
    }
    XMLelement& element = *(*frame.pList)[frame.nNext++];
    if (!element.IsNote()) continue;
    if (skip(element)) {
      ++path.back();
      continue;
    }
    if (!fn(element, static_cast<const std::vector<size_t>&>(path))) return;
    stack.push_back({&element.m_children, 0});
    path.push_back(0);
  }
}

// Calls fn(note) for `root` and every note below it, each before its
// subnotes. When fn returns bool, false stops the walk; ForEachInBranch then
// says whether it went to the end.
template <typename TNote, typename F>
bool ForEachInBranch(TNote& root, F&& fn) {
  std::vector<TNote*> pending{&root};
  while (!pending.empty()) {
    TNote* pNote = pending.back();
    pending.pop_back();
    if constexpr (std::is_same_v<std::invoke_result_t<F&, TNote&>, bool>) {
      if (!fn(*pNote)) return false;
    } else {
      fn(*pNote);
    }
    // In reverse, so that siblings come in their order.
    for (auto it = pNote->m_children.rbegin(); it != pNote->m_children.rend(); ++it)
      if ((*it)->IsNote()) pending.push_back(it->get());
  }
  return true;
}

// A note with a "hide" attribute (whatever its value) is left out with its
// subnotes unless its folder shows hidden notes.
inline bool CarriesHide(const XMLelement& note) {
  return FindPropertyElement(note, kHideKey) != nullptr;
}

// Calls fn(note) for every note `folder` shows, depth first, each before its
// subnotes, until fn returns false.
template <typename F>
void ForEachShownNote(const CXMLTree& folder, F&& fn) {
  const bool bSkipHidden = !folder.ShowsHidden();
  WalkNotes(
      folder.TopLevel(), [&](const XMLelement& note) { return bSkipHidden && CarriesHide(note); },
      [&](XMLelement& note, const std::vector<size_t>&) { return fn(note); });
}

}  // namespace orv
