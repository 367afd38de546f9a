#include "storage/backup.h"

#include <vector>

namespace orv {

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

void MakeBackupCopies(CFileSystem& fs, const std::string& sPath, int nCopies,
                      const CLogFunction& log) {
  if (nCopies < 1) return;
  // Copy k-1 over copy k, oldest first. Moving a copy is the same as copying
  // it, since its old name is written over right after; a missing copy
  // leaves the next one as it was.
  for (int k = nCopies; k >= 2; --k) {
    std::string sFrom = BackupCopyName(sPath, k - 1);
    if (!fs.Exists(sFrom)) continue;
    try {
      fs.Rename(sFrom, BackupCopyName(sPath, k));
    } catch (const CIoError& e) {
      log("Backup copy not made: " + std::string(e.what()));
    }
  }
  if (!fs.Exists(sPath)) return;  // the first save of a new file
  try {
    CopyWholeFile(fs, sPath, BackupCopyName(sPath, 1));
  } catch (const CIoError& e) {
    log("Backup copy not made: " + std::string(e.what()));
  }
}

}  // namespace orv
