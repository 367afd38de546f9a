#include "cli/bookmark_cli.h"

#include <memory>

#include "cli/branch_cli.h"
#include "tree/bookmark_commands.h"

namespace orv::cli {

void AddBookmarkCommands(CLI::App& app, const SCliOptions& options) {
  // The argument holders live as long as the program.
  struct SArguments {
    std::string sFile;
    int nBookmark = 0;
    size_t nFolder = 0;
  };
  auto args = std::make_shared<SArguments>();
  const char* pFileHelp = "Orvella document (.orv)";

  CLI::App* bookmark = app.add_subcommand("bookmark", "Set and list the bookmarks 0-9");
  bookmark->require_subcommand(1);

  CLI::App* set = bookmark->add_subcommand(
      "set", "Bookmark K leads to folder I (by its name); the document is saved with backups");
  set->add_option("FILE", args->sFile, pFileHelp)->required();
  set->add_option("K", args->nBookmark, "Bookmark 0-9; an earlier one is overwritten")
      ->required()
      ->check(CLI::Range(0, 9));
  set->add_option("I", args->nFolder, "Folder index, from 0; it becomes current")->required();
  set->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnFolder(s, args->sFile, args->nFolder, [&](CNoteTree& tree) {
      SetBookmark(tree, args->nBookmark);
      return "set bookmark " + std::to_string(args->nBookmark) + " to folder " +
             std::to_string(tree.CurrentIndex()) + " \"" + tree.CurrentFolder().FolderName() + "\"";
    });
  }));

  CLI::App* list = bookmark->add_subcommand(
      "list", "One line per bookmark: its Go To menu text, the folder name for a set one");
  list->add_option("FILE", args->sFile, pFileHelp)->required();
  list->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnFolder(s, args->sFile, std::nullopt, [&](CNoteTree& tree) {
      std::string sLines;
      for (int k = 0; k < static_cast<int>(kBookmarkCount); ++k)
        sLines += (k ? "\n" : "") + GoToBookmarkMenuText(tree.Doc(), k);
      return sLines;
    });
  }));
}

}  // namespace orv::cli
