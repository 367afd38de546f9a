#pragma once
// The small pieces the HTML editor's writer builds a note from: inline tags
// that open and close only where the formatting changes, attribute and style
// text in one form, so that a note written, read and written again comes out
// byte for byte the same.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// An inline element around text: "b", or "span" with ` style="color:#ff0000"`.
struct SInlineMark {
  std::string sTag;
  std::string sAttributes;  // as written after the tag name, each with its leading space
  bool operator==(const SInlineMark&) const = default;
};

// Writes runs of text each inside its marks (outermost first). Marks shared
// with the run before stay open, so "<b>a<i>b</i></b>" rather than
// "<b>a</b><b><i>b</i></b>".
class CInlineWriter {
 public:
  explicit CInlineWriter(std::string& sOut) : m_sOut(sOut) {}
  ~CInlineWriter() { CloseAll(); }
  CInlineWriter(const CInlineWriter&) = delete;
  CInlineWriter& operator=(const CInlineWriter&) = delete;

  // sText is UTF-8 and is escaped here.
  void Text(const std::vector<SInlineMark>& marks, std::string_view sText);
  // sHtml is markup already (a picture, a line break).
  void Markup(const std::vector<SInlineMark>& marks, std::string_view sHtml);
  void CloseAll();

 private:
  void Enter(const std::vector<SInlineMark>& marks);

  std::string& m_sOut;
  std::vector<SInlineMark> m_open;
};

// ` name="value"`, the value escaped.
std::string HtmlAttribute(std::string_view sName, std::string_view sValue);
// Adds "name:value" to a style declaration list, ";" between entries.
void AddStyle(std::string& sStyle, std::string_view sName, std::string_view sValue);
// ` style="…"`, or nothing for no declarations.
std::string StyleAttribute(const std::string& sStyle);
// "#rrggbb".
std::string CssColour(uint8_t nRed, uint8_t nGreen, uint8_t nBlue);
// A font family as a style value: quoted unless it is one plain word.
std::string CssFontFamily(std::string_view sFamily);
// A length without a needless fraction: 12 -> "12", 10.5 -> "10.5".
std::string CssNumber(double nValue);
// Whether HTML would collapse some of this text's white space (runs, tabs,
// spaces at either end of a line; lines end at "\n"), so its block must
// keep spaces as they are.
bool CollapsesWhiteSpace(std::string_view sText);

}  // namespace orv
