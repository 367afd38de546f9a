#include "editors/html_fragments.h"

#include "text/html_escape.h"

namespace orv {

std::string InitialHtmlDocument(std::string_view sTheme) {
  return "<HTML><HEAD><META http-equiv=MSThemeCompatible content=" + std::string(sTheme) +
         "></HEAD><BODY><DIV></DIV></BODY></HTML>";
}

std::string PictureHtml(std::string_view sPath) {
  return "<img src=\"" + HtmlEscaped(sPath, EHtmlContext::Attribute) +
         "\" border=0 hspace=3 vspace=3>";
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
