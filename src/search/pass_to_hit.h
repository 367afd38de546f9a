#pragma once
// "Pass to selected note/node": the find dialogs' jump to a hit.

#include "search/note_search.h"
#include "tree/note_tree.h"

namespace orv {

// Shows the hit's folder, found again by the name it had when the search
// ran, and selects the hit's note there; the note selected before loses its
// selection. When no folder has that name any more the user is told "Folder
// with name '…' not found." and nothing changes; a note no longer in that
// folder changes nothing either. True when the hit is shown.
bool PassToHit(CNoteTree& tree, const SFindHit& hit);

}  // namespace orv
