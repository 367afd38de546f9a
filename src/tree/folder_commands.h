#pragma once
// The commands of the "&Folders" menu and the folder tabs. Each runs over the
// note tree core: it asks through the UI port, changes the folder list and
// tells the view what to redraw.

#include <string>
#include <string_view>

#include "tree/note_tree.h"

namespace orv {

enum class EFolderCommand {
  New,
  Rename,
  Delete,
  SetIcon,
  MoveLeft,
  MoveRight,
  MakeFirst,
  MakeLast,
  SortAscending,
  SortDescending,
  ShowHidden,
};

// The caption of the text input that asks for a folder's new name.
inline constexpr const char* kFolderNameCaption = "Enter a new name";

// Whether the menu offers the command now.
bool IsEnabled(const CNoteTree& tree, EFolderCommand eCommand);
// Whether the menu item carries a check mark (only Show hidden notes does).
bool IsChecked(const CNoteTree& tree, EFolderCommand eCommand);

// Runs the command on the current folder. False when it is not enabled or the
// user said no or cancelled: then nothing changed.
bool RunFolderCommand(CNoteTree& tree, EFolderCommand eCommand);

// The user selected the tab of folder nIndex; std::invalid_argument when
// there is no such folder.
void SwitchFolder(CNoteTree& tree, int nIndex);

// Makes folder nIndex current, as a bookmark, a link or a find hit leads
// there; for a negative index tells the user there is no folder sName and
// returns false.
bool ShowFolder(CNoteTree& tree, int nIndex, std::string_view sName);

// The tool tip of a folder's tab.
std::string TabToolTip(const CXMLTree& folder);

}  // namespace orv
