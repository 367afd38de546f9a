#pragma once
// `orvella-cli new|info|tree|cat|dump|load|export|check`: Orvella documents
// as a whole, their folders and notes. Notes are named F:i.j.k (note_path.h).

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

void AddDocumentCommands(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
