#include "cli/document_commands.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <system_error>
#include <tuple>
#include <vector>

#include "cli/cli_error.h"
#include "cli/document_json.h"
#include "cli/note_path.h"
#include "model/mini_xml_parser.h"

namespace orv::cli {

namespace {

// Every command reads the whole document first: what it prints is what opened.
struct SOpened {
  explicit SOpened(const std::string& sFile) { doc.OnOpenDocument(sFile); }
  COrvellaDoc doc;
};

void New(const std::string& sFile) {
  // A notes document is precious: `new` never writes over one.
  if (std::filesystem::exists(sFile))
    throw CCliError(sFile + " already exists; choose another name or remove it first");
  COrvellaDoc doc;
  doc.OnNewDocument();
  doc.OnSaveDocument(sFile);
}

void Info(const std::string& sFile) {
  SOpened opened(sFile);
  const COrvellaDoc& doc = opened.doc;
  size_t nNotes = 0;
  for (const auto& pFolder : doc.m_folders.m_folders) nNotes += pFolder->NoteCount();
  size_t nBookmarks = 0;
  for (const CBookmark& bookmark : doc.m_bookmarks) nBookmarks += bookmark.m_bUsed ? 1 : 0;
  std::cout << "folders: " << doc.m_folders.m_folders.size() << "\nnotes: " << nNotes
            << "\nencrypted: " << (doc.m_bEncrypted ? "yes" : "no")
            << "\ncurrent folder: " << doc.m_folders.m_nCurrent << "\nbookmarks set: " << nBookmarks
            << '\n';
}

// Notes in document order, two blanks per level. An explicit stack, since
// notes may nest deeper than the call stack would allow.
void PrintNotes(const CElementList& topLevel) {
  struct SFrame {
    const CElementList* pList;
    size_t nNext;
  };
  std::vector<SFrame> stack{{&topLevel, 0}};
  while (!stack.empty()) {
    SFrame& frame = stack.back();
    if (frame.nNext == frame.pList->size()) {
      stack.pop_back();
      continue;
    }
    const XMLelement& element = *(*frame.pList)[frame.nNext++];
    if (!element.IsNote()) continue;
    std::cout << std::string(2 * stack.size(), ' ') << GetProperty(element, "name") << '\n';
    stack.push_back({&element.m_children, 0});
  }
}

void Tree(const std::string& sFile) {
  SOpened opened(sFile);
  const auto& folders = opened.doc.m_folders.m_folders;
  for (size_t i = 0; i < folders.size(); ++i) {
    std::cout << '[' << i << "] " << folders[i]->m_sFolderName << '\n';
    PrintNotes(folders[i]->TopLevel());
  }
}

// The text stored in the document; the files that virtual notes point at are
// not read, so a document can't make the tool read arbitrary files.
void Cat(const std::string& sFile, const std::string& sNote) {
  SNotePath path = ParseNotePath(sNote);
  SOpened opened(sFile);
  const XMLelement& note = FindNote(opened.doc, path);
  const CBaseContentNode* pContent = FindFolder(opened.doc, path).ContentOf(note);
  if (!pContent) throw CCliError("Note " + sNote + " has no content");
  std::cout << pContent->CachedContent() << std::flush;
}

void Dump(const std::string& sFile) {
  SOpened opened(sFile);
  WriteDocumentJson(std::cout, opened.doc);
}

std::string ReadWholeFile(const std::string& sPath) {
  auto pFile = CFileSystem::Default().Open(sPath, EOpenMode::Read);
  std::string sData(pFile->Size(), '\0');
  sData.resize(pFile->ReadAt(0, sData.data(), sData.size()));
  return sData;
}

void Load(const std::string& sJson, const std::string& sFile) {
  COrvellaDoc doc;
  ReadDocumentJson(ReadWholeFile(sJson), doc);
  doc.OnSaveDocument(sFile);
}

// Written beside `sPath` and renamed over it, so a failed export leaves the old file.
void ReplaceFile(const std::string& sPath, const std::string& sData) {
  CFileSystem& fs = CFileSystem::Default();
  std::string sTemporary = sPath + ".orvella-new";
  try {
    auto pFile = fs.Open(sTemporary, EOpenMode::CreateAlways);
    pFile->WriteAt(0, sData.data(), sData.size());
    pFile->Sync();
    pFile.reset();
    fs.Rename(sTemporary, sPath);
  } catch (const CIoError&) {
    std::error_code ignored;  // the first error is the one to report
    std::filesystem::remove(sTemporary, ignored);
    throw;
  }
}

enum class EExportForm { Xml, Outline };

void Export(EExportForm eForm, const std::string& sFile, const std::string& sNote,
            const std::string& sOut) {
  SNotePath path = ParseNotePath(sNote);
  SOpened opened(sFile);
  const XMLelement& note = FindNote(opened.doc, path);
  std::ostringstream text;
  if (eForm == EExportForm::Xml)
    WriteElementText(text, note);
  else
    WriteOutline(text, note);
  ReplaceFile(sOut, text.str());
}

void Check(const std::string& sFile) {
  SOpened opened(sFile);
  std::cout << "ok\n";
}

}  // namespace

void AddDocumentCommands(CLI::App& app) {
  // The argument holders live as long as the program.
  auto args = std::make_shared<std::vector<std::string>>(3);
  auto& file = (*args)[0];
  const char* pFileHelp = "Orvella document (.orv)";
  const char* pNoteHelp = "Note F:i.j.k: folder index, then note positions from 0 (0:1.0)";

  CLI::App* create = app.add_subcommand("new", "Write a new document: one folder, one note");
  create->add_option("FILE", file, "Document to create; it must not exist yet")->required();
  create->callback([args] { New((*args)[0]); });

  CLI::App* info = app.add_subcommand("info", "Count the folders, notes and bookmarks");
  info->add_option("FILE", file, pFileHelp)->required();
  info->callback([args] { Info((*args)[0]); });

  CLI::App* tree = app.add_subcommand("tree", "List every folder and its notes, hidden ones too");
  tree->add_option("FILE", file, pFileHelp)->required();
  tree->callback([args] { Tree((*args)[0]); });

  CLI::App* cat = app.add_subcommand("cat", "Write a note's content to standard output");
  cat->add_option("FILE", file, pFileHelp)->required();
  cat->add_option("NOTE", (*args)[1], pNoteHelp)->required();
  cat->callback([args] { Cat((*args)[0], (*args)[1]); });

  CLI::App* dump = app.add_subcommand("dump", "Write the whole document as JSON");
  dump->add_option("FILE", file, pFileHelp)->required();
  dump->callback([args] { Dump((*args)[0]); });

  CLI::App* load =
      app.add_subcommand("load", "Write the document a JSON file describes (the shape of dump)");
  load->add_option("JSON", (*args)[1], "JSON file, as dump writes it")->required();
  load->add_option("FILE", (*args)[2], "Document to write; an existing one is replaced")
      ->required();
  load->callback([args] { Load((*args)[1], (*args)[2]); });

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
    form->callback([args, eForm] { Export(eForm, (*args)[0], (*args)[1], (*args)[2]); });
  }

  CLI::App* check = app.add_subcommand("check", "Open a document and report what is wrong");
  check->add_option("FILE", file, pFileHelp)->required();
  check->callback([args] { Check((*args)[0]); });
}

}  // namespace orv::cli
