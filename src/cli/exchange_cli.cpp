#include "cli/exchange_cli.h"

#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "base/file_system.h"
#include "cli/note_cli.h"
#include "cli/note_path.h"
#include "cli/share_cli.h"
#include "exchange/keynote_file.h"
#include "exchange/note_files.h"
#include "exchange/treepad_file.h"
#include "model/note_keys.h"

namespace orv::cli {

namespace {

struct SArguments {
  std::string sFile;
  std::string sPath;  // the file read or written
  std::string sNote;
  size_t nFolder = 0;
  std::optional<std::string> under;
};

std::string Plural(size_t nCount, const std::string& sWhat) {
  return std::to_string(nCount) + " " + sWhat + (nCount == 1 ? "" : "s");
}

// Reads IN, opens FILE for change, lets `import` change it with IN's bytes
// and saves it when it did; `import` throws before changing anything for a
// refused file. `--under` makes its note's folder current and passes the
// note (null for "F:").
void RunImport(
    CCliSession& session, const SArguments& args,
    const std::function<std::string(CFolderList&, XMLelement*, const std::string&)>& import) {
  const std::string sBytes = ReadContentFile(args.sPath);
  session.Doc().LockForChange(args.sFile);
  session.Open(args.sFile);
  CFolderList& folders = session.Doc().Folders();
  XMLelement* pUnder = nullptr;
  if (args.under) {
    const SNotePath path = ParseNotePath(*args.under);
    FindFolder(session.Doc(), path);
    if (!path.m_positions.empty()) pUnder = &FindNote(session.Doc(), path);
    folders.SetCurrent(static_cast<int>(path.m_nFolder));
  }
  const std::string sLine = import(folders, pUnder, sBytes);
  if (session.Doc().IsModified()) session.Doc().OnSaveDocument(args.sFile);
  std::cout << sLine << '\n';
}

void AddImportCommands(CLI::App& app, const SCliOptions& options) {
  auto args = std::make_shared<SArguments>();
  CLI::App* importer = app.add_subcommand(
      "import", "Add the notes of a KeyNote, TreePad, text, HTML or RTF file; saved with backups");
  importer->require_subcommand(1);
  const auto add = [&](const char* pName, const char* pHelp, bool bUnder) {
    CLI::App* form = importer->add_subcommand(pName, pHelp);
    form->add_option("FILE", args->sFile, "Orvella document (.orv)")->required();
    form->add_option("IN", args->sPath, "The file to import")->required();
    if (bUnder)
      form->add_option("--under", args->under,
                       "Note F:i.j.k to import under; F: for folder F's top level");
    return form;
  };
  add("knt", "Append the tabs of a KeyNote file (.knt) as folders", false)
      ->callback(SessionCallback(options, [args](CCliSession& s) {
        RunImport(s, *args, [&](CFolderList& folders, XMLelement*, const std::string& sBytes) {
          const size_t nCount = ImportKeyNote(folders, sBytes, CCodePage(), s.Doc().NoteDefaults());
          return "imported " + Plural(nCount, "folder") + " from " + args->sPath;
        });
      }));
  add("hjt",
      "The notes of a TreePad file (.hjt) as a new folder \"from TreePad\", or under --under", true)
      ->callback(SessionCallback(options, [args](CCliSession& s) {
        RunImport(s, *args,
                  [&](CFolderList& folders, XMLelement* pUnder, const std::string& sBytes) {
                    const size_t nCount =
                        ImportTreePad(folders, pUnder, sBytes, CCodePage(), s.Doc().NoteDefaults());
                    return "imported " + Plural(nCount, "note") + " from " + args->sPath;
                  });
      }));
  for (auto [pName, nType] : {std::pair{"text", kContentText}, std::pair{"html", kContentHtml},
                              std::pair{"rtf", kContentRtf}}) {
    add(pName, "A new note named after the file, at the end of the current folder or under --under",
        true)
        ->callback(SessionCallback(options, [args, nType = nType](CCliSession& s) {
          RunImport(s, *args,
                    [&](CFolderList& folders, XMLelement* pUnder,
                        const std::string& sBytes) -> std::string {
                      XMLelement* pNote = ImportNoteFile(*folders.Current(), pUnder, args->sPath,
                                                         sBytes, nType, CCodePage());
                      if (!pNote) return args->sPath + " is empty: no note was made";
                      return "imported \"" + GetProperty(*pNote, kNameKey) + "\" from " +
                             args->sPath;
                    });
        }));
  }
}

void Write(const std::string& sOut, const std::string& sText) {
  ReplaceFileContents(CFileSystem::Default(), sOut, sText);
}

void AddExportCommands(CLI::App& app, const SCliOptions& options) {
  auto args = std::make_shared<SArguments>();
  CLI::App& exporter = *app.get_subcommand("export");
  const char* pFileHelp = "Orvella document (.orv)";
  const char* pOutHelp = "File to write; an existing one is replaced";

  CLI::App* knt = exporter.add_subcommand("knt", "Every folder as a KeyNote file (.knt)");
  knt->add_option("FILE", args->sFile, pFileHelp)->required();
  knt->add_option("OUT", args->sPath, pOutHelp)->required();
  knt->callback(SessionCallback(options, [args](CCliSession& s) {
    s.Open(args->sFile);
    Write(args->sPath, WriteKeyNote(s.Doc().Folders()));
  }));

  CLI::App* hjt = exporter.add_subcommand("hjt", "Folder I as a TreePad 2.7 file (.hjt)");
  hjt->add_option("FILE", args->sFile, pFileHelp)->required();
  hjt->add_option("I", args->nFolder, "Folder index, from 0")->required();
  hjt->add_option("OUT", args->sPath, pOutHelp)->required();
  hjt->callback(SessionCallback(options, [args](CCliSession& s) {
    s.Open(args->sFile);
    const std::string sFolder = std::to_string(args->nFolder) + ":";
    Write(args->sPath, WriteTreePad(FindFolder(s.Doc(), ParseNotePath(sFolder))));
  }));

  for (auto [pName, pHelp, eForm] :
       {std::tuple{"text", "A note's text (an RTF or HTML note's visible text)",
                   ENoteFileForm::Text},
        std::tuple{"html", "A note's HTML (other notes' text as HTML)", ENoteFileForm::Html},
        std::tuple{"rtf", "A note's RTF (other notes' text as RTF)", ENoteFileForm::Rtf}}) {
    CLI::App* form = exporter.add_subcommand(pName, pHelp);
    form->add_option("FILE", args->sFile, pFileHelp)->required();
    form->add_option("NOTE", args->sNote, "Note F:i.j.k")->required();
    form->add_option("OUT", args->sPath, pOutHelp)->required();
    form->callback(SessionCallback(options, [args, eForm = eForm](CCliSession& s) {
      s.Open(args->sFile);
      const SNotePath path = ParseNotePath(args->sNote);
      Write(args->sPath, NoteFileText(FindFolder(s.Doc(), path), FindNote(s.Doc(), path), eForm));
    }));
  }

  CLI::App* stats = app.add_subcommand("stats", "The statistics of the notes below a note");
  stats->add_option("FILE", args->sFile, pFileHelp)->required();
  stats->add_option("NOTE", args->sNote, "Note F:i.j.k")->required();
  stats->callback(SessionCallback(options, [args](CCliSession& s) {
    s.Open(args->sFile);
    const SNotePath path = ParseNotePath(args->sNote);
    std::cout << NoteStatistics(FindFolder(s.Doc(), path), FindNote(s.Doc(), path)) << '\n';
  }));
}

}  // namespace

void AddExchangeCommands(CLI::App& app, const SCliOptions& options) {
  AddImportCommands(app, options);
  AddExportCommands(app, options);
  AddShareCommands(app, options);
}

}  // namespace orv::cli
