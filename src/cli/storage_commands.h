#pragma once
// `orvella-cli storage ...`: compound files element by element.

#include <CLI/CLI.hpp>

namespace orv::cli {

void AddStorageCommands(CLI::App& app);

}  // namespace orv::cli
