#pragma once
// `orvella-cli share create|reload FILE DIR`: a folder of the document bound
// to a shared directory tree, and such folders read again from it.

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

void AddShareCommands(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
