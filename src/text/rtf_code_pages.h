#pragma once
// Windows code page numbers as RTF names them: \ansicpgN for the document,
// \fcharsetN for a font whose \'hh bytes belong to another code page.

#include <string>
#include <string_view>

namespace orv {

// The code page of a font character set; 0 for the ANSI and default sets,
// which follow the document's code page.
int CodePageOfCharset(int nCharset);
// The character set a font needs so that Windows readers take its bytes in
// nCodePage; 0 (ANSI) for code pages without one of their own.
int CharsetOfCodePage(int nCodePage);
// The number in a code page name ("windows-1251", "CP932"); 0 when none.
int CodePageNumber(std::string_view sName);
// The iconv name of a Windows code page.
std::string CodePageName(int nCodePage);

}  // namespace orv
