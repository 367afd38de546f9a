#pragma once
// The tree text form: a small XML-like text of elements, start-tag
// attributes, text content and comments, without declarations, entities or
// escaping. The parser reports only success or failure.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "model/xml_element.h"

namespace orv {

class CMiniXMLParser {
 public:
  // Parses the whole text, appending top-level elements to m_elements. On
  // failure, the elements completed before it stay.
  bool Parse(std::string_view sText);

  CElementList m_elements;

 private:
  bool NextToken();
  bool NextTokenSkippingComments();
  bool ReadIdentifier(std::string& rName);
  bool ParseStartTag(XMLelement& element);
  bool ParseAttributes(XMLelement& element);
  bool ParseContent(XMLelement& element);
  std::unique_ptr<XMLelement> ParseElement();
  void SkipWhiteSpace();

  int32_t m_nSelfClosed = 0;
  std::string m_sToken;
  size_t m_nPosition = 0;
  std::string_view m_sText;
  int32_t m_nTagMode = 0;
};

// Writes `element` and its children as text, each child indented two more blanks.
void WriteElementText(std::ostream& out, const XMLelement& element,
                      const std::string& sIndent = {});
// Writes an outline of note names, two blanks per level.
void WriteOutline(std::ostream& out, const XMLelement& note, const std::string& sIndent = {});

}  // namespace orv
