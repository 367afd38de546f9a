#pragma once
// The whole document as JSON: for scripts, and for building documents such as
// "About Orvella.orv" from a readable source. Every field is always present
// and arrays keep the stored order; see WriteDocumentJson for the shape.

#include <ostream>
#include <string_view>

#include "storage/orvella_doc.h"

namespace orv::cli {

// {"encrypted", "current_folder", "bookmarks": [...], "folders": [{"name", "icon",
// "shared", "share_path", "show_hidden", "hscroll", "vscroll", "contents": [{"key",
// "type", "external", "path", "text"}], "notes": [ELEMENT]}]}, where ELEMENT is
// {"name", "value", "kind", "attributes": [[name, value]], "children": [ELEMENT]}.
// A content's "key" is the one the notes' "content" attributes name.
void WriteDocumentJson(std::ostream& out, const COrvellaDoc& doc);

// Replaces the folders and bookmarks of `doc` with those the JSON describes,
// and returns whether it asks for the document to be encrypted (which needs
// a new passphrase). Content keys only link notes to contents: every content gets
// a new object with a key of its own. Throws CCliError naming the first thing
// that does not fit (syntax, shape, a key that is unknown, repeated or shared);
// `doc` is then unchanged. A content's "external" and "path" are taken as they
// are, but a document file keeps only the text: they don't survive a save.
bool ReadDocumentJson(std::string_view sJson, COrvellaDoc& doc);

}  // namespace orv::cli
