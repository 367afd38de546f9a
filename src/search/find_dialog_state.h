#pragma once
// What each find dialog remembers between uses: its boxes, and for the
// advanced one the scope and the history item selected.

#include <cstdint>

#include "ports/settings_store.h"
#include "search/note_search.h"

namespace orv {

enum class EFindDialog { FolderNotes, Advanced };

struct SFindDialogState {
  bool bMatchCase = false;
  bool bWholeWord = false;
  // The advanced dialog's alone:
  bool bIncludeAttachments = false;
  bool bOnlyIn = false;  // else everywhere
  int32_t nOnlyIn = 0;   // "Only in Folder name" … "Only in HTML note"
  int32_t nHistorySelection = 0;
};

// Values out of range read as their defaults.
SFindDialogState LoadFindDialogState(CSettingsStore& settings, EFindDialog eDialog);
void SaveFindDialogState(CSettingsStore& settings, EFindDialog eDialog,
                         const SFindDialogState& state);

// The scope the state's choice names.
EFindScope ScopeOf(const SFindDialogState& state);

}  // namespace orv
