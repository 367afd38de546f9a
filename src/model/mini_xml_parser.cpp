#include "model/mini_xml_parser.h"

#include <vector>

#include "model/note_keys.h"

namespace orv {
namespace {

// Deeper text is refused: an element's destructor recurses into its children,
// and no outline a person builds comes near this depth.
constexpr size_t kMaxNesting = 1000;

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// ASCII only: bytes of multi-byte UTF-8 characters are not letters.
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameStart(char c) { return IsLetter(c) || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsWhiteSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsWhiteSpace(s.back())) s.remove_suffix(1);
  return s;
}

// The markup token that starts `sRest`, or empty when its first byte is an
// ordinary one. Outside tags ">" and "/>" are ordinary: the writer puts them
// into content only from values, and this way such values read back as written.
std::string_view MarkupAt(std::string_view sRest, bool bInTag) {
  auto starts = [sRest](std::string_view sMark) { return sRest.starts_with(sMark); };
  switch (sRest.front()) {
    case '=':
      return "=";
    case '<':
      if (starts("</")) return "</";
      if (starts("<!--")) return "<!--";
      return "<";
    case '-':
      return starts("-->") ? "-->" : "";
    case '/':
      return bInTag && starts("/>") ? "/>" : "";
    case '>':
      return bInTag ? ">" : "";
    default:
      return "";
  }
}

// Walks `root` depth first without recursion, so any depth is safe.
// onEnter(element, nDepth) writes what precedes the children and says whether
// to visit them; onLeave(element, nDepth) follows them.
template <typename FEnter, typename FLeave>
void WalkDepthFirst(const XMLelement& root, FEnter onEnter, FLeave onLeave) {
  struct SFrame {
    const XMLelement* pElement;
    size_t nNextChild;
  };
  if (!onEnter(root, size_t{0})) return;
  std::vector<SFrame> stack = {{&root, 0}};
  while (!stack.empty()) {
    SFrame& top = stack.back();
    const size_t nChildDepth = stack.size();
    if (top.nNextChild < top.pElement->m_children.size()) {
      const XMLelement& child = *top.pElement->m_children[top.nNextChild++];
      if (onEnter(child, nChildDepth)) stack.push_back({&child, 0});
    } else {
      onLeave(*top.pElement, nChildDepth - 1);
      stack.pop_back();
    }
  }
}

void WriteIndent(std::ostream& out, const std::string& sIndent, size_t nDepth) {
  out << sIndent;
  for (size_t i = 0; i < nDepth; ++i) out << "  ";
}

}  // namespace

bool CMiniXMLParser::Parse(std::string_view sText) {
  m_sText = sText;
  m_nPosition = 0;
  m_nTagMode = 0;
  bool bOk = true;
  do {
    std::unique_ptr<XMLelement> pElement = ParseElement();
    if (!pElement) {
      bOk = false;
      break;
    }
    m_elements.push_back(std::move(pElement));
    SkipWhiteSpace();
  } while (m_nPosition < m_sText.size());
  m_sText = {};  // the caller's text need not outlive the call
  m_sToken.clear();
  return bOk;
}

bool CMiniXMLParser::NextToken() {
  m_sToken.clear();
  size_t nWordStart = m_nPosition;
  while (m_nPosition < m_sText.size()) {
    const char c = m_sText[m_nPosition];
    if (IsWhiteSpace(c)) {
      if (m_nPosition > nWordStart) break;
      nWordStart = ++m_nPosition;
      continue;
    }
    const std::string_view sMark = MarkupAt(m_sText.substr(m_nPosition), m_nTagMode != 0);
    if (sMark.empty()) {
      ++m_nPosition;
      continue;
    }
    if (m_nPosition > nWordStart) break;
    m_sToken = sMark;
    m_nPosition += sMark.size();
    return true;
  }
  m_sToken = m_sText.substr(nWordStart, m_nPosition - nWordStart);
  return !m_sToken.empty();
}

bool CMiniXMLParser::NextTokenSkippingComments() {
  while (NextToken()) {
    if (m_sToken != "<!--") return true;
    do {
      if (!NextToken()) return false;
    } while (m_sToken != "-->");
  }
  return false;
}

bool CMiniXMLParser::ReadIdentifier(std::string& rName) {
  if (!NextToken() || !IsNameStart(m_sToken.front())) return false;
  for (char c : m_sToken)
    if (!IsNameChar(c)) return false;
  rName = m_sToken;
  return true;
}

