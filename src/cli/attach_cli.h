#pragma once
// `orvella-cli attach list|add|get|rm|mv`: the files attached to a note. The
// bytes live in the user's store (or the one --store names); the note keeps
// the list. A refusal leaves the document and the store as they were.

#include <CLI/CLI.hpp>

#include "cli/cli_session.h"

namespace orv::cli {

void AddAttachCommands(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
