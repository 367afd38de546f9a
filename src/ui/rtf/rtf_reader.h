#pragma once
// Reads the RTF text of a rich-text note, as Windows word processors and the
// rich edit control write it, into a QTextDocument.

#include <string_view>

class QTextDocument;

namespace orv {

// Replaces doc's content with what sRtf shows. Text that does not start with
// "{\rtf" is shown as plain text. sCodePage names the code page of \'hh bytes
// in a document that does not name its own with \ansicpg. Any input is
// read in linear time; what cannot be understood is left out.
void ReadRtf(std::string_view sRtf, QTextDocument& doc,
             std::string_view sCodePage = "windows-1252");

}  // namespace orv
