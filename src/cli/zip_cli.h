#pragma once
// `orvella-cli zip FILE [--folder I | --note NOTE] OUT.zip`: the archive the
// desktop program mails, of the whole document, one folder ("Folder.orv") or
// one note ("Note." + its extension), written to OUT.zip. FILE is only read.

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

void AddZipCommand(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
