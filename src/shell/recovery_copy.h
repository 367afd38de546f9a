#pragma once
// Keeps a user's unsaved work safe across a crash or a power cut: while a
// document has unsaved changes, a copy of the whole of it (enciphered when
// the document is) lives in a recovery folder, with a small info file that
// names the document. The writer holds a lock file from before it writes
// anything until all is removed again, so a copy whose lock file nobody
// holds was left by a program that died, and the next start offers it back.
//
// Files, in the recovery folder: ID.lock (empty); ID.orv, the copy, written
// as any save is (beside it and renamed into place); ID.info, lines
// "key=value": "Document" (the document's path, empty for an untitled one)
// and "Stamp" (its file as last read or saved: device, inode, size and
// modification time in nanoseconds).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "storage/orvella_doc.h"

namespace orv {

inline constexpr std::string_view kRecoveryFolderName = "Recovery";

// The copy one window keeps of its document.
class CRecoveryCopy {
 public:
  // sFolder is created when the first copy is written.
  CRecoveryCopy(CFileSystem& fs, std::string sFolder);
  // Removes the copy: a program that closes cleanly leaves nothing behind.
  ~CRecoveryCopy();
  CRecoveryCopy(const CRecoveryCopy&) = delete;
  CRecoveryCopy& operator=(const CRecoveryCopy&) = delete;

  // Writes the document's copy, replacing the one before. Throws CIoError
  // or CDocumentError; a failed write leaves the copy before it whole.
  void Write(COrvellaDoc& doc);
  // Removes the copy (the document was saved, or its changes dropped).
  void Discard();
  bool Exists() const { return m_pLock != nullptr; }
  const std::string& CopyPath() const { return m_sCopyPath; }

 private:
  CFileSystem& m_fs;
  std::string m_sFolder;
  std::string m_sCopyPath;
  std::string m_sInfoPath;
  std::string m_sLockPath;
  std::string m_sInfo;               // what the info file holds
  std::unique_ptr<COsFile> m_pLock;  // the lock file, open and locked
};

// A copy that a program left when it died.
struct SOrphanedCopy {
  std::string sCopyPath;
  std::string sInfoPath;
  std::string sLockPath;
  std::string sDocument;  // empty for an untitled document
  std::optional<SFileStamp> documentStamp;
  int64_t nSavedNs = 0;  // when the copy was written, since the epoch
  // Held while the copy is offered, so another starting program leaves it alone.
  std::shared_ptr<COsFile> pLock;
};

// The copies in sFolder whose writers are gone, newest first.
std::vector<SOrphanedCopy> FindOrphanedCopies(CFileSystem& fs, const std::string& sFolder);
// Opens an orphaned copy in doc as its document, with the changes unsaved.
// The copy stays until RemoveOrphanedCopy.
void RestoreOrphanedCopy(COrvellaDoc& doc, const SOrphanedCopy& copy);
// Removes the copy, what a killed write of it left, and its other files.
void RemoveOrphanedCopy(CFileSystem& fs, const SOrphanedCopy& copy);

}  // namespace orv
