#pragma once
// What the user does to a note's attachments, in the dialog or on the command
// line. Each command changes the note's list and marks the document
// modified; the bytes stay in the store, which only ever grows.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "attachments/attachment_list.h"
#include "attachments/attachment_store.h"
#include "tree/note_tree.h"

namespace orv {

// Adds the files, each under its own file name, at the end of the note's
// list. All or none: on a failure (CAttachmentError) the store and the note
// are as they were. Returns the note's new list.
std::vector<CAttachment> AddAttachments(CNoteTree& tree, XMLelement& note, CAttachmentStore& store,
                                        const std::vector<std::string>& files,
                                        const TCopyProgress& progress = {});
// The plain files directly in sFolder (not in its subfolders), by name.
std::vector<std::string> FilesOfFolder(CFileSystem& fs, const std::string& sFolder);

// Removes entry i after the "AttDel" question; false when not removed.
bool DeleteAttachment(CNoteTree& tree, XMLelement& note, size_t i);
// Empties the list after the "AttDelAll" question; false when not emptied.
bool DeleteAllAttachments(CNoteTree& tree, XMLelement& note);
// Swaps entry i with the one above (nBy -1) or below (+1); false at an end.
bool MoveAttachment(CNoteTree& tree, XMLelement& note, size_t i, int nBy);

// The first entry shown by that name.
std::optional<size_t> FindAttachment(const std::vector<CAttachment>& list,
                                     const std::string& sName);

}  // namespace orv
