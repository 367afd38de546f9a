#pragma once
// What the note tree pane and the tab bar are told to do. The core decides
// when and what (which folder, which notes show, which one is selected, the
// scroll positions); the view decides how to draw it.

#include <utility>

namespace orv {

class CTreeViewPort {
 public:
  virtual ~CTreeViewPort() = default;
  // Rebuild the tree pane from the current folder: CNoteTree::ShownChildren
  // says which notes show, CNoteTree::SelectedNote which one is selected.
  virtual void RefreshTree() = 0;
  // The open editor writes its text back into its note (CNoteTree::StoreEditorText).
  virtual void StoreEditorContent() = 0;
  // One tab per folder in list order, the current one selected.
  virtual void RebuildTabs() = 0;
  // The tree pane's horizontal and vertical scroll positions.
  virtual std::pair<int, int> ScrollPosition() const = 0;
  virtual void SetScrollPosition(int nHorizontal, int nVertical) = 0;
};

}  // namespace orv
