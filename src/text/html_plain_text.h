#pragma once
// The visible text of an HTML note, without Qt: what search, statistics and
// exchange read. A real HTML parser (gumbo) reads it, so tags, attributes,
// comments, scripts and styles never count as text, and entities are decoded.

#include <string>
#include <string_view>

namespace orv {

// sHtml's text as UTF-8: runs of white space become one space as a browser
// shows them, block elements and <br> end lines ('\n'), table cells are
// separated by '\t'. Any input is read; what is not HTML is read as text.
std::string HtmlToPlainText(std::string_view sHtml);

}  // namespace orv