bool CMiniXMLParser::ParseStartTag(XMLelement& element) {
  m_nTagMode = 1;
  m_nSelfClosed = 0;
  if (!NextTokenSkippingComments() || m_sToken != "<") return false;
  if (!ReadIdentifier(element.m_sName) || !ParseAttributes(element)) return false;
  if (!NextTokenSkippingComments()) return false;
  if (m_sToken == "/>") m_nSelfClosed = 1;
  return m_nSelfClosed || m_sToken == ">";
}

bool CMiniXMLParser::ParseAttributes(XMLelement& element) {
  while (true) {
    SkipWhiteSpace();
    if (m_nPosition == m_sText.size() || !IsNameStart(m_sText[m_nPosition])) return true;
    std::string sName;
    if (!ReadIdentifier(sName) || !NextTokenSkippingComments()) return false;
    if (m_sToken != "=") continue;  // a bare name carries nothing
    SkipWhiteSpace();
    if (m_nPosition == m_sText.size() || m_sText[m_nPosition] != '"') return false;
    const size_t nClose = m_sText.find('"', m_nPosition + 1);
    if (nClose == std::string_view::npos) return false;
    const std::string_view sValue = m_sText.substr(m_nPosition + 1, nClose - m_nPosition - 1);
    element.m_attributes.push_back(
        std::make_unique<XMLattribute>(XMLattribute{std::move(sName), std::string(Trim(sValue))}));
    m_nPosition = nClose + 1;
  }
}

// Stops before the next start or end tag, whose first token is left in m_sToken.
bool CMiniXMLParser::ParseContent(XMLelement& element) {
  m_nTagMode = 0;
  while (true) {
    const size_t nBefore = m_nPosition;
    if (!NextTokenSkippingComments()) return false;
    if (m_sToken == "<" || m_sToken == "</") {
      m_nPosition = nBefore;
      return true;
    }
    if (!element.m_sValue.empty()) element.m_sValue += ' ';
    element.m_sValue += m_sToken;
  }
}

std::unique_ptr<XMLelement> CMiniXMLParser::ParseElement() {
  auto parseEndTag = [this] {
    m_nTagMode = 1;
    std::string sName;  // not compared with the start tag's
    return NextTokenSkippingComments() && m_sToken == "</" && ReadIdentifier(sName) &&
           NextTokenSkippingComments() && m_sToken == ">";
  };
  // Elements awaiting their end tags, outermost first. An explicit stack
  // keeps hostile nesting off the call stack; on failure it frees them all.
  CElementList open;
  while (true) {
    if (open.size() == kMaxNesting) return nullptr;
    auto pElement = std::make_unique<XMLelement>();
    if (!ParseStartTag(*pElement)) return nullptr;
    if (!m_nSelfClosed) {
      open.push_back(std::move(pElement));
    } else {
      pElement->m_nKind = 1;
      if (open.empty()) return pElement;
      open.back()->m_children.push_back(std::move(pElement));
    }
    // Finish elements until one goes on with a child.
    while (true) {
      if (!ParseContent(*open.back())) return nullptr;
      if (m_sToken == "<") break;
      if (!parseEndTag()) return nullptr;
      std::unique_ptr<XMLelement> pDone = std::move(open.back());
      open.pop_back();
      if (open.empty()) return pDone;
      open.back()->m_children.push_back(std::move(pDone));
    }
  }
}

void CMiniXMLParser::SkipWhiteSpace() {
  while (m_nPosition < m_sText.size() && IsWhiteSpace(m_sText[m_nPosition])) ++m_nPosition;
}

void WriteElementText(std::ostream& out, const XMLelement& element, const std::string& sIndent) {
  WalkDepthFirst(
      element,
      [&](const XMLelement& e, size_t nDepth) {
        WriteIndent(out, sIndent, nDepth);
        out << '<' << e.m_sName << '>' << e.m_sValue;
        if (!e.m_children.empty()) {
          out << '\n';
          return true;
        }
        out << "</" << e.m_sName << ">\n";
        return false;
      },
      [&](const XMLelement& e, size_t nDepth) {
        WriteIndent(out, sIndent, nDepth);
        out << "</" << e.m_sName << ">\n";
      });
}

void WriteOutline(std::ostream& out, const XMLelement& note, const std::string& sIndent) {
  WalkDepthFirst(
      note,
      [&](const XMLelement& e, size_t nDepth) {
        if (nDepth > 0 && !e.IsNote()) return false;
        WriteIndent(out, sIndent, nDepth);
        out << GetProperty(e, kNameKey) << '\n';
        return true;
      },
      [](const XMLelement&, size_t) {});
}

}  // namespace orv
