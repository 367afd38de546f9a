#include "attachments/archive_mail.h"

#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "attachments/zip_archive.h"
#include "base/file_system.h"
#include "model/note_keys.h"
#include "text/note_text.h"
#include "tree/note_protection.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

constexpr char kOpenFolder[] = "Open Folder";
constexpr char kOk[] = "OK";
constexpr char kNoMailClient[] = "No mail program could be started (xdg-email failed).";
constexpr char kNotShown[] =
    "This note is protected by a password: open it with its password first.";

int32_t NoteTypeOf(const XMLelement& note) {
  const std::string sType = GetProperty(note, kTypeKey);
  int32_t nType = kContentText;
  std::from_chars(sType.data(), sType.data() + sType.size(), nType);
  return nType;
}

std::string NoteContent(const CXMLTree& folder, const XMLelement& note) {
  CBaseContentNode* pContent = folder.ContentOf(note);
  return pContent ? pContent->GetContent() : std::string();
}

std::string InFolder(const std::string& sDir, const std::string& sName) {
  fs::create_directories(sDir);
  return (fs::path(sDir) / sName).string();
}

void WriteFile(const std::string& sPath, const std::string& sBytes) {
  std::ofstream out(sPath, std::ios::binary | std::ios::trunc);
  out.write(sBytes.data(), static_cast<std::streamsize>(sBytes.size()));
  out.close();
  if (out.fail()) throw CIoError("Can't write " + sPath);
}

// What one command works with.
struct SMailRun {
  CNoteTree& tree;
  const SMailFolders& folders;
  CMailMsg& mail;
  const CZipProgress& progress;
};

// Hands the mail on and says where its file is: some clients drop
// attachments handed over this way, and the user then attaches it by hand.
SMailResult HandOff(SMailRun& run, const std::string& sFile, const std::string& sPreface = {}) {
  if (!sFile.empty()) run.mail.AddAttachment(sFile, kMailAttachmentName);
  SMailResult result{run.mail.Send(), sFile, false};
  if (sFile.empty()) {
    if (!result.bSent) run.tree.Ui().ShowMessage("Warning", kNoMailClient, EMessageIcon::Warning);
    return result;
  }
  const fs::path file(sFile);
  const std::string sWhere = "kept for a day in\n" + file.parent_path().string() + "\n";
  const std::string sText =
      sPreface + (result.bSent
                      ? "Your mail program has the mail, with \"" + file.filename().string() +
                            "\" attached. Some mail programs leave such attachments "
                            "out: the file is " +
                            sWhere + "to attach by hand."
                      : std::string(kNoMailClient) + " The file \"" + file.filename().string() +
                            "\" is " + sWhere + "to attach to a mail by hand.");
  result.bOpenFolder = run.tree.Ui().AskChoice(sText, {kOpenFolder, kOk}) == 0;
  return result;
}

std::optional<SMailResult> MailDocument(SMailRun& run, const CSaveFunction& saveDocument) {
  if (!saveDocument()) return std::nullopt;
  const std::string& sDocument = run.tree.Doc().PathName();
  const std::string sName = fs::path(sDocument).filename().string();
  const std::string sArchive = InFolder(run.folders.sMailDir, sName + ".zip");
  ZipDocumentFile(sDocument, sArchive, run.progress);
  run.mail.SetSubject(sName);
  return HandOff(run, sArchive);
}

std::optional<SMailResult> MailFolder(SMailRun& run) {
  run.tree.StoreEditorContent();
  const std::string sArchive =
      InFolder(run.folders.sMailDir, std::string(kFolderFileName) + ".zip");
  fs::create_directories(run.folders.sTempDir);
  ZipCurrentFolder(run.tree.Doc(), run.folders.sTempDir, sArchive, run.progress);
  run.mail.SetSubject(run.tree.CurrentFolder().FolderName());
  return HandOff(run, sArchive);
}

