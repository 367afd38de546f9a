#include "text/gumbo_document.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace orv {
namespace {

// gumbo takes time quadratic in the nesting depth and frees its tree
// recursively: a note of nested tags would freeze the program or exhaust the
// stack. No page people write comes near this depth.
constexpr size_t kMaxHtmlDepth = 1000;

// Elements that never hold others (void ones, and those holding only raw
// text), and those whose end tag may be left out (the next one closes them):
// neither makes the tree deeper when repeated, and none is ever left out.
constexpr std::array<std::string_view, 41> kFlatElements = {
    "area",     "base",     "br",        "col",    "embed",    "hr",     "img",
    "input",    "link",     "meta",      "param",  "source",   "track",  "wbr",
    "script",   "style",    "textarea",  "title",  "xmp",      "iframe", "noembed",
    "noframes", "noscript", "plaintext", "p",      "li",       "dt",     "dd",
    "tr",       "td",       "th",        "option", "optgroup", "thead",  "tbody",
    "tfoot",    "colgroup", "rb",        "rt",     "rtc",      "rp"};

struct STag {
  size_t nEnd = 0;  // one past the '>' (or the end of the text)
  bool bClosing = false;
  bool bFlat = false;  // of an element that never makes the tree deeper
  bool Opens() const { return !bClosing && !bFlat; }
  bool Closes() const { return bClosing && !bFlat; }
};

// Reads the tag that starts at sHtml[nAt] == '<'; nullopt when it is no tag
// (text, a comment or a declaration).
std::optional<STag> ReadTag(std::string_view sHtml, size_t nAt) {
  size_t i = nAt + 1;
  STag tag;
  if (i < sHtml.size() && sHtml[i] == '/') {
    tag.bClosing = true;
    ++i;
  }
  const size_t nName = i;
  while (i < sHtml.size() && std::isalnum(static_cast<unsigned char>(sHtml[i]))) ++i;
  if (i == nName || !std::isalpha(static_cast<unsigned char>(sHtml[nName]))) return std::nullopt;
  std::string sName(sHtml.substr(nName, i - nName));
  std::transform(sName.begin(), sName.end(), sName.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const size_t nClose = sHtml.find('>', i);
  tag.nEnd = nClose == std::string_view::npos ? sHtml.size() : nClose + 1;
  const bool bSelfClosing =
      nClose != std::string_view::npos && nClose > i && sHtml[nClose - 1] == '/';
  tag.bFlat = (bSelfClosing && !tag.bClosing) ||
              std::find(kFlatElements.begin(), kFlatElements.end(), sName) != kFlatElements.end();
  return tag;
}

// The text with every tag that would open a level beyond kMaxHtmlDepth left
// out, with as many end tags after them; the text between stays. Null when
// nothing is that deep, which is every ordinary page.
std::optional<std::string> Flattened(std::string_view sHtml) {
  size_t nDepth = 0;
  size_t nDropped = 0;  // levels left out that end tags still have to close
  std::string sOut;
  bool bDeep = false;
  size_t nCopied = 0;
  for (size_t nAt = sHtml.find('<'); nAt != std::string_view::npos;
       nAt = sHtml.find('<', nAt + 1)) {
    const std::optional<STag> tag = ReadTag(sHtml, nAt);
    if (!tag) continue;
    bool bDrop = false;
    if (tag->Opens()) {
      bDrop = nDepth >= kMaxHtmlDepth;
      (bDrop ? nDropped : nDepth) += 1;
    } else if (tag->Closes() && nDropped > 0) {
      bDrop = true;
      --nDropped;
    } else if (tag->Closes() && nDepth > 0) {
      --nDepth;
    }
    if (bDrop) {
      bDeep = true;
      sOut.append(sHtml.substr(nCopied, nAt - nCopied));
      nCopied = tag->nEnd;
    }
    nAt = tag->nEnd - 1;
  }
  if (!bDeep) return std::nullopt;
  sOut.append(sHtml.substr(nCopied));
  return sOut;
}

}  // namespace

void SGumboOutputDeleter::operator()(GumboOutput* pOutput) const {
  gumbo_destroy_output(&kGumboDefaultOptions, pOutput);
}

CGumboDocument ParseHtml(std::string_view sHtml) {
  const std::optional<std::string> flat = Flattened(sHtml);
  const std::string_view sRead = flat ? std::string_view(*flat) : sHtml;
  return CGumboDocument(
      gumbo_parse_with_options(&kGumboDefaultOptions, sRead.data(), sRead.size()));
}

}  // namespace orv
