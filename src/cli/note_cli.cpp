#include "cli/note_cli.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "cli/cli_tree_view.h"
#include "cli/input_file.h"
#include "cli/note_path.h"
#include "model/note_keys.h"
#include "model/note_walk.h"
#include "ports/settings_defaults.h"
#include "tree/folder_commands.h"
#include "tree/note_commands.h"
#include "tree/note_order_commands.h"

namespace orv::cli {

namespace {

const std::vector<std::string> kSortKeys{"name", "created", "modified"};

// "0:1.2": the folder index, then the note's position among the notes at
// each level. One walk, however deep the note lies.
std::string NotePathText(CNoteTree& tree, const XMLelement& note) {
  std::string sText = std::to_string(tree.CurrentIndex()) + ":";
  bool bFound = false;
  WalkNotes(
      tree.CurrentFolder().TopLevel(), [](const XMLelement&) { return false; },
      [&](const XMLelement& element, const std::vector<size_t>& path) {
        if (&element != &note) return true;
        for (size_t i = 0; i < path.size(); ++i) sText += (i ? "." : "") + std::to_string(path[i]);
        bFound = true;
        return false;
      });
  return bFound ? sText : sText + "?";
}

EOrderCommand SortCommand(const std::string& sKey, bool bAll) {
  const auto nKey = std::find(kSortKeys.begin(), kSortKeys.end(), sKey) - kSortKeys.begin();
  const auto eFirst = bAll ? EOrderCommand::SortAllByName : EOrderCommand::SortSubnotesByName;
  return static_cast<EOrderCommand>(static_cast<int>(eFirst) + nKey);
}

struct SAddArguments {
  bool bBefore = false;
  bool bChild = false;
  std::string sName;
  std::optional<std::string> type;
  std::optional<std::string> contentFile;
};

std::string Add(CCliSession& session, CNoteTree& tree, XMLelement* pNote, const SAddArguments& add,
                const std::string& sFile) {
  const std::optional<std::string> content =
      add.contentFile ? std::optional(ReadInputFile(*add.contentFile)) : std::nullopt;
  if (add.type) {
    // For this run only: the user's default type stays as it is.
    session.Settings().Override(kSetDef, 1);
    session.Settings().Override(kDefType, *add.type == "text"   ? kContentText
                                          : *add.type == "html" ? kContentHtml
                                                                : kContentRtf);
  }
  const ENoteCommand eCommand = !pNote        ? ENoteCommand::NewNote
                                : add.bBefore ? ENoteCommand::InsertBefore
                                : add.bChild  ? ENoteCommand::NewSubnote
                                              : ENoteCommand::NewNote;
  XMLelement* pNew = CreateNote(tree, eCommand);
  if (!pNew)
    throw CCliError(std::string("The settings ask for the type of every new note: give --type ") +
                    "text, html or rtf; " + sFile + " was not changed");
  OnLabelEdited(tree, *pNew, add.sName);  // as if the user typed the name
  if (content) tree.StoreEditorText(*pNew, *content);
  return "added " + DescribeNote(tree, *pNew);
}

std::string Rename(CNoteTree& tree, XMLelement& note, const std::string& sName) {
  const std::string sOld = DescribeNote(tree, note);
  RunNoteCommand(tree, ENoteCommand::Rename);
  OnLabelEdited(tree, note, sName);
  return "renamed " + sOld + " to \"" + GetProperty(note, kNameKey) + "\"";
}

std::string Delete(CNoteTree& tree, XMLelement& note, const std::string& sFile) {
  const std::string sDeleted = DescribeNote(tree, note);
  if (!RunNoteCommand(tree, ENoteCommand::Delete))
    throw NotConfirmed("Deleting a note", "Are you sure ?", sFile);
  return "deleted " + sDeleted;
}

std::string Move(CNoteTree& tree, XMLelement& note, const std::string& sWhere,
                 const std::string& sFile) {
  const ENoteCommand eCommand = sWhere == "up"     ? ENoteCommand::MoveUp
                                : sWhere == "down" ? ENoteCommand::MoveDown
                                : sWhere == "left" ? ENoteCommand::MoveLeft
                                                   : ENoteCommand::MoveRight;
  const std::string sMoved = DescribeNote(tree, note);
  if (!RunNoteCommand(tree, eCommand))
    throw CCliError(sMoved + " can't move " + sWhere + "; " + sFile + " was not changed");
  return "moved " + sMoved + " " + sWhere + " to " + NotePathText(tree, note);
}

std::string Drop(CNoteTree& tree, XMLelement& note, const std::string& sTarget, bool bCopy,
                 const std::string& sFile) {
  const SNotePath targetPath = ParseNotePath(sTarget);
  if (targetPath.m_nFolder != static_cast<size_t>(tree.CurrentIndex()))
    throw CCliError("Notes are dropped within their folder: " + sTarget +
                    " is in another folder; " + sFile + " was not changed");
  XMLelement& target = FindNote(tree.Doc(), targetPath);
  const std::string sDropped = DescribeNote(tree, note);
  const std::string sOnto = DescribeNote(tree, target);
  XMLelement* pPlaced = DropNote(tree, note, target, EDropPlace::Onto, !bCopy);
  if (!pPlaced)
    throw CCliError(sDropped + " can't move into itself or one of its subnotes; " + sFile +
                    " was not changed");
  return (bCopy ? "copied " : "moved ") + sDropped + " under " + sOnto + " as " +
         NotePathText(tree, *pPlaced);
}

void RunConfirmedOrder(CNoteTree& tree, EOrderCommand eCommand, const std::string& sWhat,
                       const std::string& sFile) {
  if (!RunOrderCommand(tree, eCommand)) throw NotConfirmed(sWhat, "Are you sure", sFile);
}

std::string SortSubnotes(CNoteTree& tree, XMLelement& note, const std::string& sKey,
                         const std::string& sFile) {
  RunConfirmedOrder(tree, SortCommand(sKey, false), "Sorting notes", sFile);
  return "sorted the subnotes of " + DescribeNote(tree, note) + " by " + sKey;
}

std::string Number(CNoteTree& tree, XMLelement& note, const std::string& sFile) {
  RunConfirmedOrder(tree, EOrderCommand::AutoNumber, "Numbering notes", sFile);
  return "numbered " + DescribeNote(tree, note) + " and the notes below it";
}

std::string ExpandOrCollapse(CNoteTree& tree, XMLelement& note, bool bExpand) {
  RunOrderCommand(tree, bExpand ? EOrderCommand::ExpandSubnotes : EOrderCommand::CollapseSubnotes);
  return (bExpand ? "expanded " : "collapsed ") + DescribeNote(tree, note) +
         " and the notes below it";
}

}  // namespace

std::string ReadContentFile(const std::string& sPath) {
  std::ifstream file(sPath, std::ios::binary);
  std::string sData{std::istreambuf_iterator<char>(file), {}};
  if (!file.is_open() || file.bad()) throw CCliError("Can't read " + sPath);
  return sData;
}

CLI::App& NoteCommandGroup(CLI::App& app) {
  auto found = app.get_subcommands([](CLI::App* pSub) { return pSub->get_name() == "note"; });
  if (!found.empty()) return *found.front();
  CLI::App* note = app.add_subcommand(
      "note", "Change the notes of a document; the document is saved with backups");
  note->require_subcommand(1);
  return *note;
}

void RunOnNote(CCliSession& session, const std::string& sFile, const std::string& sNote,
               bool bFolderAllowed, const TNoteCommand& command) {
  const SNotePath path = ParseNotePath(sNote);
  session.Doc().LockForChange(sFile);
  session.Open(sFile);
  FindFolder(session.Doc(), path);
  XMLelement* pNote =
      bFolderAllowed && path.m_positions.empty() ? nullptr : &FindNote(session.Doc(), path);
  CCliTreeView view(session.Doc().Folders());
  CNoteTree tree(session.Doc(), session.Ui(), session.Settings(), view);
  SwitchFolder(tree, static_cast<int>(path.m_nFolder));
  // Paths name hidden notes too, so the folder shows them while the command runs.
  CXMLTree& folder = tree.CurrentFolder();
  const bool bShowHidden = folder.ShowsHidden();
  folder.SetShowHidden(true);
  tree.Select(pNote);
  const std::string sLine = command(tree, pNote);
  folder.SetShowHidden(bShowHidden);
  session.Doc().OnSaveDocument(sFile);
  std::cout << sLine << '\n';
}

std::string DescribeNote(CNoteTree& tree, const XMLelement& note) {
  return "note " + NotePathText(tree, note) + " \"" + GetProperty(note, kNameKey) + "\"";
}

CCliError NotConfirmed(const std::string& sWhat, const std::string& sQuestion,
                       const std::string& sFile) {
  return CCliError(sWhat + " asks \"" + sQuestion + "\": give --yes to answer yes; " + sFile +
                   " was not changed");
}

std::string SortFolderNotes(CNoteTree& tree, const std::string& sKey, const std::string& sFile) {
  RunConfirmedOrder(tree, SortCommand(sKey, true), "Sorting notes", sFile);
  return "sorted the notes of folder " + std::to_string(tree.CurrentIndex()) + " \"" +
         tree.CurrentFolder().FolderName() + "\" by " + sKey;
}

void AddNoteCommands(CLI::App& app, const SCliOptions& options) {
  // The argument holders live as long as the program.
  struct SArguments {
    std::string sFile;
    std::string sNote;
    std::string sChoice;
    bool bAfter = false;
    bool bCopy = false;
    SAddArguments add;
  };
  auto args = std::make_shared<SArguments>();
  const char* pFileHelp = "Orvella document (.orv)";
  const char* pNoteHelp = "Note F:i.j.k: folder index, then note positions from 0 (0:1.0)";
  CLI::App& note = NoteCommandGroup(app);
  using TCommand = std::function<std::string(CCliSession&, CNoteTree&, XMLelement*)>;

  // Adds a subcommand taking FILE and NOTE; with bFolderAllowed NOTE may be "F:".
  auto add = [&](const char* pName, const char* pHelp, bool bFolderAllowed, TCommand command) {
    CLI::App* sub = note.add_subcommand(pName, pHelp);
    sub->add_option("FILE", args->sFile, pFileHelp)->required();
    sub->add_option("NOTE", args->sNote, pNoteHelp)->required();
    sub->callback(SessionCallback(options, [args, bFolderAllowed, command](CCliSession& s) {
      RunOnNote(s, args->sFile, args->sNote, bFolderAllowed,
                [&](CNoteTree& tree, XMLelement* pNote) { return command(s, tree, pNote); });
    }));
    return sub;
  };

  CLI::App* create =
      add("add",
          "Add a note named NAME after, before or under NOTE; with F: at the end of the top level",
          true, [args](CCliSession& s, CNoteTree& tree, XMLelement* pNote) {
            return Add(s, tree, pNote, args->add, args->sFile);
          });
  CLI::Option_group* place = create->add_option_group("place", "Where the new note goes");
  place->add_flag("--after", args->bAfter, "The next sibling of NOTE");
  place->add_flag("--before", args->add.bBefore, "The previous sibling of NOTE");
  place->add_flag("--child", args->add.bChild, "The last subnote of NOTE");
  place->require_option(1);
  create->add_option("--name", args->add.sName, "Its name (\"<\" and \">\" become \"[\" and \"]\")")
      ->required();
  create->add_option("--type", args->add.type, "Its content type; else the default type")
      ->check(CLI::IsMember({"text", "html", "rtf"}));
  create
      ->add_option("--content-file", args->add.contentFile, "A file whose bytes become its content")
      ->type_name("F");

  add("rename", "Rename a note (\"<\" and \">\" become \"[\" and \"]\")", false,
      [args](CCliSession&, CNoteTree& tree, XMLelement* pNote) {
        return Rename(tree, *pNote, args->sChoice);
      })
      ->add_option("NAME", args->sChoice, "The new name")
      ->required();

  add("delete", "Delete a note with its subnotes (asks; give --yes)", false,
      [args](CCliSession&, CNoteTree& tree, XMLelement* pNote) {
        return Delete(tree, *pNote, args->sFile);
      });

  add("move", "Move a note among its siblings (up, down) or between levels (left, right)", false,
      [args](CCliSession&, CNoteTree& tree, XMLelement* pNote) {
        return Move(tree, *pNote, args->sChoice, args->sFile);
      })
      ->add_option("WHERE", args->sChoice, "up, down, left or right")
      ->required()
      ->check(CLI::IsMember({"up", "down", "left", "right"}));

  CLI::App* drop =
      add("drop", "Drop a note with its subnotes on TARGET, as its last subnote: moved, or copied",
          false, [args](CCliSession&, CNoteTree& tree, XMLelement* pNote) {
            return Drop(tree, *pNote, args->sChoice, args->bCopy, args->sFile);
          });
  drop->add_option("TARGET", args->sChoice, "Note F:i.j.k in the same folder")->required();
  drop->add_flag("--copy", args->bCopy, "Copy rather than move");

  add("sort", "Sort a note's subnotes, byte by byte (asks; give --yes)", false,
      [args](CCliSession&, CNoteTree& tree, XMLelement* pNote) {
        return SortSubnotes(tree, *pNote, args->sChoice, args->sFile);
      })
      ->add_option("KEY", args->sChoice, "name, created or modified")
      ->required()
      ->check(CLI::IsMember(kSortKeys));

  add("number",
      "Number a note \"1.\" and the notes below it \"1.1.\", \"1.2.1.\"... (asks; give --yes)",
      false, [args](CCliSession&, CNoteTree& tree, XMLelement* pNote) {
        return Number(tree, *pNote, args->sFile);
      });

  for (bool bExpand : {true, false})
    add(bExpand ? "expand" : "collapse",
        bExpand ? "Open the branches of a note and of every note below it"
                : "Close the branches of a note and of every note below it",
        false, [bExpand](CCliSession&, CNoteTree& tree, XMLelement* pNote) {
          return ExpandOrCollapse(tree, *pNote, bExpand);
        });
}

}  // namespace orv::cli
