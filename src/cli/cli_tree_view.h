#pragma once
// The tree view of the command line: there is no pane to draw, and every
// folder's remembered scroll positions are handed back as they are, so a
// command never changes them.

#include <utility>

#include "model/folder_list.h"
#include "tree/tree_view_port.h"

namespace orv::cli {

class CCliTreeView : public CTreeViewPort {
 public:
  explicit CCliTreeView(const CFolderList& folders) : m_folders(folders) {}

  void RefreshTree() override {}
  void StoreEditorContent() override {}
  void RebuildTabs() override {}
  std::pair<int, int> ScrollPosition() const override {
    const CXMLTree* pFolder = m_folders.Current();
    return pFolder ? pFolder->TreeScroll() : std::pair<int, int>{0, 0};
  }
  void SetScrollPosition(int, int) override {}
  std::string EditorSelectedText() override { return {}; }
  void StartLabelEdit(XMLelement&) override {}

 private:
  const CFolderList& m_folders;
};

}  // namespace orv::cli
