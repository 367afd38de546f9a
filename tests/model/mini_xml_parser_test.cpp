#include "model/mini_xml_parser.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orv {
namespace {

XMLelement& AddNote(CElementList& list, std::string_view sName) {
  auto& note = *list.emplace_back(std::make_unique<XMLelement>());
  note.m_sName = kNoteTag;
  AddProperty(note, "name", sName);
  return note;
}

std::string Written(const XMLelement& element) {
  std::ostringstream out;
  WriteElementText(out, element);
  return out.str();
}

std::string Repeat(std::string_view sPiece, size_t nTimes) {
  std::string s;
  for (size_t i = 0; i < nTimes; ++i) s += sPiece;
  return s;
}

TEST(MiniXmlWriterTest, NoteWithSubnoteAndOutline) {
  CElementList top;
  XMLelement& a = AddNote(top, "A");
  AddProperty(a, "type", "2");
  AddNote(a.m_children, "B");
  EXPECT_EQ(Written(a),
            "<source>\n"
            "  <name>A</name>\n"
            "  <type>2</type>\n"
            "  <source>\n"
            "    <name>B</name>\n"
            "  </source>\n"
            "</source>\n");

  a.m_children.emplace_back(std::make_unique<XMLelement>())->m_sName = kNoteTag;  // unnamed
  std::ostringstream outline;
  WriteOutline(outline, a, "> ");
  EXPECT_EQ(outline.str(), "> A\n>   B\n>   <Not Found>\n");
}

TEST(MiniXmlParserTest, AttributesAndContentWords) {
  for (const char* pText : {"<a x = \" 1 \" y=\"two  words\n\">hello world</a>",
                            "<a x=\"1\"\ty =\"  two  words\">\n  hello\n     world\r\n</a>"}) {
    CMiniXMLParser parser;
    ASSERT_TRUE(parser.Parse(pText)) << pText;
    ASSERT_EQ(parser.m_elements.size(), 1u);
    const XMLelement& a = *parser.m_elements[0];
    EXPECT_EQ(a.m_sName, "a");
    EXPECT_EQ(a.m_nKind, 0);
    EXPECT_EQ(a.m_sValue, "hello world");
    std::string sAttributes;
    for (const auto& pAttribute : a.m_attributes)
      sAttributes += pAttribute->m_sName + "=" + pAttribute->m_sValue + ";";
    EXPECT_EQ(sAttributes, "x=1;y=two  words;");
  }
}

TEST(MiniXmlParserTest, CommentsEmptyTagsLooseEndTagsAndMarkupInContent) {
  CMiniXMLParser parser;
  ASSERT_TRUE(parser.Parse("<!-- lead --><a>one<!-- x <b> y --><b/>two</c>\n<d_1>é</d_1>"));
  ASSERT_EQ(parser.m_elements.size(), 2u);
  const XMLelement& a = *parser.m_elements[0];
  EXPECT_EQ(a.m_sValue, "one two");
  ASSERT_EQ(a.m_children.size(), 1u);
  EXPECT_EQ(a.m_children[0]->m_sName, "b");
  EXPECT_EQ(a.m_children[0]->m_nKind, 1);
  EXPECT_EQ(a.m_children[0]->m_sValue, "");
  EXPECT_EQ(parser.m_elements[1]->m_sValue, "é");

  CMiniXMLParser markup;
  ASSERT_TRUE(markup.Parse("<a>x>y a/> 1 > 2 k=v a-->b</a>"));
  EXPECT_EQ(markup.m_elements[0]->m_sValue, "x>y a/> 1 > 2 k = v a --> b");
}

TEST(MiniXmlParserTest, RejectsMalformedTextKeepingEarlierElements) {
  for (const char* pText :
       {"", "  ", "<?xml version=\"1.0\"?><a/>", "<é/>", "<1a/>", "<a x=1/>", "<a x=\"1/>",
        "<a><!-- never closed </a>", "<a>text", "<a></>", "<a></a", "text<a/>"}) {
    CMiniXMLParser parser;
    EXPECT_FALSE(parser.Parse(pText)) << pText;
    EXPECT_TRUE(parser.m_elements.empty()) << pText;
  }
  CMiniXMLParser parser;
  EXPECT_FALSE(parser.Parse("<a/> <b>1</b> <c><d>"));
  ASSERT_EQ(parser.m_elements.size(), 2u);
  EXPECT_EQ(parser.m_elements[1]->m_sName, "b");
}

TEST(MiniXmlParserTest, RoundTripTruncationAndUnescapedMarkup) {
  CElementList top;
  XMLelement& a = AddNote(top, "first note");
  AddProperty(a, "description", "");
  AddProperty(a, "formula", "a>b /> c");
  AddNote(AddNote(a.m_children, "child").m_children, "grandchild");
  AddProperty(a, "after", "1");
  const std::string sText = Written(a);

  CMiniXMLParser parser;
  ASSERT_TRUE(parser.Parse(sText + sText));
  ASSERT_EQ(parser.m_elements.size(), 2u);
  // Names, values and structure come back as they were written.
  EXPECT_EQ(Written(*parser.m_elements[0]), sText);
  EXPECT_EQ(Written(*parser.m_elements[1]), sText);

  const size_t nComplete = sText.rfind('>') + 1;
  for (size_t n = 0; n < nComplete; ++n) {
    CMiniXMLParser truncated;
    EXPECT_FALSE(truncated.Parse(std::string_view(sText).substr(0, n))) << n;
  }

  // Values are written unescaped, so an end-tag mark in one cannot come back.
  SetProperty(a, "name", "x</y");
  CMiniXMLParser unescaped;
  const bool bParsed = unescaped.Parse(Written(a));
  EXPECT_FALSE(bParsed && GetProperty(*unescaped.m_elements[0], "name") == "x</y");
}

TEST(MiniXmlParserTest, DeepNestingFailsOrSucceedsWithoutCrashing) {
  const size_t nHostile = 100000;
  CMiniXMLParser unclosed;
  EXPECT_FALSE(unclosed.Parse(Repeat("<a>", nHostile)));
  CMiniXMLParser closed;
  EXPECT_FALSE(closed.Parse(Repeat("<a>", nHostile) + Repeat("</a>", nHostile)));
  EXPECT_TRUE(closed.m_elements.empty());

  const size_t nDeepest = 1000;
  CMiniXMLParser deepest;
  ASSERT_TRUE(deepest.Parse(Repeat("<a>", nDeepest - 1) + "<b/>" + Repeat("</a>", nDeepest - 1)));
  CMiniXMLParser tooDeep;
  EXPECT_FALSE(tooDeep.Parse(Repeat("<a>", nDeepest) + "<b/>" + Repeat("</a>", nDeepest)));
}

}  // namespace
}  // namespace orv
