#pragma once
// `orvella-cli import knt|hjt|text|html|rtf`, `export knt|hjt|text|html|rtf`,
// `stats` and `share`: KeyNote and TreePad files, single-note files, a
// branch's statistics and shared folders. A refused file leaves the
// document as it was.

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

// Adds to the `export` command that AddDocumentCommands made: call after it.
void AddExchangeCommands(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
