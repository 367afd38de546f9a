#pragma once
// Bookmarks 0-9 and internal links between notes. Both find their folder by
// its name, never by its index: a bookmark follows its folder when folders
// are reordered and breaks when the folder is renamed or deleted.

#include <optional>
#include <string>
#include <string_view>

#include "tree/note_tree.h"

namespace orv {

// Bookmark k (0-9) takes the current folder; an earlier one is overwritten.
// std::invalid_argument for any other k.
void SetBookmark(CNoteTree& tree, int k);
// The Go To item of bookmark k is offered only for a bookmark that was set.
bool IsGoToBookmarkEnabled(const COrvellaDoc& doc, int k);
// Makes the first folder with the bookmark's folder name current. False when
// the bookmark was never set, or when no folder has that name (the user is
// told): then nothing changed.
bool GoToBookmark(CNoteTree& tree, int k);
// The text of Go To item k, e.g. "&3       Ctrl+3 (Work)".
std::string GoToBookmarkMenuText(const COrvellaDoc& doc, int k);

// The text of an internal link to note sNote of folder sFolder, showing sText.
std::string BuildInternalLink(std::string_view sFolder, std::string_view sNote,
                              std::string_view sText);

struct SInternalLink {
  std::string m_sFolder;  // as written in the link: blanks are "+"
  std::string m_sNote;    // blanks restored
  std::string m_sText;    // blanks restored
};
// The parts of an internal link; nullopt for any other link.
std::optional<SInternalLink> ParseInternalLink(std::string_view sLink);

// The hyperlink dialog's OK: the link text that replaces the rich-text
// editor's selection. Without a chosen folder (nFolder outside the list) the
// user is told "Please select a Folder." and nullopt keeps the dialog open.
std::optional<std::string> MakeInternalLink(CNoteTree& tree, int nFolder, std::string_view sNote,
                                            std::string_view sText);

enum class ELinkResult {
  FolderShown,     // an internal link: its folder is current now
  FolderNotFound,  // an internal link to no folder: the user was told
  External,        // not ours: the platform opens it ("open")
};
// A click on a link in the rich-text editor.
ELinkResult FollowLink(CNoteTree& tree, std::string_view sLink);

}  // namespace orv
