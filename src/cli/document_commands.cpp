#include "cli/document_commands.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <tuple>
#include <vector>

#include "cli/cli_error.h"
#include "cli/document_json.h"
#include "cli/input_file.h"
#include "cli/note_path.h"
#include "cli/protection_commands.h"
#include "model/mini_xml_parser.h"
#include "model/note_keys.h"
#include "model/note_walk.h"
#include "text/note_text.h"

namespace orv::cli {

namespace {

void New(CCliSession& session, const std::string& sFile) {
  session.Doc().LockForChange(sFile);
  // A notes document is precious: `new` never writes over one.
  if (std::filesystem::exists(sFile))
    throw CCliError(sFile + " already exists; choose another name or remove it first");
  session.Doc().OnSaveDocument(sFile);
}

void Info(CCliSession& session, const std::string& sFile) {
  session.Open(sFile);
  const COrvellaDoc& doc = session.Doc();
  size_t nNotes = 0;
  for (const auto& pFolder : doc.Folders()) nNotes += pFolder->NoteCount();
  size_t nBookmarks = 0;
  for (const CBookmark& bookmark : doc.Bookmarks()) nBookmarks += bookmark.m_bUsed ? 1 : 0;
  std::cout << "folders: " << doc.Folders().Count() << "\nnotes: " << nNotes
            << "\nencrypted: " << (doc.IsEncrypted() ? "yes" : "no")
            << "\ncurrent folder: " << doc.Folders().CurrentIndex()
            << "\nbookmarks set: " << nBookmarks << '\n';
}

// Notes in document order, two blanks per level.
void PrintNotes(const CElementList& topLevel) {
  WalkNotes(
      topLevel, [](const XMLelement&) { return false; },
      [](const XMLelement& note, const std::vector<size_t>& path) {
        std::cout << std::string(2 * path.size(), ' ') << GetProperty(note, kNameKey) << '\n';
        return true;
      });
}

void Tree(CCliSession& session, const std::string& sFile) {
  session.Open(sFile);
  const auto& folders = session.Doc().Folders();
  for (size_t i = 0; i < folders.Count(); ++i) {
    std::cout << '[' << i << "] " << folders.At(i).FolderName() << '\n';
    PrintNotes(folders.At(i).TopLevel());
  }
}

// The text stored in the document; the files that virtual notes point at are
// not read, so a document can't make the tool read arbitrary files.
void Cat(CCliSession& session, const std::string& sFile, const std::string& sNote, bool bText) {
  SNotePath path = ParseNotePath(sNote);
  session.Open(sFile);
  const XMLelement& note = FindNote(session.Doc(), path);
  const CBaseContentNode* pContent = FindFolder(session.Doc(), path).ContentOf(note);
  if (!pContent) throw CCliError("Note " + sNote + " has no content");
  if (!bText) {
    std::cout << pContent->CachedContent() << std::flush;
    return;
  }
  const int32_t nType = std::atoi(GetProperty(note, kTypeKey).c_str());
  std::cout << VisibleNoteText(pContent->CachedContent(), nType) << '\n' << std::flush;
}

void Dump(CCliSession& session, const std::string& sFile) {
  session.Open(sFile);
  WriteDocumentJson(std::cout, session.Doc());
}

// A document the JSON marks encrypted gets a new passphrase from the
// session's source, by the rules of `encrypt`.
void Load(CCliSession& session, const std::string& sJson, const std::string& sFile) {
  COrvellaDoc& doc = session.Doc();
  doc.LockForChange(sFile);
  if (ReadDocumentJson(ReadInputFile(sJson), doc)) ProtectWithNewPassphrase(session, sFile);
  doc.OnSaveDocument(sFile);
}

enum class EExportForm { Xml, Outline };

void Export(CCliSession& session, EExportForm eForm, const std::string& sFile,
            const std::string& sNote, const std::string& sOut) {
  SNotePath path = ParseNotePath(sNote);
  session.Open(sFile);
  const XMLelement& note = FindNote(session.Doc(), path);
  std::ostringstream text;
  if (eForm == EExportForm::Xml)
    WriteElementText(text, note);
  else
    WriteOutline(text, note);
  ReplaceFileContents(CFileSystem::Default(), sOut, text.str());
}

void Check(CCliSession& session, const std::string& sFile) {
  session.Open(sFile);
  std::cout << "ok\n";
}

}  // namespace

void AddDocumentCommands(CLI::App& app, const SCliOptions& options) {
  // The argument holders live as long as the program.
  auto args = std::make_shared<std::vector<std::string>>(3);
  auto& file = (*args)[0];
  const char* pFileHelp = "Orvella document (.orv)";
  const char* pNoteHelp = "Note F:i.j.k: folder index, then note positions from 0 (0:1.0)";

  CLI::App* create = app.add_subcommand("new", "Write a new document: one folder, one note");
  create->add_option("FILE", file, "Document to create; it must not exist yet")->required();
  create->callback(SessionCallback(options, [args](CCliSession& s) { New(s, (*args)[0]); }));

  CLI::App* info = app.add_subcommand("info", "Count the folders, notes and bookmarks");
  info->add_option("FILE", file, pFileHelp)->required();
  info->callback(SessionCallback(options, [args](CCliSession& s) { Info(s, (*args)[0]); }));

  CLI::App* tree = app.add_subcommand("tree", "List every folder and its notes, hidden ones too");
  tree->add_option("FILE", file, pFileHelp)->required();
  tree->callback(SessionCallback(options, [args](CCliSession& s) { Tree(s, (*args)[0]); }));

  CLI::App* cat = app.add_subcommand("cat", "Write a note's content to standard output");
  cat->add_option("FILE", file, pFileHelp)->required();
  cat->add_option("NOTE", (*args)[1], pNoteHelp)->required();
  auto pText = std::make_shared<bool>(false);
  cat->add_flag("--text", *pText, "The text a reader sees: no RTF control words, no HTML tags");
  cat->callback(SessionCallback(
      options, [args, pText](CCliSession& s) { Cat(s, (*args)[0], (*args)[1], *pText); }));

  CLI::App* dump = app.add_subcommand("dump", "Write the whole document as JSON");
  dump->add_option("FILE", file, pFileHelp)->required();
  dump->callback(SessionCallback(options, [args](CCliSession& s) { Dump(s, (*args)[0]); }));

  CLI::App* load =
      app.add_subcommand("load", "Write the document a JSON file describes (the shape of dump)");
  load->add_option("JSON", (*args)[1], "JSON file, as dump writes it")->required();
  load->add_option("FILE", (*args)[2], "Document to write; an existing one is replaced")
      ->required();
  load->callback(
      SessionCallback(options, [args](CCliSession& s) { Load(s, (*args)[1], (*args)[2]); }));

  CLI::App* exporter = app.add_subcommand("export", "Write a note and its subnotes to a text file");
  exporter->require_subcommand(1);
  for (auto [pName, pHelp, eForm] :
       {std::tuple{"xml", "The note as XML text, attributes and subnotes included",
                   EExportForm::Xml},
        std::tuple{"outline", "An outline of the names of the note and its subnotes",
                   EExportForm::Outline}}) {
    CLI::App* form = exporter->add_subcommand(pName, pHelp);
    form->add_option("FILE", file, pFileHelp)->required();
    form->add_option("NOTE", (*args)[1], pNoteHelp)->required();
    form->add_option("OUT", (*args)[2], "Text file to write; an existing one is replaced")
        ->required();
    form->callback(SessionCallback(options, [args, eExport = eForm](CCliSession& s) {
      Export(s, eExport, (*args)[0], (*args)[1], (*args)[2]);
    }));
  }

  CLI::App* check = app.add_subcommand("check", "Open a document and report what is wrong");
  check->add_option("FILE", file, pFileHelp)->required();
  check->callback(SessionCallback(options, [args](CCliSession& s) { Check(s, (*args)[0]); }));
}

}  // namespace orv::cli
