#include "cli/branch_cli.h"

#include <iostream>
#include <memory>

#include "cli/cli_tree_view.h"
#include "cli/note_cli.h"
#include "cli/note_path.h"
#include "tree/branch_commands.h"
#include "tree/folder_commands.h"

namespace orv::cli {

namespace {

std::string DescribeFolder(const CNoteTree& tree) {
  return "folder " + std::to_string(tree.CurrentIndex()) + " \"" +
         tree.CurrentFolder().FolderName() + "\"";
}

size_t CountChildNotes(const XMLelement& note) {
  size_t nCount = 0;
  for (const auto& pChild : note.m_children) nCount += pChild->IsNote() ? 1 : 0;
  return nCount;
}

// The source is copied into the clipboard, then the current folder becomes
// TARGET's and the copy goes under TARGET (at the top level for "F:"), so a
// note may be copied into its own branch or into another folder.
std::string Copy(CNoteTree& tree, XMLelement& note, const std::string& sTarget) {
  const SNotePath target = ParseNotePath(sTarget);
  XMLelement* pTarget = target.m_positions.empty() ? nullptr : &FindNote(tree.Doc(), target);
  FindFolder(tree.Doc(), target);
  const std::string sSource = DescribeNote(tree, note);
  CBranchClipboard clipboard;
  RunBranchCommand(tree, clipboard, EBranchCommand::CopySubnotes);
  if (target.m_nFolder != static_cast<size_t>(tree.CurrentIndex()))
    SwitchFolder(tree, static_cast<int>(target.m_nFolder));
  XMLelement* pPasted = PasteSubnotesUnder(tree, clipboard, pTarget);
  if (!pPasted) throw CCliError("Nothing could be pasted under " + sTarget);
  return "copied " + sSource + " as " + DescribeNote(tree, *pPasted);
}

std::string Clear(CNoteTree& tree, XMLelement& note, const std::string& sFile) {
  const size_t nCount = CountChildNotes(note);
  CBranchClipboard unused;
  if (!RunBranchCommand(tree, unused, EBranchCommand::DeleteSubnotes))
    throw NotConfirmed("Deleting subnotes", "Are you sure", sFile);
  return "deleted " + std::to_string(nCount) + " subnote" + (nCount == 1 ? "" : "s") + " of " +
         DescribeNote(tree, note);
}

std::string Merge(CNoteTree& tree, CCliUi& ui, const std::string& sOther) {
  const size_t nBefore = tree.Folders().Count();
  ui.SetChosenFile(sOther);
  CBranchClipboard unused;
  RunBranchCommand(tree, unused, EBranchCommand::Merge);
  const size_t nAdded = tree.Folders().Count() - nBefore;
  return "merged " + std::to_string(nAdded) + " folder" + (nAdded == 1 ? "" : "s") + " from " +
         sOther + "; " + DescribeFolder(tree) + " is current";
}

std::string ExportFolder(CNoteTree& tree, CCliUi& ui, const std::string& sOut) {
  ui.SetChosenFile(sOut);
  ui.SetInformationMuted(true);  // "Export is complete." says less than our line
  CBranchClipboard unused;
  RunBranchCommand(tree, unused, EBranchCommand::ExportFolder);
  return "exported " + DescribeFolder(tree) + " to " + sOut;
}

}  // namespace

void RunOnFolder(CCliSession& session, const std::string& sFile, std::optional<size_t> folder,
                 const std::function<std::string(CNoteTree&)>& command) {
  session.Doc().LockForChange(sFile);
  session.Open(sFile);
  CCliTreeView view(session.Doc().Folders());
  CNoteTree tree(session.Doc(), session.Ui(), session.Settings(), view);
  if (folder) {
    FindFolder(session.Doc(), SNotePath{std::to_string(*folder) + ":", *folder, {}});
    SwitchFolder(tree, static_cast<int>(*folder));
  }
  const std::string sLine = command(tree);
  if (session.Doc().IsModified()) session.Doc().OnSaveDocument(sFile);
  std::cout << sLine << '\n';
}

void AddBranchCommands(CLI::App& app, const SCliOptions& options) {
  // The argument holders live as long as the program.
  struct SArguments {
    std::string sFile;
    std::string sNote;
    std::string sOther;
    size_t nFolder = 0;
  };
  auto args = std::make_shared<SArguments>();
  const char* pFileHelp = "Orvella document (.orv)";
  const char* pNoteHelp = "Note F:i.j.k: folder index, then note positions from 0 (0:1.0)";

  CLI::App& note = NoteCommandGroup(app);
  CLI::App* copy = note.add_subcommand(
      "copy", "Copy a note with its subnotes and contents as the last subnote of TARGET");
  copy->add_option("FILE", args->sFile, pFileHelp)->required();
  copy->add_option("NOTE", args->sNote, pNoteHelp)->required();
  copy->add_option("TARGET", args->sOther, "Note F:i.j.k in any folder; F: for its top level")
      ->required();
  copy->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnNote(s, args->sFile, args->sNote, false,
              [&](CNoteTree& tree, XMLelement* pNote) { return Copy(tree, *pNote, args->sOther); });
  }));

  CLI::App* clear = note.add_subcommand(
      "clear", "Delete every subnote of a note; the note stays (asks; give --yes)");
  clear->add_option("FILE", args->sFile, pFileHelp)->required();
  clear->add_option("NOTE", args->sNote, pNoteHelp)->required();
  clear->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnNote(s, args->sFile, args->sNote, false,
              [&](CNoteTree& tree, XMLelement* pNote) { return Clear(tree, *pNote, args->sFile); });
  }));

  CLI::App* merge = app.add_subcommand(
      "merge", "Append the folders of OTHER; the folder current there becomes current");
  merge->add_option("FILE", args->sFile, pFileHelp)->required();
  merge->add_option("OTHER", args->sOther, "The document whose folders are appended")->required();
  merge->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnFolder(s, args->sFile, std::nullopt,
                [&](CNoteTree& tree) { return Merge(tree, s.Ui(), args->sOther); });
  }));

  CLI::App* exporter = app.add_subcommand(
      "export-folder",
      "Write folder I alone to the document OUT; FILE is saved first, folder I current");
  exporter->add_option("FILE", args->sFile, pFileHelp)->required();
  exporter->add_option("I", args->nFolder, "Folder index, from 0")->required();
  exporter->add_option("OUT", args->sOther, "Document to write; an existing one is replaced")
      ->required();
  exporter->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnFolder(s, args->sFile, args->nFolder,
                [&](CNoteTree& tree) { return ExportFolder(tree, s.Ui(), args->sOther); });
  }));
}

}  // namespace orv::cli
