// The visible text of RTF and HTML notes: what search and statistics see.

#include <gtest/gtest.h>

#include "text/html_plain_text.h"
#include "text/note_text.h"
#include "text/rtf_plain_text.h"

namespace orv::test {
namespace {

struct SCase {
  const char* pWhat;
  std::string_view sInput;
  std::string_view sText;
};

TEST(RtfPlainTextTest, ShowsWhatAReaderSees) {
  const SCase cases[] = {
      {"paragraphs, no control words", "{\\rtf1\\ansi\\deff0 One\\par Two\\par}", "One\nTwo\n"},
      {"tables, colours and styles hidden",
       "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
       "{\\*\\stylesheet{\\s1 Heading;}}{\\info{\\title T}}\\f0 Body}",
       "Body"},
      {"unknown starred destination", "{\\rtf1 a{\\*\\unknownthing hidden}b}", "ab"},
      {"link keeps its text, not its target",
       "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"http://x.org\"}{\\fldrslt here}} now}",
       "see here now"},
      {"escaped braces and backslash", "{\\rtf1 \\{a\\}\\\\}", "{a}\\"},
      {"cp1252 bytes by default", "{\\rtf1 caf\\'e9}", "caf\xC3\xA9"},
      {"the document's code page", "{\\rtf1\\ansi\\ansicpg1251 \\'ef\\'f0\\'e8}",
       "\xD0\xBF\xD1\x80\xD0\xB8"},
      {"a font's character set wins",
       "{\\rtf1\\ansicpg1252{\\fonttbl{\\f1\\fcharset204 Cyr;}}\\f1 \\'ef {\\f0 \\'e9}}",
       "\xD0\xBF \xC3\xA9"},
      {"\\u skips its fallback", "{\\rtf1 \\u8364?x}", "\xE2\x82\xACx"},
      {"\\uc2 skips two, \\uc0 none", "{\\rtf1\\uc2 \\u8364\\'80\\'80y{\\uc0\\u8364 z}}",
       "\xE2\x82\xACy\xE2\x82\xACz"},
      {"a negative \\u and a surrogate pair", "{\\rtf1\\uc0 \\u-3971\\u-10179\\u-8704}",
       "\xEF\x81\xBD\xF0\x9F\x98\x80"},
      {"special characters", "{\\rtf1 a\\tab b\\line c\\emdash\\~d}",
       "a\tb\nc\xE2\x80\x94\xC2\xA0"
       "d"},
      {"table cells and rows", "{\\rtf1\\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row}",
       "a\tb\t\n"},
      {"pictures hidden", "{\\rtf1 x{\\pict\\pngblip 89504e47}y}", "xy"},
      {"text already in UTF-8", "{\\rtf1 \xC3\xA9t\xC3\xA9}", "\xC3\xA9t\xC3\xA9"},
      {"truncated input keeps what it had", "{\\rtf1 half a no", "half a no"},
      {"stray closing braces", "{\\rtf1 a}}}b", "ab"},
      {"not RTF at all", "plain \\par text", "plain \\par text"},
  };
  for (const SCase& c : cases) EXPECT_EQ(RtfToPlainText(c.sInput), c.sText) << c.pWhat;
}

TEST(RtfPlainTextTest, DeepNestingIsReadInLinearTime) {
  std::string sDeep = "{\\rtf1 a";
  for (int i = 0; i < 100000; ++i) sDeep += "{b";
  EXPECT_EQ(RtfToPlainText(sDeep).substr(0, 2), "ab");
}

TEST(HtmlPlainTextTest, ShowsWhatABrowserShows) {
  const SCase cases[] = {
      {"tags and attributes are not text", "<p class=\"budget\">Some <b>bold</b> text</p>",
       "Some bold text"},
      {"scripts, styles and the head are not text",
       "<html><head><title>T</title><style>p{}</style></head>"
       "<body><script>var x;</script>Body</body></html>",
       "Body"},
      {"entities decoded", "caf&eacute; &amp; &#8364;", "caf\xC3\xA9 & \xE2\x82\xAC"},
      {"white space collapses, blocks end lines", "<p>one\n   two</p><p>three<br>four</p>",
       "one two\nthree\nfour"},
      {"table cells", "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", "a\tb\nc"},
      {"pre keeps its spaces", "<pre>a  b\n c</pre>", "a  b\n c"},
      {"comments are not text", "a<!-- hidden -->b", "ab"},
      {"broken markup still gives its text", "<p>open <b>never closed", "open never closed"},
  };
  for (const SCase& c : cases) EXPECT_EQ(HtmlToPlainText(c.sInput), c.sText) << c.pWhat;
}

// gumbo is quadratic in depth and frees recursively: levels past a thousand
// are left out, their text kept, and the rest of the page read as before.
TEST(HtmlPlainTextTest, DeepNestingKeepsItsTextAndTakesNoTime) {
  std::string sDeep;
  for (int i = 0; i < 200000; ++i) sDeep += "<div>";
  sDeep += "deep";
  for (int i = 0; i < 200000; ++i) sDeep += "</div>";
  sDeep += "<p>after</p><p>and <b>more</b>";
  EXPECT_EQ(HtmlToPlainText(sDeep), "deep\nafter\nand more");
}

TEST(NoteTextTest, TheNoteTypeChoosesTheReader) {
  EXPECT_EQ(VisibleNoteText("<b>x</b>", 0), "<b>x</b>");
  EXPECT_EQ(VisibleNoteText("<b>x</b>", 1), "x");
  EXPECT_EQ(VisibleNoteText("{\\rtf1 \\b x}", 2), "x");
  EXPECT_EQ(VisibleNoteText("{\\rtf1 \\b x}", 3), "{\\rtf1 \\b x}");
  EXPECT_EQ(VisibleNoteText("<i>y</i>", 4), "y");
}

}  // namespace
}  // namespace orv::test
