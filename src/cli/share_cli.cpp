#include "cli/share_cli.h"

#include <iostream>
#include <memory>

#include "cli/cli_error.h"
#include "cli/cli_tree_view.h"
#include "exchange/shared_folder.h"

namespace orv::cli {
namespace {

struct SArguments {
  std::string sFile;
  std::string sDir;
};

void Create(CCliSession& session, const SArguments& args) {
  session.Doc().LockForChange(args.sFile);
  session.Open(args.sFile);
  CCliTreeView view(session.Doc().Folders());
  CNoteTree tree(session.Doc(), session.Ui(), session.Settings(), view);
  session.Ui().SetChosenFolder(args.sDir);
  CSharedFolders shares;
  shares.Create(tree);
  session.Doc().OnSaveDocument(args.sFile);
  const CXMLTree& folder = *tree.Folders().Current();
  std::cout << "folder " << tree.CurrentIndex() << " \"" << folder.FolderName() << "\" shares "
            << folder.SharePath() << " (" << folder.NoteCount() << " notes)\n";
}

void Reload(CCliSession& session, const SArguments& args) {
  session.Doc().LockForChange(args.sFile);
  session.Open(args.sFile);
  const std::string sRoot = ShareRootPath(args.sDir);
  CSharedFolders shares;
  size_t nFolders = 0;
  for (const auto& pFolder : session.Doc().Folders()) {
    if (!pFolder->IsShared() || pFolder->SharePath() != sRoot) continue;
    // Never loaded in this run: only read, nothing written.
    shares.Refresh(*pFolder, session.Ui());
    pFolder->MarkModified();
    ++nFolders;
  }
  if (!nFolders) throw CCliError("No folder of " + args.sFile + " shares " + sRoot);
  session.Doc().OnSaveDocument(args.sFile);
  std::cout << "reloaded " << nFolders << (nFolders == 1 ? " folder" : " folders") << " from "
            << sRoot << '\n';
}

}  // namespace

void AddShareCommands(CLI::App& app, const SCliOptions& options) {
  auto args = std::make_shared<SArguments>();
  CLI::App* share =
      app.add_subcommand("share", "Folders kept in a shared directory tree; saved with backups");
  share->require_subcommand(1);
  const auto add = [&](const char* pName, const char* pHelp, auto run) {
    CLI::App* command = share->add_subcommand(pName, pHelp);
    command->add_option("FILE", args->sFile, "Orvella document (.orv)")->required();
    command->add_option("DIR", args->sDir, "The shared directory")->required();
    command->callback(SessionCallback(options, [args, run](CCliSession& s) { run(s, *args); }));
  };
  add("create",
      "A new current folder bound to DIR; an empty DIR gets its first note (experimental)", Create);
  add("reload", "Read the folders bound to DIR again from it", Reload);
}

}  // namespace orv::cli
