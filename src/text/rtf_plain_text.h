#pragma once
// The visible text of a rich-text note, without Qt: what search, statistics
// and exchange read. Control words, font and colour tables, pictures, field
// instructions and other hidden destinations are left out; field results (a
// link's text) are kept; \'hh bytes and \u characters are decoded.

#include <string>
#include <string_view>

namespace orv {

// sRtf as UTF-8 text, paragraphs ending in '\n' and table cells separated by
// '\t'. \'hh bytes are taken in the code page of their font's character set,
// else in the document's \ansicpg, else in sCodePage. Text that does not
// start with "{\rtf" is returned as it is. Linear in the input, whatever it holds.
std::string RtfToPlainText(std::string_view sRtf, std::string_view sCodePage = "windows-1252");

}  // namespace orv
