#pragma once
// What printing a note puts on paper: the note alone, or the note and the
// subnotes the pane shows below it, in the pane's order. A note whose
// password the folder does not hold is printed by name only: printing is no
// way around a password.

#include <string>
#include <vector>

#include "tree/note_tree.h"

namespace orv {

struct SPrintedNote {
  const XMLelement* pNote;
  size_t nDepth;  // 0 for the note printing started from
  bool bContent;  // false: locked, its content stays out
  std::string sName;
  std::string sType;  // the "type" attribute, which chooses how the content reads
  std::string sContent;
};

// Store the editor's text first: the notes are read as the folder holds them.
std::vector<SPrintedNote> NotesToPrint(CNoteTree& tree, XMLelement& note, bool bSubnotes);

}  // namespace orv
