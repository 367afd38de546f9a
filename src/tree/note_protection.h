#pragma once
// Protecting a note inside the user's own document: a password asked for
// before its content is shown, and a read-only mark. The commands set them
// on the selected note; the editors ask here how to open a note and whether
// its text may be stored back.

#include <optional>
#include <string>
#include <string_view>

#include "tree/note_tree.h"

namespace orv {

enum class EProtectionCommand { SetReadOnly, Password };

inline constexpr const char* kPasswordCaption = "Enter a password (empty string if no password)";
// What an editor shows, read-only, instead of a protected note's content.
inline constexpr const char* kPasswordPlaceholder =
    "Please enter a valid password for view this content";

// Check marks: read-only while `readonly` is "true", password while one is set.
bool IsChecked(CNoteTree& tree, EProtectionCommand eCommand);

// Runs the command on the selected note (asking the subnotes question and the
// password). False when there is none or the user cancelled: nothing changed.
bool RunProtectionCommand(CNoteTree& tree, EProtectionCommand eCommand);

// Gives `note`, and with bSubnotes every note below it, the password ("" for
// none); returns how many notes it set. What the command does once answered.
size_t ProtectWithPassword(CNoteTree& tree, XMLelement& note, const std::string& sPassword,
                           bool bSubnotes);

// How an editor opens a note of the current folder.
struct SNoteOpening {
  bool bShowContent = true;  // false: show kPasswordPlaceholder; the content is not loaded
  bool bReadOnly = false;
};

// Asks for the note's password unless the folder remembers it; what is typed
// becomes the folder's remembered password. Records in `save` whether the
// content is shown, for every editor: a "false" left from an earlier opening
// would otherwise keep an editor that does not record it from ever storing.
SNoteOpening OpenNote(CNoteTree& tree, XMLelement& note);

// Whether an editor's text may be stored into the note of the current
// folder: never while the note is shown without its password, since the
// editor then holds the placeholder and not the note's content.
bool MayStoreText(const CNoteTree& tree, const XMLelement& note);

// Stores an editor's state back into its note of the current folder: the
// scroll position and caret line always (not a change the user made, so the
// document is not marked modified), then the text when MayStoreText allows
// and it differs (CNoteTree::StoreEditorText); no text (the editor was not
// changed) leaves the content alone. True when the text was written.
bool StoreEditorTextBack(CNoteTree& tree, XMLelement& note, std::optional<std::string_view> text,
                         int nScrollPos, int nCaretLine);

}  // namespace orv
