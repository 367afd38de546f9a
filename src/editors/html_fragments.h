#pragma once
// The fixed HTML the HTML editor starts from and inserts.

#include <string>
#include <string_view>

namespace orv {

// Shown in place of a protected HTML note opened with a wrong password.
inline constexpr std::string_view kHtmlPasswordPage =
    "<HTML><BODY><PRE><STRONG><FONT size=4>Please enter a valid password for view this "
    "content</FONT></STRONG></PRE></BODY></HTML>";

// Shown when the horizontal-line properties find no line at the caret.
inline constexpr std::string_view kSelectRuleMessage =
    "Please select a <HR> element. (horizontal line)";

// The editor's empty document, with the theme setting in its head.
std::string InitialHtmlDocument(std::string_view sTheme);
// A picture; the path is escaped for the attribute, so any file name works.
std::string PictureHtml(std::string_view sPath);
// A table of nRows by nColumns empty cells, each holding a paragraph to type in.
std::string TableHtml(int nRows, int nColumns);

}  // namespace orv
