#pragma once
// Text made safe to stand in HTML, as HTML's own serialisation escapes it:
// "&" and the no-break space always, '"' in attribute values, "<" and ">"
// in text.

#include <string>
#include <string_view>

namespace orv {

enum class EHtmlContext { Text, Attribute };

void AppendHtmlEscaped(std::string& sOut, std::string_view sText, EHtmlContext eContext);
std::string HtmlEscaped(std::string_view sText, EHtmlContext eContext);

}  // namespace orv
