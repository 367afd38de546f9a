#pragma once
// `orvella-cli find`: the find dialogs' search from the command line, one
// line per hit; exits 1 when there is none, as grep does.

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

void AddFindCommand(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