std::optional<SMailResult> MailNote(SMailRun& run, XMLelement& note, bool bAsText) {
  run.tree.StoreEditorContent();
  if (!MayStoreText(run.tree, note)) {
    run.tree.Ui().ShowMessage("Warning", kNotShown, EMessageIcon::Warning);
    return std::nullopt;
  }
  run.mail.SetSubject(GetProperty(note, kNameKey));
  if (!bAsText) {
    const std::string sArchive = InFolder(run.folders.sMailDir, NoteFileName(note) + ".zip");
    ZipNote(run.tree.CurrentFolder(), note, sArchive, run.progress);
    return HandOff(run, sArchive);
  }
  std::string sText =
      VisibleNoteText(NoteContent(run.tree.CurrentFolder(), note), NoteTypeOf(note));
  run.mail.SetBody(sText);
  if (FitsMailArgument(run.mail)) return HandOff(run, {});
  run.mail.SetBody({});
  const std::string sFile = InFolder(run.folders.sMailDir, "Note.txt");
  WriteFile(sFile, sText);
  return HandOff(run, sFile,
                 "The note is too large to be mailed as text, so it is attached as a file.\n\n");
}

}  // namespace

bool IsEnabled(CNoteTree& tree, EMailCommand eCommand) {
  switch (eCommand) {
    case EMailCommand::ZipDocument:
      return true;
    case EMailCommand::ZipFolder:
      return tree.Folders().Current() != nullptr;
    case EMailCommand::ZipNote:
    case EMailCommand::NoteAsText:
      return tree.Folders().Current() != nullptr && tree.SelectedNote() != nullptr;
  }
  return false;
}

std::optional<SMailResult> RunMailCommand(CNoteTree& tree, EMailCommand eCommand,
                                          const SMailFolders& folders, CMailMsg& mail,
                                          const CSaveFunction& saveDocument,
                                          const CZipProgress& progress) {
  if (!IsEnabled(tree, eCommand)) return std::nullopt;
  mail.AddRecipient(kPlaceholderRecipient);
  SMailRun run{tree, folders, mail, progress};
  switch (eCommand) {
    case EMailCommand::ZipDocument:
      return MailDocument(run, saveDocument);
    case EMailCommand::ZipFolder:
      return MailFolder(run);
    case EMailCommand::ZipNote:
    case EMailCommand::NoteAsText:
      return MailNote(run, *tree.SelectedNote(), eCommand == EMailCommand::NoteAsText);
  }
  return std::nullopt;
}

void ZipDocumentFile(const std::string& sDocument, const std::string& sArchive,
                     const CZipProgress& progress) {
  CZipArchive archive(sArchive);
  archive.AddFile(sDocument, fs::path(sDocument).filename().string());
  archive.Close(progress);
}

void ZipCurrentFolder(COrvellaDoc& doc, const std::string& sScratchDir, const std::string& sArchive,
                      const CZipProgress& progress) {
  const std::string sFolderFile = (fs::path(sScratchDir) / kFolderFileName).string();
  doc.ExportCurrentFolder(sFolderFile);
  CZipArchive archive(sArchive);
  archive.AddFile(sFolderFile, kFolderFileName);
  archive.Close(progress);
}

void ZipNote(const CXMLTree& folder, const XMLelement& note, const std::string& sArchive,
             const CZipProgress& progress) {
  CZipArchive archive(sArchive);
  archive.AddBytes(NoteContent(folder, note), NoteFileName(note));
  archive.Close(progress);
}

std::string NoteFileName(const XMLelement& note) {
  switch (NoteTypeOf(note)) {
    case kContentHtml:
    case 4:  // virtual HTML
      return "Note.html";
    case kContentRtf:
      return "Note.rtf";
    default:
      return "Note.txt";
  }
}

void RemoveOldMail(const std::string& sMailDir) {
  std::error_code error;
  const auto oldest = fs::file_time_type::clock::now() - std::chrono::hours(24);
  for (const fs::directory_entry& entry : fs::directory_iterator(sMailDir, error)) {
    // Only our own files: a link is not followed, a folder is not ours to empty.
    if (entry.is_regular_file(error) && !entry.is_symlink(error) &&
        entry.last_write_time(error) < oldest)
      fs::remove(entry.path(), error);
  }
}

}  // namespace orv
