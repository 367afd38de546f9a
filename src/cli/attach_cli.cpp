#include "cli/attach_cli.h"

#include <iostream>
#include <memory>

#include "app/user_files.h"
#include "attachments/attachment_commands.h"
#include "cli/note_cli.h"
#include "cli/note_path.h"

namespace orv::cli {

namespace {

struct SArguments {
  std::string sFile;
  std::string sNote;
  std::string sName;
  std::vector<std::string> sources;
  std::string sOut;
  std::string sWhere;
  std::string sStore;
};

std::string StorePath(const SArguments& args) {
  return args.sStore.empty() ? AttachmentsFilePath() : args.sStore;
}

// The note's list for a command that only reads.
std::vector<CAttachment> ReadList(CCliSession& session, const SArguments& args) {
  session.Open(args.sFile);
  return ReadAttachments(FindNote(session.Doc(), ParseNotePath(args.sNote)));
}

size_t Entry(const std::vector<CAttachment>& list, const SArguments& args) {
  const std::optional<size_t> i = FindAttachment(list, args.sName);
  if (!i)
    throw CCliError("Note " + args.sNote + " has no attachment \"" + args.sName + "\"; " +
                    args.sFile + " was not changed");
  return *i;
}

std::string Added(CNoteTree& tree, XMLelement& note, const SArguments& args) {
  std::vector<std::string> files;
  for (const std::string& sSource : args.sources) {
    std::error_code ec;
    if (std::filesystem::is_directory(sSource, ec)) {
      for (std::string& sFile : FilesOfFolder(CFileSystem::Default(), sSource))
        files.push_back(std::move(sFile));
    } else {
      files.push_back(sSource);
    }
  }
  CAttachmentStore store(StorePath(args));
  const size_t nBefore = ReadAttachments(note).size();
  const std::vector<CAttachment> list = AddAttachments(tree, note, store, files);
  std::string sLines;
  for (size_t i = nBefore; i < list.size(); ++i)
    sLines += (i > nBefore ? "\n" : "") + std::string("attached \"") + list[i].sName + "\" to " +
              DescribeNote(tree, note);
  return sLines.empty() ? "attached nothing to " + DescribeNote(tree, note) : sLines;
}

}  // namespace

void AddAttachCommands(CLI::App& app, const SCliOptions& options) {
  auto args = std::make_shared<SArguments>();
  CLI::App* attach = app.add_subcommand("attach", "The files attached to a note");
  attach->require_subcommand(1);
  auto add = [&](const char* pName, const char* pHelp) {
    CLI::App* sub = attach->add_subcommand(pName, pHelp);
    sub->add_option("FILE", args->sFile, "Orvella document (.orv)")->required();
    sub->add_option("NOTE", args->sNote,
                    "Note F:i.j.k: folder index, then note positions from 0 (0:1.0)")
        ->required();
    sub->add_option("--store", args->sStore,
                    "The attachment store to use instead of the user's Attachments.stg");
    return sub;
  };
  auto name = [&](CLI::App* sub) {
    sub->add_option("NAME", args->sName, "The attachment's name; the first of that name")
        ->required();
  };

  CLI::App* list = add("list", "One line per attachment: its name, a tab, when it was added");
  list->callback(SessionCallback(options, [args](CCliSession& s) {
    for (const CAttachment& a : ReadList(s, *args))
      std::cout << a.sName << '\t' << a.sCreated << '\n';
  }));

  CLI::App* put = add("add",
                      "Attach files to the note, all or none; a folder adds the files directly in "
                      "it, not those of its subfolders");
  put->add_option("SRC", args->sources, "Files or folders")->required();
  put->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnNote(s, args->sFile, args->sNote, false,
              [&](CNoteTree& tree, XMLelement* pNote) { return Added(tree, *pNote, *args); });
  }));

  CLI::App* get = add("get", "Copy an attachment's bytes to OUT, which is replaced when complete");
  name(get);
  get->add_option("OUT", args->sOut, "The file to write")->required();
  get->callback(SessionCallback(options, [args](CCliSession& s) {
    const std::vector<CAttachment> attachments = ReadList(s, *args);
    CAttachmentStore store(StorePath(*args));
    store.Extract(attachments[Entry(attachments, *args)].StreamName(), args->sOut);
    std::cout << "wrote \"" << args->sName << "\" to " << args->sOut << '\n';
  }));

  CLI::App* remove = add("rm", "Remove an attachment from the note (its bytes stay in the store)");
  name(remove);
  remove->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnNote(s, args->sFile, args->sNote, false, [&](CNoteTree& tree, XMLelement* pNote) {
      const std::string sNote = DescribeNote(tree, *pNote);
      if (!DeleteAttachment(tree, *pNote, Entry(ReadAttachments(*pNote), *args)))
        throw NotConfirmed("Removing an attachment", "Are you sure", args->sFile);
      return "removed \"" + args->sName + "\" from " + sNote;
    });
  }));

  CLI::App* move = add("mv", "Move an attachment up or down the note's list");
  name(move);
  move->add_option("WHERE", args->sWhere, "up or down")
      ->required()
      ->check(CLI::IsMember({"up", "down"}));
  move->callback(SessionCallback(options, [args](CCliSession& s) {
    RunOnNote(s, args->sFile, args->sNote, false, [&](CNoteTree& tree, XMLelement* pNote) {
      const size_t i = Entry(ReadAttachments(*pNote), *args);
      if (!MoveAttachment(tree, *pNote, i, args->sWhere == "up" ? -1 : 1))
        throw CCliError("\"" + args->sName + "\" is already at the " +
                        (args->sWhere == "up" ? "top" : "bottom") + "; " + args->sFile +
                        " was not changed");
      return "moved \"" + args->sName + "\" " + args->sWhere + " in " + DescribeNote(tree, *pNote);
    });
  }));
}

}  // namespace orv::cli
