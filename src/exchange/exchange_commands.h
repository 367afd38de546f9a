#pragma once
// The desktop's import, export and statistics commands: each asks for its
// file, runs the exchange core on the open document and says what came of
// it. A refused file is reported and leaves the document as it was.

#include <functional>
#include <string>

#include "tree/note_tree.h"

namespace orv {

enum class EExchangeCommand {
  ImportKeyNote,
  ImportTreePad,
  ExportKeyNote,
  ExportTreePad,
  ImportTextFile,
  ImportHtmlFile,
  ImportRtfFile,
  ExportTextFile,
  ExportHtmlFile,
  ExportRtfFile,
  Stats,
};

inline constexpr std::string_view kSelectForExport = "Select item for export!";

// Told, once the file is chosen, that the long part starts ("Importing
// notes.knt"); what it shows lasts until the command returns.
using CBusyFunction = std::function<void(const std::string& sWhat)>;

// Whether the menu offers the command now: statistics need a selected note.
bool IsEnabled(CNoteTree& tree, EExchangeCommand eCommand);

// Runs the command; false when the user cancelled, the file was refused or
// nothing was selected: then the document is unchanged. A file that cannot
// be read or written throws CIoError before anything changed.
bool RunExchangeCommand(CNoteTree& tree, EExchangeCommand eCommand, const CBusyFunction& busy = {});

}  // namespace orv
