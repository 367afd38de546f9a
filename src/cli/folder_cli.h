#pragma once
// `orvella-cli folder add|rename|delete|move|sort|hidden|icon`: the folder
// commands of the desktop program. Each opens FILE, makes the folder it names
// current, runs the command, saves with backup copies and prints one line
// saying what it did.

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

void AddFolderCommands(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
