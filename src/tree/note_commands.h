#pragma once
// The commands that change the shape of the current folder's note tree:
// creating, renaming, deleting and moving notes (by command and by dragging),
// and naming a note from the clipboard, the editor's selection or the clock.
// They act on the selected note.

#include <string_view>

#include "tree/note_tree.h"

namespace orv {

enum class ENoteCommand {
  NewNote,       // a sibling after the selected note
  InsertBefore,  // a sibling before it
  NewSubnote,    // its last child
  SubnoteFromSelection,
  Rename,
  Delete,
  MoveUp,
  MoveDown,
  MoveLeft,
  MoveRight,
  NameFromClipboard,
  NameFromSelection,
  NameDateTime,
  NameDate,
  NameTime,
};

// The name every new note starts with, before the user types its own.
inline constexpr std::string_view kNewNoteName = "New item";
inline constexpr std::string_view kNewSharedNoteName = "New Note";  // in a shared folder

// Whether the menu offers the command now: all need a selected note, except
// New note and Before, which append at the top level without one (so that a
// folder whose notes were all deleted can get notes again).
bool IsEnabled(CNoteTree& tree, ENoteCommand eCommand);

// Runs the command. False when it is not enabled, the user said no or
// cancelled, a warning was shown, or a move was impossible: then nothing
// changed and the pane was not refreshed.
bool RunNoteCommand(CNoteTree& tree, ENoteCommand eCommand);

// The creation commands; the new note (selected, its label being edited
// except for SubnoteFromSelection), or null when nothing was created.
XMLelement* CreateNote(CNoteTree& tree, ENoteCommand eCommand);

// The user finished editing a note's label: it becomes the name, with every
// "<" replaced by "[" and every ">" by "]". Ignored while the pane refreshes.
void OnLabelEdited(CNoteTree& tree, XMLelement& note, std::string_view sText);

// Where a dragged note lands, relative to the note under the mouse: as its
// last child, or directly before or after it at its level.
enum class EDropPlace { Onto, Before, After };

// Whether `dragged` may be dropped at `target`, wherever beside or onto it:
// a move to the note itself or into its own branch is refused.
bool CanDropNote(const XMLelement& dragged, const XMLelement& target, bool bMove);

// Drops a dragged note of the current folder at `place` of another: a copy
// of it with its whole subtree lands there; a move then deletes the source.
// The copy, or null when refused.
XMLelement* DropNote(CNoteTree& tree, XMLelement& dragged, XMLelement& target, EDropPlace ePlace,
                     bool bMove);

}  // namespace orv
