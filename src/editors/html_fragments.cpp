#include "editors/html_fragments.h"

namespace orv {
namespace {

std::string EscapeAttribute(std::string_view sValue) {
  std::string sOut;
  for (char c : sValue) {
    switch (c) {
      case '&':
        sOut += "&amp;";
        break;
      case '"':
        sOut += "&quot;";
        break;
      case '<':
        sOut += "&lt;";
        break;
      case '>':
        sOut += "&gt;";
        break;
      default:
        sOut += c;
    }
  }
  return sOut;
}

}  // namespace

std::string InitialHtmlDocument(std::string_view sTheme) {
  return "<HTML><HEAD><META http-equiv=MSThemeCompatible content=" + std::string(sTheme) +
         "></HEAD><BODY><DIV></DIV></BODY></HTML>";
}

std::string PictureHtml(std::string_view sPath) {
  return "<img src=\"" + EscapeAttribute(sPath) + "\" border=0 hspace=3 vspace=3>";
}

std::string TableHtml(int nRows, int nColumns) {
  std::string sRow = "<TR>";
  for (int c = 0; c < nColumns; ++c) sRow += "<TD><DIV>&nbsp;</DIV></TD>";
  sRow += "</TR>";
  std::string sTable = "<TABLE border=1 cellpadding=3>";
  for (int r = 0; r < nRows; ++r) sTable += sRow;
  return sTable + "</TABLE>";
}

}  // namespace orv
