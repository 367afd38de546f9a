#include "storage/backup.h"

#include <vector>

namespace orv {

namespace {

// P itself becomes "P.1.bak" when P is replaced: a second name costs nothing
// and can't be half-written. A file system without hard links gets a copy.
void KeepAsNewestCopy(CFileSystem& fs, const std::string& sPath, const CLogFunction& log) {
  std::string sCopy = BackupCopyName(sPath, 1);
  std::string sLink = ScratchName(sCopy);
  try {
    fs.Link(sPath, sLink);
  } catch (const CIoError&) {
    try {
      CopyWholeFile(fs, sPath, sCopy);
    } catch (const CIoError& e) {
      log("Backup copy not made: " + std::string(e.what()));
    }
    return;
  }
  try {
    fs.Rename(sLink, sCopy);
  } catch (const CIoError& e) {
    log("Backup copy not made: " + std::string(e.what()));
    try {
      fs.Remove(sLink);
    } catch (const CIoError&) {
      // A stale name the next save removes.
    }
  }
}

}  // namespace

std::string BackupCopyName(const std::string& sPath, int nCopy) {
  return sPath + "." + std::to_string(nCopy) + ".bak";
}

void CopyWholeFile(CFileSystem& fs, const std::string& sFrom, const std::string& sTo) {
  std::unique_ptr<COsFile> pSource = fs.Open(sFrom, EOpenMode::Read);
  ReplaceFileAtomically(fs, sTo, [&](COsFile& target) {
    std::vector<char> block(1 << 20);
    uint64_t nOffset = 0;
    for (size_t n; (n = pSource->ReadAt(nOffset, block.data(), block.size())) > 0; nOffset += n)
      target.WriteAt(nOffset, block.data(), n);
  });
}

void RotateBackupCopies(CFileSystem& fs, const std::string& sPath, int nCopies,
                        const CLogFunction& log) {
  if (nCopies < 1) return;
  std::optional<SFileStamp> current = fs.Stamp(sPath);
  if (!current) return;  // the first save of a new file
  // A save that stopped after rotating left "P.1.bak" a second name of P:
  // the copies already hold what came before P, and must not move again.
  std::optional<SFileStamp> newest = fs.Stamp(BackupCopyName(sPath, 1));
  if (newest && newest->SameFile(*current)) return;
  // Oldest first, so each rename drops only the copy that the one before replaces.
  for (int k = nCopies; k >= 2; --k) {
    std::string sFrom = BackupCopyName(sPath, k - 1);
    if (!fs.Exists(sFrom)) continue;
    try {
      fs.Rename(sFrom, BackupCopyName(sPath, k));
    } catch (const CIoError& e) {
      log("Backup copy not made: " + std::string(e.what()));
    }
  }
  KeepAsNewestCopy(fs, sPath, log);
}

}  // namespace orv
