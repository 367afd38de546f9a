#pragma once
// One note to and from an ordinary text, HTML or RTF file, and the
// statistics of a note's branch.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/code_page.h"
#include "model/xml_tree.h"

namespace orv {

enum class ENoteFileForm { Text, Html, Rtf };

// The name of a note made from sPath: the file's name without its
// extension, however long ("notes.html" gives "notes").
std::string NoteNameFromFile(std::string_view sPath);

// Adds a note of content type nType (0 text, 1 HTML, 2 RTF) named after
// sPath, holding sBytes (UTF-8, else in the code page), as the last subnote
// of pParent, a note of `folder`, or at the end of the top level when null;
// directly after pAfter, a child of pParent, when one is given.
// An empty file makes no note: null.
XMLelement* ImportNoteFile(CXMLTree& folder, XMLelement* pParent, std::string_view sPath,
                           std::string_view sBytes, int32_t nType, const CCodePage& codePage,
                           XMLelement* pAfter = nullptr);

// What the note's file of that form holds. A note of the form's own type
// gives its stored text; others give their visible text, as plain text, as
// escaped HTML paragraphs, or as RTF paragraphs a word processor opens.
std::string NoteFileText(const CXMLTree& folder, const XMLelement& note, ENoteFileForm eForm);

// The statistics report of the notes below `note` (the note itself is
// described, not counted).
std::string NoteStatistics(const CXMLTree& folder, const XMLelement& note);

}  // namespace orv
