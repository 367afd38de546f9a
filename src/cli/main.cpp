// orvella-cli: the scriptable front end over the core library.
// Exit status: 0 done, 1 usage error, 2 the command failed, 3 a protected
// document got no passphrase or a wrong one. `find` exits as grep does: 1
// without hits, 2 for a usage error.

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "cli/attach_cli.h"
#include "cli/bookmark_cli.h"
#include "cli/branch_cli.h"
#include "cli/cli_error.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "cli/editor_commands.h"
#include "cli/exchange_cli.h"
#include "cli/find_cli.h"
#include "cli/folder_cli.h"
#include "cli/note_cli.h"
#include "cli/note_set_cli.h"
#include "cli/protection_commands.h"
#include "cli/shortcut_cli.h"
#include "cli/storage_commands.h"
#include "cli/zip_cli.h"

int main(int argc, char** argv) {
  orv::cli::SCliOptions options;
  CLI::App app{
      "Inspect and change Orvella documents and compound files; run the editors' text operations",
      "orvella-cli"};
  app.require_subcommand(1);
  orv::cli::AddGlobalOptions(app, options);
  orv::cli::AddDocumentCommands(app, options);
  orv::cli::AddExchangeCommands(app, options);
  orv::cli::AddFolderCommands(app, options);
  orv::cli::AddNoteCommands(app, options);
  orv::cli::AddNoteSetCommand(app, options);
  orv::cli::AddBranchCommands(app, options);
  orv::cli::AddBookmarkCommands(app, options);
  orv::cli::AddProtectionCommands(app, options);
  orv::cli::AddFindCommand(app, options);
  orv::cli::AddAttachCommands(app, options);
  orv::cli::AddZipCommand(app, options);
  orv::cli::AddStorageCommands(app);
  orv::cli::AddEditorCommands(app);
  orv::cli::AddShortcutCommands(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int nCode = app.exit(e);
    if (nCode != 0 && app.got_subcommand("find")) return 2;
    return nCode == 0 ? 0 : 1;
  } catch (const orv::cli::CExitStatus& e) {
    return e.Status();
  } catch (const orv::CPassphraseError& e) {
    std::cerr << "orvella-cli: " << e.what() << '\n';
    return 3;
  } catch (const std::exception& e) {
    std::cerr << "orvella-cli: " << e.what() << '\n';
    return 2;
  }
  return 0;
}
