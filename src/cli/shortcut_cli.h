#pragma once
// `orvella-cli shortcuts list|reset|set` and `orvella-cli tools list|add|rm`:
// the user's keyboard shortcuts and external tools, in the files the desktop
// app reads at start-up.

#include <CLI/CLI.hpp>

namespace orv::cli {

void AddShortcutCommands(CLI::App& app);

}  // namespace orv::cli
