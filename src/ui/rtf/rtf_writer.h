#pragma once
// Writes a QTextDocument as the RTF text of a rich-text note, in the form the
// Windows rich edit control writes and reads. Readers without list support
// still show each item's bullet or number.

#include <string>
#include <string_view>

class QTextDocument;

namespace orv {

// sCodePage names the document's code page ("windows-1252", "CP1251"...);
// characters it cannot hold are written as \uN. The output depends on
// nothing but doc and sCodePage.
std::string WriteRtf(const QTextDocument& doc, std::string_view sCodePage = "windows-1252");

}  // namespace orv
