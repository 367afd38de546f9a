#pragma once
// The document: one compound file holding the streams "CommonInformation",
// "Contents" (the folders) and "Bookmark". Opening never changes the document
// unless the whole file was read; saving writes a new file and renames it
// over the old one, so neither a failed open nor a failed save loses anything.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/code_page.h"
#include "base/file_system.h"
#include "model/folder_list.h"
#include "ports/settings_store.h"
#include "ports/ui_port.h"
#include "storage/backup.h"
#include "storage/blowfish.h"
#include "storage/compound_file.h"
#include "storage/compound_stream.h"

namespace orv {

// A failed open or save, with a text for the user.
class CDocumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An open of a protected document that got no passphrase or a wrong one;
// the text is for a box titled "Warning". After a wrong passphrase
// (bFatal) the desktop program ends, as users of the format expect.
class CPassphraseError : public CDocumentError {
 public:
  CPassphraseError(const std::string& sText, bool bFatal)
      : CDocumentError(sText), m_bFatal(bFatal) {}
  bool IsFatal() const { return m_bFatal; }

 private:
  bool m_bFatal;
};

inline constexpr const char* kNoPassphraseText = "Pasword not enterd";
inline constexpr const char* kWrongPassphraseText =
    "Password is incorrect ! Application will close now !!!";

struct CBookmark {
  bool m_bUsed = false;
  int32_t m_nFolder = -1;
  int32_t m_nReserved1 = -1;
  int32_t m_nReserved2 = -1;
  std::string m_sFolderName = "<no>";
  std::string m_sText = "<no>";
};

inline constexpr size_t kBookmarkCount = 10;

class COrvellaDoc {
 public:
  // The class identifier of the root storage, {8E3A61C4-5B0F-4D27-9C1E-2F7B40D9A356}.
  static const CClassId kClassId;

  // The port asks for the passphrase of a protected document as it is
  // opened; the settings give the number of backup copies and the default
  // note icon.
  COrvellaDoc(CUiPort& ui, CSettingsStore& settings, CFileSystem& fs = CFileSystem::Default(),
              std::string_view sCodePage = "windows-1252");

  // One folder "Folder #1" with "Note #1", ten empty bookmarks, not encrypted.
  void OnNewDocument();
  // A protected document asks for its passphrase. On any failure the
  // document stays as it was.
  void OnOpenDocument(const std::string& sPath);
  // Writes the document beside sPath, rotates the backup copies once it is
  // complete, and renames it into place.
  void OnSaveDocument(const std::string& sPath);
  // Keeps other programs' changes of sPath out until the document is
  // destroyed or locks another file: call it before reading a file that is
  // to be changed and saved back. Throws CIoError when another program keeps
  // it too long; an absent file takes no lock.
  void LockForChange(const std::string& sPath);
  // Whether the document's file was written by someone else since we read
  // or saved it.
  bool ChangedOnDisk();
  // Appends the folders of another document; the current folder becomes the
  // one that was current there. Our bookmarks and protection stay.
  void Merge(const std::string& sPath);
  // Writes a document holding only the current folder.
  void ExportCurrentFolder(const std::string& sPath);
  // Writes the whole document as it stands to another file (enciphered when
  // it is); its own name, backups and unsaved state stay as they are.
  void SaveCopy(const std::string& sPath);
  // Opens a file written by SaveCopy as the document sPath, with its changes
  // unsaved; diskStamp is sPath's file as the copy's document last read or
  // saved it, so that another program's change since is noticed. A protected
  // copy asks for its passphrase naming sPath. On any failure the document
  // stays as it was.
  void OnRecoverDocument(const std::string& sCopy, const std::string& sPath,
                         std::optional<SFileStamp> diskStamp);
  // Saves to the document's own file, then copies it into `sFolder`.
  void BackupInto(const std::string& sFolder);

  const std::string& PathName() const { return m_sPathName; }
  // The document's file as we last read or wrote it; nullopt for none.
  const std::optional<SFileStamp>& DiskStamp() const { return m_diskStamp; }

  CFolderList& Folders() { return m_folders; }
  const CFolderList& Folders() const { return m_folders; }

  // At least kBookmarkCount of them.
  const std::vector<CBookmark>& Bookmarks() const { return m_bookmarks; }
  void SetBookmark(size_t k, CBookmark bookmark);
  // Empty ones are added up to kBookmarkCount.
  void SetBookmarks(std::vector<CBookmark> bookmarks);

  // Whether saves encipher "Contents", with the passphrase kept in memory only.
  bool IsEncrypted() const { return !m_sPassphrase.empty(); }
  const std::string& Passphrase() const { return m_sPassphrase; }
  // Protection on with a non-empty passphrase; off with an empty one.
  void SetProtection(std::string sPassphrase);

  // Changed since opened or saved: by the document's own operations, by a
  // folder's, or by MarkModified for changes made to a note's attributes.
  bool IsModified() const { return m_bModified || m_folders.IsModified(); }
  void MarkModified() { m_bModified = true; }
  // The document as it stands counts as unchanged (before a reload, say).
  void ClearModified();

  const SNoteDefaults& NoteDefaults() const { return m_noteDefaults; }
  // Where failed backup copies and similar mishaps are reported.
  void SetLog(CLogFunction log) { m_log = std::move(log); }

 private:
  struct SLoaded {
    bool bEncrypted = false;
    bool bHasBookmarks = false;
    bool bHasContents = false;
    std::string sPassphrase;
    std::vector<CBookmark> bookmarks;
    CFolderList folders;
  };
  // A passphrase is asked for naming sShownPath.
  SLoaded Load(const std::string& sPath, const std::string* pKnownPassphrase,
               const std::string& sShownPath);
  void ReadContents(CCompoundStream& stream, SLoaded& loaded);
  void TakeLoaded(SLoaded loaded, const std::string& sPath, std::optional<SFileStamp> diskStamp);
  void Save(const std::string& sPath, bool bCurrentFolderOnly, int nBackupCopies);
  void WriteContents(CCompoundStream& stream, bool bCurrentFolderOnly);
  CBlowfish MakeCipher(const std::string& sPassphrase) const;
  std::unique_ptr<CCompoundStream> OpenStream(CCompoundFile& file, const char* pName,
                                              bool bRequired);
  std::string ReadStream(CCompoundFile& file, const char* pName);

  CFolderList m_folders;
  std::vector<CBookmark> m_bookmarks;
  std::string m_sPassphrase;
  bool m_bModified = false;
  SNoteDefaults m_noteDefaults;
  CLogFunction m_log;
  CUiPort& m_ui;
  CSettingsStore& m_settings;
  CFileSystem& m_fs;
  CCodePage m_codePage;
  std::string m_sPathName;
  std::optional<SFileStamp> m_diskStamp;  // of the file as we last read or wrote it
  std::unique_ptr<CFileLock> m_pChangeLock;
  std::string m_sLockedPath;
};

}  // namespace orv
