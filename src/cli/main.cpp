// orvella-cli: the scriptable front end over the core library.
// Exit status: 0 done, 1 usage error, 2 the command failed.

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "cli/document_commands.h"
#include "cli/storage_commands.h"

int main(int argc, char** argv) {
  CLI::App app{"Inspect and change Orvella documents and compound files", "orvella-cli"};
  app.require_subcommand(1);
  orv::cli::AddDocumentCommands(app);
  orv::cli::AddStorageCommands(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int nCode = app.exit(e);
    return nCode == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "orvella-cli: " << e.what() << '\n';
    return 2;
  }
  return 0;
}
