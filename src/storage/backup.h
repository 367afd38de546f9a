#pragma once
// Numbered backup copies beside a document: "P.1.bak" is the version before
// the last save, "P.k.bak" the oldest kept.

#include <functional>
#include <string>

#include "base/file_system.h"

namespace orv {

using CLogFunction = std::function<void(const std::string& sLine)>;

std::string BackupCopyName(const std::string& sPath, int nCopy);

// Rotates the copies and copies the document to "P.1.bak" before a save. A
// copy that fails is logged and does not stop anything; nCopies < 1 makes none.
void MakeBackupCopies(CFileSystem& fs, const std::string& sPath, int nCopies,
                      const CLogFunction& log);

// Copies a file whole, through a scratch file renamed over the target, so a
// failed copy never leaves a half-written target. Throws CIoError.
void CopyWholeFile(CFileSystem& fs, const std::string& sFrom, const std::string& sTo);

}  // namespace orv
