#include "text/html_plain_text.h"

#include <utility>
#include <vector>

#include "text/gumbo_document.h"

namespace orv {
namespace {

bool IsHidden(GumboTag eTag) {
  switch (eTag) {
    case GUMBO_TAG_HEAD:
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_NOSCRIPT:
      return true;
    default:
      return false;
  }
}

// Elements after which the text goes on on a new line.
bool EndsLine(GumboTag eTag) {
  switch (eTag) {
    case GUMBO_TAG_P:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_BR:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_UL:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_ADDRESS:
      return true;
    default:
      return false;
  }
}

bool IsCell(GumboTag eTag) { return eTag == GUMBO_TAG_TD || eTag == GUMBO_TAG_TH; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

class CTextCollector {
 public:
  // Depth first without recursion: a document nested thousands deep is
  // still read.
  std::string Collect(const GumboNode& root) {
    struct SStep {
      const GumboNode* pNode;
      bool bClosing;
    };
    std::vector<SStep> pending{{&root, false}};
    while (!pending.empty()) {
      const SStep step = pending.back();
      pending.pop_back();
      const GumboNode& node = *step.pNode;
      if (node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE ||
          node.type == GUMBO_NODE_CDATA) {
        AddText(node.v.text.text);
        continue;
      }
      if (node.type != GUMBO_NODE_ELEMENT && node.type != GUMBO_NODE_DOCUMENT &&
          node.type != GUMBO_NODE_TEMPLATE)
        continue;  // comments
      const GumboTag eTag =
          node.type == GUMBO_NODE_DOCUMENT ? GUMBO_TAG_UNKNOWN : node.v.element.tag;
      if (step.bClosing) {
        if (eTag == GUMBO_TAG_PRE) --m_nPre;
        if (EndsLine(eTag)) EndLine();
        continue;
      }
      if (IsHidden(eTag)) continue;
      if (IsCell(eTag) && !m_sOut.empty() && m_sOut.back() != '\n') m_sOut += '\t';
      if (eTag == GUMBO_TAG_PRE) ++m_nPre;
      const GumboVector& children =
          node.type == GUMBO_NODE_DOCUMENT ? node.v.document.children : node.v.element.children;
      pending.push_back({&node, true});
      for (unsigned i = children.length; i-- > 0;)
        pending.push_back({static_cast<const GumboNode*>(children.data[i]), false});
    }
    while (!m_sOut.empty() && IsSpace(m_sOut.back())) m_sOut.pop_back();
    return std::move(m_sOut);
  }

 private:
  void AddText(std::string_view sText) {
    for (char c : sText) {
      if (!IsSpace(c) || m_nPre > 0) {
        m_sOut += c;
      } else if (!m_sOut.empty() && !IsSpace(m_sOut.back())) {
        m_sOut += ' ';
      }
    }
  }
  void EndLine() {
    while (!m_sOut.empty() && m_sOut.back() == ' ') m_sOut.pop_back();
    if (!m_sOut.empty() && m_sOut.back() != '\n') m_sOut += '\n';
  }

  std::string m_sOut;
  int m_nPre = 0;  // inside <pre>, white space stays as it is
};

}  // namespace

std::string HtmlToPlainText(std::string_view sHtml) {
  return CTextCollector().Collect(*ParseHtml(sHtml)->document);
}

}  // namespace orv
