#include "editors/html_writer.h"

#include <string_view>
#include <vector>

#include "text/html_escape.h"

namespace orv {
namespace {

bool IsVoid(GumboTag eTag) {
  switch (eTag) {
    case GUMBO_TAG_AREA:
    case GUMBO_TAG_BASE:
    case GUMBO_TAG_BASEFONT:
    case GUMBO_TAG_BGSOUND:
    case GUMBO_TAG_BR:
    case GUMBO_TAG_COL:
    case GUMBO_TAG_EMBED:
    case GUMBO_TAG_FRAME:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_IMG:
    case GUMBO_TAG_INPUT:
    case GUMBO_TAG_KEYGEN:
    case GUMBO_TAG_LINK:
    case GUMBO_TAG_META:
    case GUMBO_TAG_PARAM:
    case GUMBO_TAG_SOURCE:
    case GUMBO_TAG_TRACK:
    case GUMBO_TAG_WBR:
      return true;
    default:
      return false;
  }
}

// Elements whose text the parser takes as it stands, entities and all.
bool HoldsRawText(const GumboNode* pParent) {
  if (!pParent || pParent->type != GUMBO_NODE_ELEMENT ||
      pParent->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
    return false;
  switch (pParent->v.element.tag) {
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_PLAINTEXT:
      return true;
    default:
      return false;
  }
}

std::string_view AttributePrefix(const GumboAttribute& attribute) {
  switch (attribute.attr_namespace) {
    case GUMBO_ATTR_NAMESPACE_XLINK:
      return "xlink:";
    case GUMBO_ATTR_NAMESPACE_XML:
      return "xml:";
    case GUMBO_ATTR_NAMESPACE_XMLNS:
      return std::string_view(attribute.name) == "xmlns" ? "" : "xmlns:";
    default:
      return "";
  }
}

void AppendDoctype(std::string& sOut, const GumboDocument& document) {
  sOut += "<!DOCTYPE ";
  sOut += document.name;
  const std::string_view sPublic = document.public_identifier;
  const std::string_view sSystem = document.system_identifier;
  if (!sPublic.empty()) sOut += " PUBLIC \"" + std::string(sPublic) + "\"";
  if (!sSystem.empty())
    sOut += (sPublic.empty() ? " SYSTEM \"" : " \"") + std::string(sSystem) + "\"";
  sOut += ">";
}

class CWriter {
 public:
  explicit CWriter(CHtmlFilter& filter) : m_filter(filter) {}

  std::string Write(const GumboOutput& output) {
    const GumboDocument& document = output.document->v.document;
    if (document.has_doctype) AppendDoctype(m_sOut, document);
    PushChildren(document.children);
    while (!m_pending.empty()) {
      const SStep step = m_pending.back();
      m_pending.pop_back();
      if (step.bClosing)
        m_sOut += "</" + HtmlTagName(step.pNode->v.element) + ">";
      else
        WriteNode(*step.pNode);
    }
    return std::move(m_sOut);
  }

 private:
  struct SStep {
    const GumboNode* pNode;
    bool bClosing;
  };

  void PushChildren(const GumboVector& children) {
    for (unsigned i = children.length; i-- > 0;)
      m_pending.push_back({static_cast<const GumboNode*>(children.data[i]), false});
  }

  void WriteNode(const GumboNode& node) {
    switch (node.type) {
      case GUMBO_NODE_TEXT:
      case GUMBO_NODE_WHITESPACE:
        if (HoldsRawText(node.parent))
          m_sOut += node.v.text.text;
        else
          AppendHtmlEscaped(m_sOut, node.v.text.text, EHtmlContext::Text);
        break;
      case GUMBO_NODE_CDATA:
        m_sOut += "<![CDATA[" + std::string(node.v.text.text) + "]]>";
        break;
      case GUMBO_NODE_COMMENT:
        m_sOut += "<!--" + std::string(node.v.text.text) + "-->";
        break;
      case GUMBO_NODE_ELEMENT:
      case GUMBO_NODE_TEMPLATE:
        WriteElement(node);
        break;
      default:
        break;
    }
  }

  void WriteElement(const GumboNode& node) {
    if (!m_filter.KeepElement(node)) return;
    const GumboElement& element = node.v.element;
    const std::string sName = HtmlTagName(element);
    // A tag gumbo could not name is left out; its content stays.
    if (!sName.empty()) {
      m_sOut += "<" + sName;
      for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto& attribute = *static_cast<const GumboAttribute*>(element.attributes.data[i]);
        if (!m_filter.KeepAttribute(attribute)) continue;
        m_sOut += " ";
        m_sOut += AttributePrefix(attribute);
        m_sOut += attribute.name;
        m_sOut += "=\"";
        AppendHtmlEscaped(m_sOut, attribute.value, EHtmlContext::Attribute);
        m_sOut += "\"";
      }
      m_sOut += ">";
      if (IsVoid(element.tag) && element.tag_namespace == GUMBO_NAMESPACE_HTML) return;
      m_pending.push_back({&node, true});
    }
    if (std::optional<std::string> sContent = m_filter.ReplaceContent(node)) {
      m_sOut += *sContent;
      return;
    }
    // The parser drops one line break after these start tags: keep the one the text begins with.
    const bool bDropsLineBreak = element.tag == GUMBO_TAG_PRE ||
                                 element.tag == GUMBO_TAG_TEXTAREA ||
                                 element.tag == GUMBO_TAG_LISTING;
    if (bDropsLineBreak && element.children.length > 0) {
      const auto* pFirst = static_cast<const GumboNode*>(element.children.data[0]);
      if ((pFirst->type == GUMBO_NODE_TEXT || pFirst->type == GUMBO_NODE_WHITESPACE) &&
          pFirst->v.text.text[0] == '\n')
        m_sOut += '\n';
    }
    PushChildren(element.children);
  }

  CHtmlFilter& m_filter;
  std::vector<SStep> m_pending;
  std::string m_sOut;
};

bool IsNameEnd(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '/' || c == '>';
}

}  // namespace

std::string HtmlTagName(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
  // "<name attributes...>" as the source wrote it.
  std::string_view sTag(element.original_tag.data ? element.original_tag.data : "",
                        element.original_tag.length);
  if (sTag.starts_with('<')) sTag.remove_prefix(1);
  size_t nLength = 0;
  while (nLength < sTag.size() && !IsNameEnd(sTag[nLength])) ++nLength;
  const GumboStringPiece name{sTag.data(), nLength};
  if (element.tag_namespace == GUMBO_NAMESPACE_SVG)
    if (const char* pSvgName = gumbo_normalize_svg_tagname(&name)) return pSvgName;
  std::string sName(sTag.substr(0, nLength));
  if (element.tag_namespace == GUMBO_NAMESPACE_HTML)
    for (char& c : sName)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return sName;
}

std::string WriteHtml(const GumboOutput& document, CHtmlFilter& filter) {
  return CWriter(filter).Write(document);
}

}  // namespace orv
