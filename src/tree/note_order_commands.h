#pragma once
// The commands that reorder or relabel notes without changing the tree's
// shape (sorting, outline numbering) and those that open and close branches.

#include "tree/note_tree.h"

namespace orv {

enum class EOrderCommand {
  SortSubnotesByName,
  SortSubnotesByCreateTime,
  SortSubnotesByModifyTime,
  SortAllByName,
  SortAllByCreateTime,
  SortAllByModifyTime,
  AutoNumber,
  CollapseSubnotes,
  CollapseSingleLevel,
  CollapseAll,
  ExpandSubnotes,
  ExpandSingleLevel,
  ExpandAll,
};

// Sort all, collapse all and expand all work on the whole folder; the others
// need a selected note.
bool IsEnabled(CNoteTree& tree, EOrderCommand eCommand);

// Runs the command. False when it is not enabled or the user said no: then
// nothing changed.
bool RunOrderCommand(CNoteTree& tree, EOrderCommand eCommand);

// The user opened or closed a note's branch in the pane: only that note's
// `expand` follows. Ignored while the pane refreshes.
void OnBranchToggled(CNoteTree& tree, XMLelement& note, bool bExpanded);

}  // namespace orv
