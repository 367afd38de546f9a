#pragma once
// The visible text of an HTML note, without Qt: what search, statistics and
// exchange read. A real HTML parser (gumbo) reads it, so tags, attributes,
// comments, scripts and styles never count as text, and entities are decoded.

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// sHtml's text as UTF-8: runs of white space become one space as a browser
// shows them, block elements and <br> end lines ('\n'), table cells are
// separated by '\t'. Any input is read; what is not HTML is read as text.
std::string HtmlToPlainText(std::string_view sHtml);

// Where bold (<b>, <strong>), italic (<i>, <em>) or underline (<u>) starts or
// ends in the plain text: what the RTF form of an HTML note keeps.
enum class EHtmlStyle { Bold, Italic, Underline };
struct SHtmlStyleMark {
  size_t nOffset;  // into the text, in bytes; at most its size
  EHtmlStyle eStyle;
  bool bOn;
};
struct SStyledText {
  std::string sText;                  // as HtmlToPlainText gives it
  std::vector<SHtmlStyleMark> marks;  // in offset order
};
SStyledText HtmlToStyledText(std::string_view sHtml);

}  // namespace orv
