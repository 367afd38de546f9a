#pragma once
// `orvella-cli note copy|clear`, `merge` and `export-folder`: whole branches
// of notes through the branch clipboard, merging another document's folders
// and writing one folder to a document of its own.

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <string>

#include "cli/cli_session.h"
#include "tree/note_tree.h"

namespace orv::cli {

// Opens sFile, makes folder `folder` current when one is given (as a click on
// its tab), runs `command` and prints the line it returns. The document is
// saved with backups when the command left it modified.
void RunOnFolder(CCliSession& session, const std::string& sFile, std::optional<size_t> folder,
                 const std::function<std::string(CNoteTree&)>& command);

void AddBranchCommands(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
