#pragma once
// What the note tree pane and the tab bar are told to do. The core decides
// when and what (which folder, which notes show, which one is selected, the
// scroll positions); the view decides how to draw it.

#include <string>
#include <utility>

#include "model/xml_element.h"

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
  // The open editor's selected text; empty when nothing is selected.
  virtual std::string EditorSelectedText() = 0;
  // Starts in-place editing of the note's label, so a new note is named at once.
  virtual void StartLabelEdit(XMLelement& note) = 0;
};

}  // namespace orv
