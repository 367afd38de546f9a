#pragma once
// The byte layout of the "Contents" stream: the folder list record, folder
// records (one per CXMLTree) with their content records, and element records.
// docs/formats/orv-document.md describes it.

#include <cstdint>

#include "base/archive.h"
#include "model/folder_list.h"

namespace orv {

inline constexpr int32_t kFolderListFormat = 5;
inline constexpr int32_t kTreeFormat = 9;

// Writes every folder, or only the current one (written as folder 0 of 1).
void WriteFolderList(CArchiveWriter& archive, const CFolderList& folders,
                     bool bCurrentFolderOnly = false);
// Reads a folder list record into an empty `folders`. Throws CArchiveError
// (or CContentError) on anything it can't read; `folders` is then to be dropped.
void ReadFolderList(CArchiveReader& archive, CFolderList& folders,
                    const SNoteDefaults& defaults = {});

void WriteFolder(CArchiveWriter& archive, CXMLTree& tree);
void ReadFolder(CArchiveReader& archive, CXMLTree& tree, int32_t nTreeFormat);
void WriteElement(CArchiveWriter& archive, const XMLelement& element);
std::unique_ptr<XMLelement> ReadElement(CArchiveReader& archive);

}  // namespace orv
