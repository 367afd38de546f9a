#pragma once
// `orvella-cli note set FILE NOTE [options]`: a note's look (colours, bold,
// grayed, highlighted, hidden, check box, icon, description) and protection
// (read-only, password). Prints one line per option given, in the order of
// --help, saying what changed.

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

// Adds `set` to the `note` command group.
void AddNoteSetCommand(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
