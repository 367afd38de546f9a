// Reads a "Contents" folder list record from arbitrary bytes. No input may
// crash the reader or make it allocate without bound; a record it accepts
// must write back and read again to the same notes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/content_node.h"
#include "storage/folder_record.h"

namespace {

std::string WriteBack(const orv::CFolderList& folders, const orv::CCodePage& codePage) {
  orv::CArchiveWriter writer(codePage);
  orv::WriteFolderList(writer, folders);
  return writer.Take();
}

size_t CountNotes(const orv::CFolderList& folders) {
  size_t nNotes = 0;
  for (const auto& pFolder : folders) nNotes += pFolder->NoteCount();
  return nNotes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  static const orv::CCodePage codePage;
  orv::CFolderList folders;
  try {
    orv::CArchiveReader reader(std::string_view(reinterpret_cast<const char*>(pData), nSize),
                               codePage);
    orv::ReadFolderList(reader, folders);
  } catch (const std::runtime_error&) {
    return 0;  // CArchiveError, CContentError: a clear refusal is the right answer
  }
  std::string sWritten = WriteBack(folders, codePage);
  orv::CFolderList again;
  orv::CArchiveReader reader(sWritten, codePage);
  orv::ReadFolderList(reader, again);
  if (CountNotes(again) != CountNotes(folders) || !reader.AtEnd()) __builtin_trap();
  return 0;
}
