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
#include "storage/compound_file.h"
#include "storage/compound_stream.h"

namespace orv {

// A failed open or save, with a text for the user.
class CDocumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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

  explicit COrvellaDoc(CFileSystem& fs = CFileSystem::Default(),
                       std::string_view sCodePage = "windows-1252");

  // One folder "Folder #1" with "Note #1", ten empty bookmarks, not encrypted.
  void OnNewDocument();
  void OnOpenDocument(const std::string& sPath);
  void OnSaveDocument(const std::string& sPath);
  // Appends the folders of another document; the current folder becomes the
  // one that was current there. Our bookmarks and protection stay.
  void Merge(const std::string& sPath);
  // Writes a document holding only the current folder.
  void ExportCurrentFolder(const std::string& sPath);

  CFolderList m_folders;
  std::vector<CBookmark> m_bookmarks;
  bool m_bEncrypted = false;
  bool m_bModified = false;
  SNoteDefaults m_noteDefaults;

 private:
  struct SLoaded {
    bool bEncrypted = false;
    bool bHasBookmarks = false;
    bool bHasContents = false;
    std::vector<CBookmark> bookmarks;
    CFolderList folders;
  };
  SLoaded Load(const std::string& sPath);
  void Save(const std::string& sPath, bool bCurrentFolderOnly);
  std::unique_ptr<CCompoundStream> OpenStream(CCompoundFile& file, const char* pName,
                                              bool bRequired);
  std::string ReadStream(CCompoundFile& file, const char* pName);

  CFileSystem& m_fs;
  CCodePage m_codePage;
};

}  // namespace orv
