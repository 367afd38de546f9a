#include "editors/html_markup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/html_escape.h"

namespace orv {

void CInlineWriter::Enter(const std::vector<SInlineMark>& marks) {
  size_t nShared = 0;
  while (nShared < m_open.size() && nShared < marks.size() && m_open[nShared] == marks[nShared])
    ++nShared;
  while (m_open.size() > nShared) {
    m_sOut += "</" + m_open.back().sTag + ">";
    m_open.pop_back();
  }
  for (size_t i = nShared; i < marks.size(); ++i) {
    m_sOut += "<" + marks[i].sTag + marks[i].sAttributes + ">";
    m_open.push_back(marks[i]);
  }
}

void CInlineWriter::Text(const std::vector<SInlineMark>& marks, std::string_view sText) {
  if (sText.empty()) return;
  Enter(marks);
  AppendHtmlEscaped(m_sOut, sText, EHtmlContext::Text);
}

void CInlineWriter::Markup(const std::vector<SInlineMark>& marks, std::string_view sHtml) {
  Enter(marks);
  m_sOut += sHtml;
}

void CInlineWriter::CloseAll() { Enter({}); }

std::string HtmlAttribute(std::string_view sName, std::string_view sValue) {
  return " " + std::string(sName) + "=\"" + HtmlEscaped(sValue, EHtmlContext::Attribute) + "\"";
}

void AddStyle(std::string& sStyle, std::string_view sName, std::string_view sValue) {
  if (!sStyle.empty()) sStyle += ';';
  sStyle.append(sName).append(":").append(sValue);
}

std::string StyleAttribute(const std::string& sStyle) {
  return sStyle.empty() ? std::string() : HtmlAttribute("style", sStyle);
}

std::string CssColour(uint8_t nRed, uint8_t nGreen, uint8_t nBlue) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", nRed, nGreen, nBlue);
  return buffer;
}

std::string CssFontFamily(std::string_view sFamily) {
  const bool bPlain = !sFamily.empty() && std::all_of(sFamily.begin(), sFamily.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
  });
  if (bPlain && !(sFamily[0] >= '0' && sFamily[0] <= '9')) return std::string(sFamily);
  std::string sQuoted = "'";
  for (char c : sFamily) {
    if (c == '\'' || c == '\\') sQuoted += '\\';
    sQuoted += c;
  }
  return sQuoted + "'";
}

std::string CssNumber(double nValue) {
  if (!std::isfinite(nValue)) return "0";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", nValue);
  return buffer;
}

bool CollapsesWhiteSpace(std::string_view sText) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  // Each line on its own: spaces next to a line break go as well.
  size_t nStart = 0;
  while (nStart <= sText.size()) {
    size_t nEnd = std::min(sText.find('\n', nStart), sText.size());
    const std::string_view sLine = sText.substr(nStart, nEnd - nStart);
    if (!sLine.empty() && (isBlank(sLine.front()) || isBlank(sLine.back()))) return true;
    if (sLine.find_first_of("\t\r") != std::string_view::npos) return true;
    if (sLine.find("  ") != std::string_view::npos) return true;
    nStart = nEnd + 1;
  }
  return false;
}

}  // namespace orv
