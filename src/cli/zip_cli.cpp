#include "cli/zip_cli.h"

#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <optional>

#include "attachments/archive_mail.h"
#include "cli/cli_error.h"
#include "cli/note_path.h"
#include "model/note_keys.h"

namespace orv::cli {

namespace fs = std::filesystem;

namespace {

// A folder of our own for "Folder.orv" on its way into the archive.
class CScratchDir {
 public:
  CScratchDir() {
    std::string sTemplate = (fs::temp_directory_path() / "orvella-zip-XXXXXX").string();
    if (!mkdtemp(sTemplate.data())) throw CCliError("Can't make a scratch folder in /tmp");
    m_path = sTemplate;
  }
  ~CScratchDir() {
    std::error_code error;
    fs::remove_all(m_path, error);
  }
  CScratchDir(const CScratchDir&) = delete;
  CScratchDir& operator=(const CScratchDir&) = delete;
  std::string Path() const { return m_path.string(); }

 private:
  fs::path m_path;
};

bool IsSameFile(const std::string& sFirst, const std::string& sSecond) {
  std::error_code error;
  if (fs::equivalent(sFirst, sSecond, error)) return true;
  const fs::path first = fs::weakly_canonical(sFirst, error);
  if (error) return false;
  return first == fs::weakly_canonical(sSecond, error) && !error;
}

std::string ZipFolder(CCliSession& session, const std::string& sFile, size_t nFolder,
                      const std::string& sOut) {
  session.Open(sFile);
  CXMLTree& folder =
      FindFolder(session.Doc(), SNotePath{std::to_string(nFolder) + ":", nFolder, {}});
  session.Doc().Folders().SetCurrent(static_cast<int>(nFolder));
  CScratchDir scratch;
  ZipCurrentFolder(session.Doc(), scratch.Path(), sOut);
  return "folder " + std::to_string(nFolder) + " \"" + folder.FolderName() + "\" as \"" +
         kFolderFileName + "\"";
}

std::string ZipNoteOf(CCliSession& session, const std::string& sFile, const std::string& sNote,
                      const std::string& sOut) {
  session.Open(sFile);
  const SNotePath path = ParseNotePath(sNote);
  XMLelement& note = FindNote(session.Doc(), path);
  ZipNote(FindFolder(session.Doc(), path), note, sOut);
  return "note " + path.m_sText + " \"" + GetProperty(note, kNameKey) + "\" as \"" +
         NoteFileName(note) + "\"";
}

}  // namespace

void AddZipCommand(CLI::App& app, const SCliOptions& options) {
  // The argument holders live as long as the program.
  struct SArguments {
    std::string sFile;
    std::string sOut;
    std::optional<size_t> folder;
    std::optional<std::string> note;
  };
  auto args = std::make_shared<SArguments>();
  CLI::App* zip = app.add_subcommand(
      "zip", "Write the archive the desktop program mails: of FILE, of one folder or of one note");
  zip->add_option("FILE", args->sFile, "Orvella document (.orv); only read")->required();
  zip->add_option("OUT", args->sOut, "Archive to write (.zip); an existing one is replaced")
      ->required();
  CLI::Option* folder = zip->add_option("--folder", args->folder,
                                        "Folder index, from 0: the folder as \"Folder.orv\"");
  zip->add_option("--note", args->note,
                  "Note F:i.j.k: its content as \"Note.txt\", \"Note.html\" or \"Note.rtf\"")
      ->excludes(folder);
  zip->callback(SessionCallback(options, [args](CCliSession& s) {
    if (IsSameFile(args->sFile, args->sOut))
      throw CCliError(args->sOut + " is the document itself; it was not changed");
    std::string sWhat;
    if (args->folder)
      sWhat = ZipFolder(s, args->sFile, *args->folder, args->sOut);
    else if (args->note)
      sWhat = ZipNoteOf(s, args->sFile, *args->note, args->sOut);
    else {
      ZipDocumentFile(args->sFile, args->sOut);
      sWhat = "\"" + fs::path(args->sFile).filename().string() + "\"";
    }
    std::cout << "zipped " << sWhat << " into " << args->sOut << '\n';
  }));
}

}  // namespace orv::cli
