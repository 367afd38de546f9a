#pragma once
// Saving attachments into the scratch folder "Att", where the desktop's
// programs open them. A name comes from a document, which anyone may have
// written: it is only ever a name directly inside the folder, and a file
// already there is never written over.

#include <optional>
#include <string>
#include <string_view>

#include "attachments/attachment_list.h"
#include "attachments/attachment_store.h"

namespace orv {

inline constexpr char kAttFolderName[] = "Att";

// The last part of sName as a file name of at most 200 bytes (the
// extension kept); nullopt for an empty name, "." or "..", or one with
// control characters.
std::optional<std::string> SafeFileName(std::string_view sName);

// Copies the attachment into sFolder (made when missing) under its safe
// name, or "name (2).ext" and so on when another file has that name; a copy
// with the same bytes is used again. Returns the file's path. Throws
// CAttachmentError for a name that can't be a file's.
std::string SaveInFolder(CAttachmentStore& store, const CAttachment& attachment,
                         const std::string& sFolder, CFileSystem& fs = CFileSystem::Default(),
                         const TCopyProgress& progress = {});

}  // namespace orv
