#pragma once
// Zip and mail: the whole document, the current folder or the selected note
// packed as a ZIP archive (or a note as text) and handed to the user's mail
// client. The archives go to a "Mail" folder that outlives the program, since
// the client reads them whenever the user sends; ones older than a day go at
// the next start.

#include <functional>
#include <optional>
#include <string>

#include "attachments/mail_message.h"
#include "attachments/zip_archive.h"
#include "tree/note_tree.h"

namespace orv {

enum class EMailCommand { ZipDocument, ZipFolder, ZipNote, NoteAsText };

// The archives' name for the attachment (a client that can show a name shows it).
inline constexpr char kMailAttachmentName[] = "File";
inline constexpr char kFolderFileName[] = "Folder.orv";

// Where the commands write: files made on the way go to sTempDir, what the
// mail client is handed to sMailDir. Both are made when missing.
struct SMailFolders {
  std::string sTempDir;
  std::string sMailDir;
};

// Saves the document to its own file as File Save does (asking for a name
// when it has none); false when it was not saved.
using CSaveFunction = std::function<bool()>;

// The note commands need a selected note, the folder command a folder shown.
bool IsEnabled(CNoteTree& tree, EMailCommand eCommand);

// What came of a command that ran.
struct SMailResult {
  bool bSent = false;        // the mail client took the mail
  std::string sFile;         // the file attached; empty for a mail of text alone
  bool bOpenFolder = false;  // the user asked to see the folder that holds sFile
};

// Runs the command: builds the archive, hands the mail on, and tells the
// user where the archive is (a client may leave attachments out) and whether
// the hand-off failed. nullopt when it is not enabled, the save was declined
// or the note is shown without its password: nothing was written. Failures to
// write a file are thrown (CZipError, CDocumentError). `progress` is told how
// far an archive is written.
std::optional<SMailResult> RunMailCommand(CNoteTree& tree, EMailCommand eCommand,
                                          const SMailFolders& folders, CMailMsg& mail,
                                          const CSaveFunction& saveDocument,
                                          const CZipProgress& progress = {});

// The archives each command writes, for the command line as for the mail.
// The document file itself, under its own name.
void ZipDocumentFile(const std::string& sDocument, const std::string& sArchive,
                     const CZipProgress& progress = {});
// The current folder as a document of its own, "Folder.orv", written in
// sScratchDir on the way.
void ZipCurrentFolder(COrvellaDoc& doc, const std::string& sScratchDir, const std::string& sArchive,
                      const CZipProgress& progress = {});
// The note's content as stored, as "Note." + its extension.
void ZipNote(const CXMLTree& folder, const XMLelement& note, const std::string& sArchive,
             const CZipProgress& progress = {});
// "Note.txt", "Note.html" or "Note.rtf", by the note's content type.
std::string NoteFileName(const XMLelement& note);

// Removes the archives in sMailDir older than a day.
void RemoveOldMail(const std::string& sMailDir);

}  // namespace orv
