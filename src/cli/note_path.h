#pragma once
// Names a note on the command line as "F:i.j.k": the folder index, then the
// 0-based position of the note among the notes (not the attribute elements)
// at each level. "F:" alone names the folder's top level.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "storage/orvella_doc.h"

namespace orv::cli {

struct SNotePath {
  std::string m_sText;  // as written, for messages
  size_t m_nFolder = 0;
  std::vector<size_t> m_positions;  // empty for the folder's top level
};

// Throws CCliError when `sText` is not of the form F:i.j.k.
SNotePath ParseNotePath(std::string_view sText);

// The folder the path names; throws CCliError when the document has none such.
CXMLTree& FindFolder(const COrvellaDoc& doc, const SNotePath& path);
// The note the path names; throws CCliError for a missing note or a folder-only path.
XMLelement& FindNote(const COrvellaDoc& doc, const SNotePath& path);

}  // namespace orv::cli
