// The pieces the HTML editor's writer is made of.

#include "editors/html_markup.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(HtmlMarkup, InlineTagsOpenAndCloseOnlyWhereTheFormatChanges) {
  const SInlineMark b{"b", ""};
  const SInlineMark i{"i", ""};
  const SInlineMark a{"a", HtmlAttribute("href", "x\"y")};
  std::string sOut;
  {
    CInlineWriter writer(sOut);
    writer.Text({b}, "1");
    writer.Text({b, i}, "2");
    writer.Text({i}, "3<");
    writer.Markup({i}, "<br>");
    writer.Text({}, "");  // nothing to write: the open tags stay
    writer.Text({a, b}, "4");
  }  // closes what is open
  EXPECT_EQ(sOut, "<b>1<i>2</i></b><i>3&lt;<br></i><a href=\"x&quot;y\"><b>4</b></a>");
}

TEST(HtmlMarkup, StyleValues) {
  std::string sStyle;
  EXPECT_EQ(StyleAttribute(sStyle), "");
  AddStyle(sStyle, "color", CssColour(255, 0, 10));
  AddStyle(sStyle, "font-family", CssFontFamily("Times New Roman"));
  EXPECT_EQ(StyleAttribute(sStyle), " style=\"color:#ff000a;font-family:'Times New Roman'\"");
  EXPECT_EQ(CssFontFamily("Arial"), "Arial");
  EXPECT_EQ(CssFontFamily("3Dumb"), "'3Dumb'");
  EXPECT_EQ(CssFontFamily("O'Neil\\"), "'O\\'Neil\\\\'");
  EXPECT_EQ(CssNumber(12), "12");
  EXPECT_EQ(CssNumber(10.5), "10.5");
  EXPECT_EQ(CssNumber(1.0 / 0.0), "0");
}

TEST(HtmlMarkup, WhiteSpaceThatHtmlWouldCollapse) {
  for (const char* pText : {" a", "a ", "a  b", "a\tb", "a \nb", "a\n b"})
    EXPECT_TRUE(CollapsesWhiteSpace(pText)) << pText;
  for (const char* pText : {"", "a", "a b", "a b c", "a\nb", "\n\n", "a\xC2\xA0 b"})
    EXPECT_FALSE(CollapsesWhiteSpace(pText)) << pText;
}

}  // namespace
}  // namespace orv
