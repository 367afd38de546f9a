#pragma once
// The text a user sees in a note, whatever its content type: the one reader
// that search, statistics and the command line's `cat --text` share.

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// sContent of a note of content type nType (0 text, 1 HTML, 2 RTF, 3 virtual
// text, 4 virtual HTML) as UTF-8 text. sCodePage is the document's code page,
// for RTF bytes that name none of their own.
std::string VisibleNoteText(std::string_view sContent, int32_t nType,
                            std::string_view sCodePage = "windows-1252");

}  // namespace orv
