#pragma once
// `orvella-cli text|calc|html-clean`: the editors' own operations on text
// from outside a document.

#include <CLI/CLI.hpp>

namespace orv::cli {

void AddEditorCommands(CLI::App& app);

}  // namespace orv::cli
