#include "search/pass_to_hit.h"

#include "model/note_keys.h"
#include "tree/folder_commands.h"

namespace orv {

bool PassToHit(CNoteTree& tree, const SFindHit& hit) {
  int nIndex = -1;
  for (size_t i = 0; i < tree.Folders().Count() && nIndex < 0; ++i)
    if (tree.Folders().At(i).FolderName() == hit.sFolderName) nIndex = static_cast<int>(i);
  // Checked before anything changes: a failed jump leaves the selection be.
  if (nIndex >= 0 && hit.pNote && tree.Folders().At(nIndex).GetNoteDepth(*hit.pNote) < 0)
    return false;
  if (nIndex != tree.CurrentIndex()) {
    if (nIndex < 0) return ShowFolder(tree, nIndex, hit.sFolderName);
    tree.StoreEditorContent();
    if (XMLelement* pSelected = tree.SelectedNote()) SetProperty(*pSelected, kSelectedKey, "false");
    ShowFolder(tree, nIndex, hit.sFolderName);
  }
  if (!hit.pNote) return true;
  tree.Select(hit.pNote);
  tree.RefreshTree(false);
  return true;
}

}  // namespace orv
