#pragma once
// Commands on the document as a whole that ask the user or follow the
// settings: the storage below only reads and writes.

#include "ports/settings_store.h"
#include "ports/ui_port.h"
#include "storage/orvella_doc.h"

namespace orv {

// Saves, then copies the document into a folder the user picks (remembered
// in "BackupFolder"). A document never saved only gets a warning.
void BackupTo(COrvellaDoc& doc, CUiPort& ui, CSettingsStore& settings);

// Saves to the document's own file when the settings ask for it on minimise.
void SaveOnMinimize(COrvellaDoc& doc, CSettingsStore& settings);

// Before a save to the document's own file: when another program wrote it
// since, asks whether to save over that, reload it or cancel.
enum class ESaveOverChange { Save, Reload, Cancel };
ESaveOverChange AskBeforeSavingOverChange(COrvellaDoc& doc, CUiPort& ui);

}  // namespace orv
