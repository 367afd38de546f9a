#pragma once
// Numbered backup copies beside a document: "P.1.bak" is the version before
// the last save, "P.k.bak" the oldest kept.

#include <functional>
#include <string>

#include "base/file_system.h"

namespace orv {

using CLogFunction = std::function<void(const std::string& sLine)>;

std::string BackupCopyName(const std::string& sPath, int nCopy);

// Moves each copy one number up and keeps the document as it stands as
// "P.1.bak". Call it only once the new version is complete and durable, just
// before it is renamed over P: then nothing is dropped before what replaces
// it exists, and a save that fails or is killed earlier leaves every copy as
// it was. A step that fails is logged and does not stop the save; nCopies < 1
// makes none.
void RotateBackupCopies(CFileSystem& fs, const std::string& sPath, int nCopies,
                        const CLogFunction& log);

// Copies a file whole, through a scratch file renamed over the target, so a
// failed copy never leaves a half-written target. Throws CIoError.
void CopyWholeFile(CFileSystem& fs, const std::string& sFrom, const std::string& sTo);

}  // namespace orv
