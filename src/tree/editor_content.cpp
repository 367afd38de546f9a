// Storing the open editor's text back into its note.

#include "base/clock.h"
#include "model/note_keys.h"
#include "tree/note_tree.h"

namespace orv {

bool CNoteTree::StoreEditorText(XMLelement& note, std::string_view sText) {
  // An editor showing a protected note without its password holds a
  // placeholder, which must never replace the content.
  if (GetProperty(note, kSaveKey) == "false") return false;
  CBaseContentNode* pContent = CurrentFolder().ContentOf(note);
  // Merely viewing a note must not date it: otherwise every note looked at
  // would sort as just modified.
  if (!pContent || pContent->GetContent() == sText) return false;
  pContent->SetContent(std::string(sText));
  SetProperty(note, kModifyTimeKey, FormatLocalTime(kNoteTimeFormat));
  MarkModified();
  return true;
}

}  // namespace orv
