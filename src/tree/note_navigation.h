#pragma once
// Moving the selection through the notes the pane shows, as the arrow keys
// do, and back and forward through the notes visited in a folder.

#include "tree/note_tree.h"

namespace orv {

enum class ENavigateCommand { Up, Down, Left, Right, Parent, Back, Forward, ToRoot };

// All need a selected note; Back and Forward are offered then even with an
// empty list.
bool IsEnabled(CNoteTree& tree, ENavigateCommand eCommand);

// Runs the command. False when nothing moved; for Back and Forward that
// means the list held no note to go to, and the app plays the simple beep.
// Left and Right on a branch close and open it rather than move.
bool RunNavigateCommand(CNoteTree& tree, ENavigateCommand eCommand);

// The user moved the selection to pNote, a shown note of the current folder
// (the navigation and creation commands do too): the editor's text is
// stored, the note left is recorded for Back, pNote is selected and shown.
// Ignored while the pane refreshes, whose selections are not the user's.
void SelectByUser(CNoteTree& tree, XMLelement* pNote);

// Removes `note` and every note below it from the current folder's Back and
// Forward lists and lets the editor go of them; call before deleting them.
void ForgetNotes(CNoteTree& tree, const XMLelement& note);

}  // namespace orv
