#include "editors/html_cleanup.h"

#include <algorithm>
#include <array>
#include <optional>

#include "editors/html_writer.h"
#include "text/gumbo_document.h"

namespace orv {
namespace {

constexpr std::array<std::string_view, 10> kUnsupported{"COLGROUP", "SCRIPT", "NOSCRIPT", "IFRAME",
                                                        "LAYER",    "SELECT", "OBJECT",   "APPLET",
                                                        "CAPTION",  "MAP"};

constexpr int kMaxRereadings = 4;

enum class EVerdict { kKeep, kReport, kDropSilently };

std::string Upper(std::string_view s) {
  std::string sUpper(s);
  std::transform(sUpper.begin(), sUpper.end(), sUpper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  return sUpper;
}

bool RefreshesPage(const GumboElement& meta) {
  const GumboAttribute* pEquiv = gumbo_get_attribute(&meta.attributes, "http-equiv");
  return pEquiv && Upper(pEquiv->value).find("REFRESH") != std::string::npos;
}

EVerdict Judge(const GumboNode& node) {
  const GumboElement& element = node.v.element;
  const std::string sTag = Upper(HtmlTagName(element));
  if (std::find(kUnsupported.begin(), kUnsupported.end(), sTag) != kUnsupported.end())
    return EVerdict::kReport;
  if (sTag == "STYLE" || (sTag == "META" && RefreshesPage(element))) return EVerdict::kDropSilently;
  return EVerdict::kKeep;
}

// A URL that runs a script when followed; browsers ignore leading controls
// and spaces, and tabs and line breaks anywhere in it.
bool IsScriptUrl(std::string_view sValue) {
  std::string sScheme;
  for (char c : sValue) {
    if (c == '\t' || c == '\n' || c == '\r' ||
        (sScheme.empty() && static_cast<unsigned char>(c) <= ' '))
      continue;
    sScheme += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    if (c == ':' || sScheme.size() > 11) break;
  }
  return sScheme == "javascript:" || sScheme == "vbscript:";
}

bool HasContent(const GumboElement& body) {
  for (unsigned i = 0; i < body.children.length; ++i) {
    const auto& child = *static_cast<const GumboNode*>(body.children.data[i]);
    if (child.type == GUMBO_NODE_TEXT || child.type == GUMBO_NODE_CDATA) return true;
    if ((child.type == GUMBO_NODE_ELEMENT || child.type == GUMBO_NODE_TEMPLATE) &&
        Judge(child) == EVerdict::kKeep)
      return true;
  }
  return false;
}

// What of an element the editor's view cannot show, or null.
const char* NotShownOf(const GumboElement& element) {
  switch (element.tag) {
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_INPUT:
    case GUMBO_TAG_BUTTON:
    case GUMBO_TAG_TEXTAREA:
      return "form fields";
    case GUMBO_TAG_SVG:
    case GUMBO_TAG_CANVAS:
    case GUMBO_TAG_MATH:
      return "drawings";
    case GUMBO_TAG_VIDEO:
    case GUMBO_TAG_AUDIO:
    case GUMBO_TAG_EMBED:
      return "media";
    default:
      break;
  }
  const GumboAttribute* pStyle = gumbo_get_attribute(&element.attributes, "style");
  if (!pStyle) return nullptr;
  std::string sStyle;
  for (const char* p = pStyle->value; *p; ++p)
    if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') sStyle += *p;
  sStyle = Upper(sStyle);
  if (sStyle.find("POSITION:ABSOLUTE") != std::string::npos ||
      sStyle.find("POSITION:FIXED") != std::string::npos)
    return "absolute positioning";
  return nullptr;
}

class CCleanupFilter : public CHtmlFilter {
 public:
  bool KeepElement(const GumboNode& element) override {
    const EVerdict eVerdict = Judge(element);
    if (eVerdict == EVerdict::kKeep) {
      const char* pNotShown = NotShownOf(element.v.element);
      if (pNotShown && m_result.sNotShown.find(pNotShown) == std::string::npos)
        m_result.sNotShown += (m_result.sNotShown.empty() ? "" : ", ") + std::string(pNotShown);
      return true;
    }
    m_result.bChanged = true;
    const std::string sEntry = " <" + Upper(HtmlTagName(element.v.element)) + ">";
    if (eVerdict == EVerdict::kReport && m_result.sReport.find(sEntry) == std::string::npos)
      m_result.sReport += sEntry;
    return false;
  }

  bool KeepAttribute(const GumboAttribute& attribute) override {
    const std::string_view sName = attribute.name;
    const bool bKeep =
        !(sName.size() > 2 && Upper(sName.substr(0, 2)) == "ON") && !IsScriptUrl(attribute.value);
    m_result.bChanged |= !bKeep;
    return bKeep;
  }

  std::optional<std::string> ReplaceContent(const GumboNode& element) override {
    const GumboElement& body = element.v.element;
    if (body.tag != GUMBO_TAG_BODY || HasContent(body)) return std::nullopt;
    // All the body holds is removed, and reported as if it were written.
    for (unsigned i = 0; i < body.children.length; ++i) {
      const auto& child = *static_cast<const GumboNode*>(body.children.data[i]);
      if (child.type == GUMBO_NODE_ELEMENT || child.type == GUMBO_NODE_TEMPLATE) KeepElement(child);
    }
    m_result.bChanged = true;
    return "<DIV></DIV>";
  }

  SHtmlCleanup m_result;
};

// Adds to sReport what this reading removes.
SHtmlCleanup CleanOnce(std::string_view sHtml, std::string sReport) {
  CCleanupFilter filter;
  filter.m_result.sReport = std::move(sReport);
  filter.m_result.sHtml = WriteHtml(*ParseHtml(sHtml), filter);
  return std::move(filter.m_result);
}

}  // namespace

SHtmlCleanup CleanHtml(std::string_view sHtml) {
  SHtmlCleanup result = CleanOnce(sHtml, {});
  // Nothing removed: the HTML is given back as it came. Written out again it
  // might read differently (misnested markup), and it need not be read again.
  if (!result.bChanged) {
    result.sHtml = std::string(sHtml);
    return result;
  }
  // Misnested markup, written back, may read as something other than what
  // was cleaned (an element hidden in text, say). The output is read again
  // until a reading finds nothing more to remove.
  for (int nPass = 0; nPass < kMaxRereadings; ++nPass) {
    SHtmlCleanup again = CleanOnce(result.sHtml, result.sReport);
    if (!again.bChanged) break;
    result.sHtml = std::move(again.sHtml);
    result.sReport = std::move(again.sReport);
  }
  return result;
}

std::string UnsupportedTagsMessage(std::string_view sReport) {
  return "The following tags have been removed as the Editor does not support them:\n" +
         std::string(sReport);
}

}  // namespace orv
