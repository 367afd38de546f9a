#pragma once
// `orvella-cli bookmark set|list`: bookmarks 0-9, which lead to a folder by
// its name.

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

void AddBookmarkCommands(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
