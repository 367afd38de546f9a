#include "cli/folder_cli.h"

#include <functional>
#include <iostream>
#include <optional>

#include "cli/cli_error.h"
#include "cli/cli_tree_view.h"
#include "cli/note_cli.h"
#include "cli/note_path.h"
#include "tree/folder_commands.h"

namespace orv::cli {

namespace {

using TFolderCommand = std::function<std::string(CNoteTree&)>;

// Opens sFile, runs `command` over the note tree core, saves and prints the
// line the command returns.
void RunOnDocument(CCliSession& session, const std::string& sFile, const TFolderCommand& command) {
  session.Doc().LockForChange(sFile);
  session.Open(sFile);
  CCliTreeView view(session.Doc().Folders());
  CNoteTree tree(session.Doc(), session.Ui(), session.Settings(), view);
  const std::string sLine = command(tree);
  session.Doc().OnSaveDocument(sFile);
  std::cout << sLine << '\n';
}

std::string DescribeCurrent(const CNoteTree& tree) {
  return "folder " + std::to_string(tree.CurrentIndex()) + " \"" +
         tree.CurrentFolder().FolderName() + "\"";
}

// As if the user had clicked the folder's tab.
void MakeCurrent(CNoteTree& tree, size_t nFolder) {
  FindFolder(tree.Doc(), SNotePath{std::to_string(nFolder) + ":", nFolder, {}});
  SwitchFolder(tree, static_cast<int>(nFolder));
}

// Runs a command that asks "Are you sure ?", which only --yes answers yes;
// the caller has ruled out every other refusal.
void RunConfirmed(CNoteTree& tree, EFolderCommand eCommand, const std::string& sWhat,
                  const std::string& sFile) {
  if (!RunFolderCommand(tree, eCommand))
    throw CCliError(sWhat + " asks \"Are you sure ?\": give --yes to answer yes; " + sFile +
                    " was not changed");
}

std::string Add(CNoteTree& tree, CCliUi& ui, const std::optional<std::string>& name) {
  RunFolderCommand(tree, EFolderCommand::New);
  if (name) {
    ui.SetTextAnswer(kFolderNameCaption, *name);
    RunFolderCommand(tree, EFolderCommand::Rename);
  }
  return "added " + DescribeCurrent(tree);
}

std::string Rename(CNoteTree& tree, CCliUi& ui, size_t nFolder, const std::string& sName) {
  MakeCurrent(tree, nFolder);
  const std::string sOld = DescribeCurrent(tree);
  ui.SetTextAnswer(kFolderNameCaption, sName);
  RunFolderCommand(tree, EFolderCommand::Rename);
  return "renamed " + sOld + " to \"" + sName + "\"";
}

std::string Delete(CNoteTree& tree, size_t nFolder, const std::string& sFile) {
  MakeCurrent(tree, nFolder);
  if (!IsEnabled(tree, EFolderCommand::Delete))
    throw CCliError("The only folder of a document can't be deleted; " + sFile +
                    " was not changed");
  const std::string sDeleted = DescribeCurrent(tree);
  RunConfirmed(tree, EFolderCommand::Delete, "Deleting a folder", sFile);
  return "deleted " + sDeleted + "; " + DescribeCurrent(tree) + " is current";
}

std::string Move(CNoteTree& tree, size_t nFolder, const std::string& sWhere,
                 const std::string& sFile) {
  const EFolderCommand eCommand = sWhere == "left"    ? EFolderCommand::MoveLeft
                                  : sWhere == "right" ? EFolderCommand::MoveRight
                                  : sWhere == "first" ? EFolderCommand::MakeFirst
                                                      : EFolderCommand::MakeLast;
  MakeCurrent(tree, nFolder);
  const std::string sMoved = DescribeCurrent(tree);
  if (!RunFolderCommand(tree, eCommand)) {
    const bool bAtStart =
        eCommand == EFolderCommand::MoveLeft || eCommand == EFolderCommand::MakeFirst;
    throw CCliError(sMoved + " is already the " + (bAtStart ? "first" : "last") + "; " + sFile +
                    " was not changed");
  }
  return "moved " + sMoved + " to " + std::to_string(tree.CurrentIndex());
}

std::string Sort(CNoteTree& tree, const std::string& sOrder, const std::string& sFile) {
  const bool bAscending = sOrder == "asc";
  RunConfirmed(tree, bAscending ? EFolderCommand::SortAscending : EFolderCommand::SortDescending,
               "Sorting the folders", sFile);
  return "sorted " + std::to_string(tree.Folders().Count()) + " folders by name, " +
         (bAscending ? "ascending" : "descending");
}

std::string Hidden(CNoteTree& tree, size_t nFolder, const std::string& sState) {
  MakeCurrent(tree, nFolder);
  if (IsChecked(tree, EFolderCommand::ShowHidden) != (sState == "on"))
    RunFolderCommand(tree, EFolderCommand::ShowHidden);
  return DescribeCurrent(tree) + (sState == "on" ? " shows" : " leaves out") + " hidden notes";
}

std::string Icon(CNoteTree& tree, CCliUi& ui, size_t nFolder, int nIcon) {
  MakeCurrent(tree, nFolder);
  ui.SetChosenIcon(nIcon);
  RunFolderCommand(tree, EFolderCommand::SetIcon);
  return "set the icon of " + DescribeCurrent(tree) + " to " + std::to_string(nIcon);
}

}  // namespace

void AddFolderCommands(CLI::App& app, const SCliOptions& options) {
  // The argument holders live as long as the program.
  struct SArguments {
    std::string sFile;
    size_t nFolder = 0;
    std::string sName;
    std::optional<std::string> newName;
    std::string sChoice;
    int nIcon = 0;
  };
  auto args = std::make_shared<SArguments>();
  const char* pFileHelp = "Orvella document (.orv)";
  const char* pIndexHelp = "Folder index, from 0; the folder becomes the current one";

  CLI::App* folder = app.add_subcommand(
      "folder", "Change the folders (tabs) of a document; the document is saved with backups");
  folder->require_subcommand(1);

  // Adds a subcommand taking FILE and, with bIndexed, the folder index I.
  auto add = [&](const char* pName, const char* pHelp, bool bIndexed,
                 std::function<std::string(CCliSession&, CNoteTree&)> command) {
    CLI::App* sub = folder->add_subcommand(pName, pHelp);
    sub->add_option("FILE", args->sFile, pFileHelp)->required();
    if (bIndexed) sub->add_option("I", args->nFolder, pIndexHelp)->required();
    sub->callback(SessionCallback(options, [args, command](CCliSession& s) {
      RunOnDocument(s, args->sFile, [&](CNoteTree& tree) { return command(s, tree); });
    }));
    return sub;
  };

  add("add", "Append a new folder named \"Folder #\" and its index, or NAME", false,
      [args](CCliSession& s, CNoteTree& tree) { return Add(tree, s.Ui(), args->newName); })
      ->add_option("--name", args->newName, "Name of the new folder");

  add("rename", "Rename a folder (an empty name is allowed)", true,
      [args](CCliSession& s, CNoteTree& tree) {
        return Rename(tree, s.Ui(), args->nFolder, args->sName);
      })
      ->add_option("NAME", args->sName, "The new name")
      ->required();

  add("delete", "Delete a folder with all its notes (asks; give --yes)", true,
      [args](CCliSession&, CNoteTree& tree) { return Delete(tree, args->nFolder, args->sFile); });

  add("move", "Move a folder one place left or right, or exchange it with the first or last", true,
      [args](CCliSession&, CNoteTree& tree) {
        return Move(tree, args->nFolder, args->sChoice, args->sFile);
      })
      ->add_option("WHERE", args->sChoice, "left, right, first or last")
      ->required()
      ->check(CLI::IsMember({"left", "right", "first", "last"}));

  add("sort", "Sort the folders by name, byte by byte (asks; give --yes)", false,
      [args](CCliSession&, CNoteTree& tree) { return Sort(tree, args->sChoice, args->sFile); })
      ->add_option("ORDER", args->sChoice, "asc or desc")
      ->required()
      ->check(CLI::IsMember({"asc", "desc"}));

  add("sort-notes", "Sort the top-level notes of a folder and their subnotes (asks; give --yes)",
      true,
      [args](CCliSession&, CNoteTree& tree) {
        MakeCurrent(tree, args->nFolder);
        return SortFolderNotes(tree, args->sChoice, args->sFile);
      })
      ->add_option("KEY", args->sChoice, "name, created or modified")
      ->required()
      ->check(CLI::IsMember({"name", "created", "modified"}));

  add("hidden", "Show a folder's hidden notes in the tree, or leave them out", true,
      [args](CCliSession&, CNoteTree& tree) { return Hidden(tree, args->nFolder, args->sChoice); })
      ->add_option("STATE", args->sChoice, "on or off")
      ->required()
      ->check(CLI::IsMember({"on", "off"}));

  add("icon", "Set the image of a folder's tab", true,
      [args](CCliSession& s, CNoteTree& tree) {
        return Icon(tree, s.Ui(), args->nFolder, args->nIcon);
      })
      ->add_option("N", args->nIcon, "Index in the folder icon list")
      ->required()
      ->check(CLI::NonNegativeNumber);
}

}  // namespace orv::cli
