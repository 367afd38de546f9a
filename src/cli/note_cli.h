#pragma once
// `orvella-cli note ...`: the note commands of the desktop program, on a note
// named F:i.j.k. Each opens FILE, selects the note in its folder as the user
// would, runs the command, saves with backup copies and prints one line
// saying what it did. Questions are answered yes only with --yes; without it
// the command stops and the file is left as it was.
//
// Further note subcommands go into the same group from their own files:
//
//   CLI::App* sub = NoteCommandGroup(app).add_subcommand("set", "...");
//   ... sub->callback(SessionCallback(options, [args](CCliSession& s) {
//         RunOnNote(s, args->sFile, args->sNote, false,
//                   [&](CNoteTree& tree, XMLelement* pNote) { ...; return "line"; });
//       }));

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

#include "cli/cli_error.h"
#include "cli/cli_session.h"
#include "tree/note_tree.h"

namespace orv::cli {

// The `note` command group, made on first use, so every file adds to the same one.
CLI::App& NoteCommandGroup(CLI::App& app);

// What a note subcommand does with the document open: pNote is the selected
// note, null for "F:" (the folder's top level, nothing selected). Returns the
// line to print.
using TNoteCommand = std::function<std::string(CNoteTree& tree, XMLelement* pNote)>;

// Opens sFile, makes the folder of sNote current and the note its selected
// one (hidden notes too), runs `command`, saves with backups and prints the
// line. "F:" is refused unless bFolderAllowed.
void RunOnNote(CCliSession& session, const std::string& sFile, const std::string& sNote,
               bool bFolderAllowed, const TNoteCommand& command);

// `note 0:1.2 "Name"`, for a note of the current folder.
std::string DescribeNote(CNoteTree& tree, const XMLelement& note);

// The error of a command whose question was not answered yes.
CCliError NotConfirmed(const std::string& sWhat, const std::string& sQuestion,
                       const std::string& sFile);

// The bytes of a file the user names; throws CCliError when it can't be read.
std::string ReadContentFile(const std::string& sPath);

// `folder sort-notes`: sorts the current folder's notes by "name",
// "created" or "modified", as Sort all does.
std::string SortFolderNotes(CNoteTree& tree, const std::string& sKey, const std::string& sFile);

void AddNoteCommands(CLI::App& app, const SCliOptions& options);

}  // namespace orv::cli
