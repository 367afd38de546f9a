#include "text/html_plain_text.h"

#include <algorithm>
#include <array>
#include <optional>
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

// The style an element gives its text, if it is one that RTF keeps.
std::optional<EHtmlStyle> StyleOf(GumboTag eTag) {
  switch (eTag) {
    case GUMBO_TAG_B:
    case GUMBO_TAG_STRONG:
      return EHtmlStyle::Bold;
    case GUMBO_TAG_I:
    case GUMBO_TAG_EM:
      return EHtmlStyle::Italic;
    case GUMBO_TAG_U:
      return EHtmlStyle::Underline;
    default:
      return std::nullopt;
  }
}

bool IsCell(GumboTag eTag) { return eTag == GUMBO_TAG_TD || eTag == GUMBO_TAG_TH; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

class CTextCollector {
 public:
  // Depth first without recursion: a document nested thousands deep is
  // still read.
  SStyledText Collect(const GumboNode& root) {
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
        if (const auto style = StyleOf(eTag)) Style(*style, false);
        if (EndsLine(eTag)) EndLine();
        continue;
      }
      if (IsHidden(eTag)) continue;
      if (IsCell(eTag) && !m_sOut.empty() && m_sOut.back() != '\n') m_sOut += '\t';
      if (eTag == GUMBO_TAG_PRE) ++m_nPre;
      if (const auto style = StyleOf(eTag)) Style(*style, true);
      const GumboVector& children =
          node.type == GUMBO_NODE_DOCUMENT ? node.v.document.children : node.v.element.children;
      pending.push_back({&node, true});
      for (unsigned i = children.length; i-- > 0;)
        pending.push_back({static_cast<const GumboNode*>(children.data[i]), false});
    }
    while (!m_sOut.empty() && IsSpace(m_sOut.back())) m_sOut.pop_back();
    for (SHtmlStyleMark& mark : m_marks) mark.nOffset = std::min(mark.nOffset, m_sOut.size());
    return {std::move(m_sOut), std::move(m_marks)};
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
    for (auto it = m_marks.rbegin(); it != m_marks.rend() && it->nOffset > m_sOut.size(); ++it)
      it->nOffset = m_sOut.size();
    if (!m_sOut.empty() && m_sOut.back() != '\n') m_sOut += '\n';
  }

  // A mark where a style starts or ends, not where nested tags repeat it.
  void Style(EHtmlStyle eStyle, bool bOn) {
    int& nDepth = m_styleDepths[static_cast<size_t>(eStyle)];
    nDepth += bOn ? 1 : -1;
    if (nDepth == (bOn ? 1 : 0)) m_marks.push_back({m_sOut.size(), eStyle, bOn});
  }

  std::string m_sOut;
  std::vector<SHtmlStyleMark> m_marks;
  std::array<int, 3> m_styleDepths{};
  int m_nPre = 0;  // inside <pre>, white space stays as it is
};

}  // namespace

std::string HtmlToPlainText(std::string_view sHtml) { return HtmlToStyledText(sHtml).sText; }

SStyledText HtmlToStyledText(std::string_view sHtml) {
  return CTextCollector().Collect(*ParseHtml(sHtml)->document);
}

}  // namespace orv
