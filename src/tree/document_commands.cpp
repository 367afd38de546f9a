#include "tree/document_commands.h"

#include "ports/settings_defaults.h"

namespace orv {

void BackupTo(COrvellaDoc& doc, CUiPort& ui, CSettingsStore& settings) {
  if (doc.PathName().empty()) {
    ui.ShowMessage("Warning", "Now document not saved to disk.", EMessageIcon::Warning);
    return;
  }
  std::optional<std::string> folder =
      ui.ChooseFolder("Select backup folder", ReadSetting(settings, kBackupFolder));
  if (!folder) return;
  WriteSetting(settings, kBackupFolder, *folder);
  doc.BackupInto(*folder);
}

void SaveOnMinimize(COrvellaDoc& doc, CSettingsStore& settings) {
  // A document never saved has no name to save under, and one that another
  // program saved since can't be asked about: both wait for the user.
  if (doc.PathName().empty() || !ReadSetting(settings, kMinimizeToTray) ||
      !ReadSetting(settings, kAutoSaveByMinimize) || doc.ChangedOnDisk())
    return;
  doc.OnSaveDocument(doc.PathName());
}

ESaveOverChange AskBeforeSavingOverChange(COrvellaDoc& doc, CUiPort& ui) {
  if (!doc.ChangedOnDisk()) return ESaveOverChange::Save;
  std::optional<int> answer = ui.AskChoice(
      doc.PathName() +
          " was changed by another program since it was opened here.\n\nSave anyway "
          "(the other program's changes are lost), reload it (the changes made here are "
          "lost), or cancel?",
      {"Save anyway", "Reload", "Cancel"});
  if (answer == 0) return ESaveOverChange::Save;
  if (answer == 1) return ESaveOverChange::Reload;
  return ESaveOverChange::Cancel;
}

}  // namespace orv
