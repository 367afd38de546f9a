#include "text/html_escape.h"

namespace orv {

void AppendHtmlEscaped(std::string& sOut, std::string_view sText, EHtmlContext eContext) {
  const bool bAttribute = eContext == EHtmlContext::Attribute;
  for (size_t i = 0; i < sText.size(); ++i) {
    const char c = sText[i];
    if (c == '&') {
      sOut += "&amp;";
    } else if (c == '\xC2' && i + 1 < sText.size() && sText[i + 1] == '\xA0') {
      sOut += "&nbsp;";
      ++i;
    } else if (bAttribute && c == '"') {
      sOut += "&quot;";
    } else if (!bAttribute && c == '<') {
      sOut += "&lt;";
    } else if (!bAttribute && c == '>') {
      sOut += "&gt;";
    } else {
      sOut += c;
    }
  }
}

std::string HtmlEscaped(std::string_view sText, EHtmlContext eContext) {
  std::string sOut;
  sOut.reserve(sText.size());
  AppendHtmlEscaped(sOut, sText, eContext);
  return sOut;
}

}  // namespace orv
