#pragma once
// Writes a document gumbo has read back as HTML (the HTML serialisation
// algorithm: lower-case tag names, attribute values in double quotes, text
// escaped), leaving out what a filter says. It walks the tree without
// recursion, so a document nested any depth is written.

#include <gumbo.h>

#include <optional>
#include <string>

namespace orv {

class CHtmlFilter {
 public:
  virtual ~CHtmlFilter() = default;
  // Asked once per element, in document order; false leaves the element and
  // its content out.
  virtual bool KeepElement(const GumboNode& element) = 0;
  virtual bool KeepAttribute(const GumboAttribute& attribute) = 0;
  // HTML to write as the content of a kept element instead of its children.
  virtual std::optional<std::string> ReplaceContent(const GumboNode& element) = 0;
};

std::string WriteHtml(const GumboOutput& document, CHtmlFilter& filter);

// The element's tag name as written: lower case for HTML, as in the source
// for foreign elements (SVG's case restored); empty when gumbo kept none.
std::string HtmlTagName(const GumboElement& element);

}  // namespace orv
