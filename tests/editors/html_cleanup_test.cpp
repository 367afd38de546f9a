// The HTML editor's cleanup of what it is given, and its fixed fragments.

#include "editors/html_cleanup.h"

#include <gtest/gtest.h>

#include "editors/html_fragments.h"

namespace orv::test {
namespace {

struct SCase {
  std::string_view sInput;
  std::string_view sHtml;
  std::string_view sReport;
};

constexpr std::string_view kHead = "<html><head></head><body>";
constexpr std::string_view kTail = "</body></html>";

TEST(HtmlCleanupTest, RemovesWhatTheEditorMustNotShow) {
  const SCase cases[] = {
      {"<script>alert(1)</script><style>p{}</style><p>a</p>", "<p>a</p>", " <SCRIPT>"},
      {"<iframe src=x></iframe>b<IFRAME></IFRAME>", "b", " <IFRAME>"},
      {"<layer>x</layer><select><option>1</select><map></map>c", "c", " <LAYER> <SELECT> <MAP>"},
      {"<table><caption>t</caption><colgroup><col></colgroup><tr><td>1</td></tr></table>",
       "<table><tbody><tr><td>1</td></tr></tbody></table>", " <CAPTION> <COLGROUP>"},
      {"<object data=f></object><applet></applet><noscript>n</noscript>d", "d",
       " <OBJECT> <APPLET> <NOSCRIPT>"},
      {"<svg><script>x</script></svg>e", "<svg></svg>e", " <SCRIPT>"},
      {"<a href=\"x\" onclick=\"f()\" ONMOUSEOVER=g>l</a>", "<a href=\"x\">l</a>", ""},
      {"<a href=\" jav&#x09;ascript:f()\">l</a><img src=VBScript:x>", "<a>l</a><img>", ""},
      {"<p style=\"color:red\" class=c title=\"javascript: the book\">s</p>",
       "<p style=\"color:red\" class=\"c\">s</p>", ""},
      // An event attribute taken out: what is kept is written anew.
      {"<p onclick=f()>a &amp; &lt;b&gt; \xC2\xA0\"q\"</p>", "<p>a &amp; &lt;b&gt; &nbsp;\"q\"</p>",
       ""},
      {"<pre onclick=f()>\n\nx</pre><textarea>a<b</textarea>",
       "<pre>\n\nx</pre><textarea>a&lt;b</textarea>", ""},
      {"<P ALIGN=center onclick=f()>x<br>y<!-- note --></P><custom-tag A=1>z</custom-tag>",
       "<p align=\"center\">x<br>y<!-- note --></p><custom-tag a=\"1\">z</custom-tag>", ""},
      {"", "<DIV></DIV>", ""},
      {"<body><script>x</script>  \n", "<DIV></DIV>", " <SCRIPT>"},
      {"<body><!-- only a comment -->", "<DIV></DIV>", ""},
  };
  for (const SCase& c : cases) {
    const SHtmlCleanup cleanup = CleanHtml(c.sInput);
    EXPECT_EQ(cleanup.sHtml, std::string(kHead) + std::string(c.sHtml) + std::string(kTail))
        << c.sInput;
    EXPECT_EQ(cleanup.sReport, c.sReport) << c.sInput;
  }
  // Nothing to take out: the HTML comes back byte for byte, however written.
  const std::string_view sClean = "<P ALIGN=center>x<br>y<!-- note --></P>";
  EXPECT_EQ(CleanHtml(sClean).sHtml, sClean);
  EXPECT_FALSE(CleanHtml(sClean).bChanged);
}

TEST(HtmlCleanupTest, HeadAndDocumentKeepWhatIsHarmless) {
  const SHtmlCleanup cleanup = CleanHtml(
      "<!DOCTYPE html><html><head><title>T</title><meta charset=utf-8>"
      "<meta http-equiv=\"Refresh\" content=\"0;url=x\"><style>b{}</style><script>s</script>"
      "</head><body onload=\"f()\"><div>x</div></body></html>");
  EXPECT_EQ(cleanup.sHtml,
            "<!DOCTYPE html><html><head><title>T</title><meta charset=\"utf-8\"></head>"
            "<body><div>x</div></body></html>");
  EXPECT_EQ(cleanup.sReport, " <SCRIPT>");
  EXPECT_TRUE(cleanup.bChanged);
  EXPECT_EQ(UnsupportedTagsMessage(cleanup.sReport),
            "The following tags have been removed as the Editor does not support them:\n <SCRIPT>");

  const SHtmlCleanup untouched = CleanHtml("<p><b>plain</b> note</p>");
  EXPECT_FALSE(untouched.bChanged);
  EXPECT_EQ(CleanHtml(untouched.sHtml).sHtml, untouched.sHtml);  // its own output is stable
}

TEST(HtmlCleanupTest, SaysWhatItKeepsButTheEditorCannotShow) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"<p>plain</p><div style=\"position: static\">s</div>", ""},
      {"<div style=\"top:0; POSITION : Absolute\">a</div><p style=\"position:fixed\">b</p>",
       "absolute positioning"},
      {"<form><input name=q><button>go</button></form><svg></svg><video></video>",
       "form fields, drawings, media"},
  };
  for (auto [sInput, sNotShown] : cases) {
    const SHtmlCleanup cleanup = CleanHtml(sInput);
    EXPECT_EQ(cleanup.sNotShown, sNotShown) << sInput;
    EXPECT_FALSE(cleanup.bChanged) << sInput;  // kept as it is
  }
}

TEST(HtmlCleanupTest, DeepNestingIsWritten) {
  std::string sDeep;
  for (int i = 0; i < 4000; ++i) sDeep += "<span>";
  const SHtmlCleanup cleanup = CleanHtml(sDeep + "x<script>y</script>");
  EXPECT_EQ(cleanup.sReport, " <SCRIPT>");
  EXPECT_NE(cleanup.sHtml.find("<span>x</span>"), std::string::npos);
}

TEST(HtmlFragmentsTest, FixedFragments) {
  EXPECT_EQ(InitialHtmlDocument("yes"),
            "<HTML><HEAD><META http-equiv=MSThemeCompatible content=yes></HEAD>"
            "<BODY><DIV></DIV></BODY></HTML>");
  EXPECT_EQ(PictureHtml("/tmp/a b&\"c\".png"),
            "<img src=\"/tmp/a b&amp;&quot;c&quot;.png\" border=0 hspace=3 vspace=3>");
  EXPECT_EQ(TableHtml(2, 1),
            "<TABLE border=1 cellpadding=3><TR><TD><DIV>&nbsp;</DIV></TD></TR>"
            "<TR><TD><DIV>&nbsp;</DIV></TD></TR></TABLE>");
}

}  // namespace
}  // namespace orv::test
