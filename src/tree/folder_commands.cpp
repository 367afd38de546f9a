#include "tree/folder_commands.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

#include "ports/confirm.h"

namespace orv {
namespace {

constexpr const char* kAreYouSure = "Are you sure ?";
constexpr const char* kQuestion = "Question";

int FolderCount(const CNoteTree& tree) { return static_cast<int>(tree.Folders().Count()); }

// How every command that changed the folder list ends.
void ShowChange(CNoteTree& tree) {
  tree.RefreshTree(true);
  tree.RebuildTabs();
  tree.MarkModified();
}

void NewFolder(CNoteTree& tree) {
  // Stored while the editor's note still belongs to the current folder.
  tree.StoreEditorContent();
  CFolderList& folders = tree.Folders();
  CXMLTree& folder =
      folders.Append(std::make_unique<CXMLTree>(std::string_view{}, tree.Doc().NoteDefaults()));
  folders.SetCurrent(FolderCount(tree) - 1);
  // Named by the count, not by the highest number in use.
  folder.SetFolderName("Folder #" + std::to_string(folders.CurrentIndex()));
  ShowChange(tree);
}

bool RenameFolder(CNoteTree& tree) {
  CXMLTree& folder = tree.CurrentFolder();
  std::optional<std::string> name =
      tree.Ui().AskText(kFolderNameCaption, folder.FolderName(), false);
  if (!name) return false;
  folder.SetFolderName(std::move(*name));  // an empty name too
  ShowChange(tree);
  return true;
}

bool DeleteFolder(CNoteTree& tree) {
  if (!Confirm(tree.Ui(), tree.Settings(), kAreYouSure, "DelPage", kQuestion)) return false;
  // The editor's text is not stored: its note goes with the folder.
  tree.Folders().RemoveCurrent();
  ShowChange(tree);
  return true;
}

bool SetFolderIcon(CNoteTree& tree) {
  CXMLTree& folder = tree.CurrentFolder();
  std::optional<int> icon = tree.Ui().ChooseIcon(folder.FolderIcon());
  if (!icon) return false;
  folder.SetFolderIcon(*icon);
  tree.RebuildTabs();
  tree.MarkModified();
  return true;
}

// The current folder and the one at nTarget trade places; the current index
// follows. Between neighbours this is the move left or right; with the ends
// it is make first or last, which leaves the folders between in place.
void ExchangeCurrentWith(CNoteTree& tree, int nTarget) {
  tree.StoreEditorContent();
  tree.Folders().ExchangeCurrentWith(nTarget);
  ShowChange(tree);
}

bool SortByName(CNoteTree& tree, bool bAscending) {
  if (!Confirm(tree.Ui(), tree.Settings(), kAreYouSure, "PageSort", kQuestion)) return false;
  tree.StoreEditorContent();
  tree.Folders().SortByName(bAscending);
  ShowChange(tree);
  return true;
}

// A view preference: the document is not marked modified.
void ToggleShowHidden(CNoteTree& tree) {
  CXMLTree& folder = tree.CurrentFolder();
  folder.SetShowHidden(!folder.ShowsHidden());
  tree.RefreshTree(true);
}

}  // namespace

bool IsEnabled(const CNoteTree& tree, EFolderCommand eCommand) {
  const int nCount = FolderCount(tree);
  const int nCurrent = tree.CurrentIndex();
  switch (eCommand) {
    case EFolderCommand::Delete:
      return nCount > 1;
    case EFolderCommand::SetIcon:
      return tree.Folders().Current() != nullptr;
    case EFolderCommand::MoveLeft:
    case EFolderCommand::MakeFirst:
      return nCurrent > 0;
    case EFolderCommand::MoveRight:
    case EFolderCommand::MakeLast:
      return nCurrent < nCount - 1;
    case EFolderCommand::New:
    case EFolderCommand::Rename:
    case EFolderCommand::SortAscending:
    case EFolderCommand::SortDescending:
    case EFolderCommand::ShowHidden:
      return true;
  }
  return false;
}

bool IsChecked(const CNoteTree& tree, EFolderCommand eCommand) {
  return eCommand == EFolderCommand::ShowHidden && tree.CurrentFolder().ShowsHidden();
}

bool RunFolderCommand(CNoteTree& tree, EFolderCommand eCommand) {
  if (!IsEnabled(tree, eCommand)) return false;
  const int nCurrent = tree.CurrentIndex();
  switch (eCommand) {
    case EFolderCommand::New:
      NewFolder(tree);
      return true;
    case EFolderCommand::Rename:
      return RenameFolder(tree);
    case EFolderCommand::Delete:
      return DeleteFolder(tree);
    case EFolderCommand::SetIcon:
      return SetFolderIcon(tree);
    case EFolderCommand::MoveLeft:
      ExchangeCurrentWith(tree, nCurrent - 1);
      return true;
    case EFolderCommand::MoveRight:
      ExchangeCurrentWith(tree, nCurrent + 1);
      return true;
    case EFolderCommand::MakeFirst:
      ExchangeCurrentWith(tree, 0);
      return true;
    case EFolderCommand::MakeLast:
      ExchangeCurrentWith(tree, FolderCount(tree) - 1);
      return true;
    case EFolderCommand::SortAscending:
    case EFolderCommand::SortDescending:
      return SortByName(tree, eCommand == EFolderCommand::SortAscending);
    case EFolderCommand::ShowHidden:
      ToggleShowHidden(tree);
      return true;
  }
  return false;
}

void SwitchFolder(CNoteTree& tree, int nIndex) {
  if (nIndex < 0 || nIndex >= FolderCount(tree))
    throw std::invalid_argument("there is no folder " + std::to_string(nIndex));
  tree.StoreEditorContent();
  tree.Folders().SetCurrent(nIndex);
  tree.CurrentFolder().SetOpenNote(nullptr);
  tree.RefreshTree(false);
  tree.MarkModified();
}

bool ShowFolder(CNoteTree& tree, int nIndex, std::string_view sName) {
  if (nIndex < 0) {
    tree.Ui().ShowMessage("Information", "Folder with name '" + std::string(sName) + "' not found.",
                          EMessageIcon::Information);
    return false;
  }
  tree.StoreEditorContent();
  tree.Folders().SetCurrent(nIndex);
  // Without keeping the scroll: the pane's position is the folder's we left,
  // and would overwrite the one this folder remembers.
  tree.RefreshTree(false);
  tree.RebuildTabs();
  tree.MarkModified();
  return true;
}

std::string TabToolTip(const CXMLTree& folder) {
  return folder.FolderName().empty() ? "A new unsaved file" : folder.FolderName();
}

}  // namespace orv
