#pragma once
// A tree view for tests: it draws nothing and records, in order, what the
// core tells the pane and the tab bar.

#include <string>
#include <utility>
#include <vector>

#include "tree/note_tree.h"

namespace orv::test {

// Records what the core tells the pane and the tab bar, in order.
class CRecordingView : public CTreeViewPort {
 public:
  void RefreshTree() override {
    m_calls.push_back(m_pTree && m_pTree->IsRefreshing() ? "refresh" : "refresh, not marked");
  }
  // A store right after a store finds nothing new to write: recorded once.
  void StoreEditorContent() override {
    if (m_calls.empty() || m_calls.back() != "store") m_calls.push_back("store");
  }
  void RebuildTabs() override { m_calls.push_back("tabs"); }
  std::pair<int, int> ScrollPosition() const override { return m_scroll; }
  void SetScrollPosition(int nHorizontal, int nVertical) override {
    m_scroll = {nHorizontal, nVertical};
    m_calls.push_back("scroll " + std::to_string(nHorizontal) + "," + std::to_string(nVertical));
  }
  std::string EditorSelectedText() override { return m_sSelection; }
  void StartLabelEdit(XMLelement& note) override {
    m_calls.push_back("edit " + GetProperty(note, "name"));
  }

  std::string m_sSelection;  // what the open editor has selected

  const CNoteTree* m_pTree = nullptr;
  std::pair<int, int> m_scroll{0, 0};
  std::vector<std::string> m_calls;
};

}  // namespace orv::test
