#include "search/find_dialog_state.h"

#include <algorithm>

#include "ports/settings_defaults.h"

namespace orv {
namespace {

constexpr int32_t kOnlyInChoices = 5;

struct SBoxSettings {
  const SIntSetting& matchCase;
  const SIntSetting& wholeWord;
};

SBoxSettings BoxesOf(EFindDialog eDialog) {
  if (eDialog == EFindDialog::FolderNotes) return {kFindNodeMatchCase, kFindNodeWholeWord};
  return {kAdvancedFindMatchCase, kAdvancedFindWholeWord};
}

}  // namespace

SFindDialogState LoadFindDialogState(CSettingsStore& settings, EFindDialog eDialog) {
  SFindDialogState state;
  const SBoxSettings boxes = BoxesOf(eDialog);
  state.bMatchCase = ReadSetting(settings, boxes.matchCase) != 0;
  state.bWholeWord = ReadSetting(settings, boxes.wholeWord) != 0;
  if (eDialog == EFindDialog::FolderNotes) return state;
  state.bIncludeAttachments = ReadSetting(settings, kAdvancedFindAttach) != 0;
  state.bOnlyIn = ReadSetting(settings, kAdvancedFindAllScope) == 1;
  const int32_t nOnlyIn = ReadSetting(settings, kAdvancedFindScope);
  state.nOnlyIn = nOnlyIn >= 0 && nOnlyIn < kOnlyInChoices ? nOnlyIn : 0;
  state.nHistorySelection = std::max(ReadSetting(settings, kAdvancedFindCurSel), 0);
  return state;
}

void SaveFindDialogState(CSettingsStore& settings, EFindDialog eDialog,
                         const SFindDialogState& state) {
  const SBoxSettings boxes = BoxesOf(eDialog);
  WriteSetting(settings, boxes.matchCase, state.bMatchCase ? 1 : 0);
  WriteSetting(settings, boxes.wholeWord, state.bWholeWord ? 1 : 0);
  if (eDialog == EFindDialog::FolderNotes) return;
  WriteSetting(settings, kAdvancedFindAttach, state.bIncludeAttachments ? 1 : 0);
  WriteSetting(settings, kAdvancedFindAllScope, state.bOnlyIn ? 1 : 0);
  WriteSetting(settings, kAdvancedFindScope, state.nOnlyIn);
  WriteSetting(settings, kAdvancedFindCurSel, state.nHistorySelection);
}

EFindScope ScopeOf(const SFindDialogState& state) {
  if (!state.bOnlyIn) return EFindScope::Everywhere;
  return static_cast<EFindScope>(static_cast<int32_t>(EFindScope::FolderNames) + state.nOnlyIn);
}

}  // namespace orv
