#include "tree/note_links.h"

#include <algorithm>
#include <array>

#include "model/note_keys.h"
#include "model/xml_element.h"

namespace orv {
namespace {

// How the Windows edition's editor knew a link, compared ignoring case.
constexpr std::array<std::string_view, 8> kLinkStarts = {"http://", "https://", "ftp://", "www.",
                                                         "mailto:", "file:",    "wais:",  "news:"};
// Sentence punctuation right after a link belongs to the sentence.
constexpr std::string_view kTrailing = ".,;:!?'";

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool StartsWithNoCase(std::string_view sText, std::string_view sStart) {
  return sText.size() >= sStart.size() &&
         std::equal(sStart.begin(), sStart.end(), sText.begin(), [](char a, char b) {
           return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
         });
}

bool EndsLink(char c) {
  return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '<' || c == '>' || c == 0x7f;
}

// The length of the link at the start of sText, 0 when none starts there.
size_t LinkLength(std::string_view sText) {
  const auto itStart = std::find_if(kLinkStarts.begin(), kLinkStarts.end(),
                                    [&](std::string_view s) { return StartsWithNoCase(sText, s); });
  if (itStart == kLinkStarts.end()) return 0;
  size_t nEnd = itStart->size();
  while (nEnd < sText.size() && !EndsLink(sText[nEnd])) ++nEnd;
  // A closing bracket stays when the link opened it (as in Wikipedia's addresses).
  const std::string_view sLink = sText.substr(0, nEnd);
  long nOpenRound =
      std::count(sLink.begin(), sLink.end(), '(') - std::count(sLink.begin(), sLink.end(), ')');
  long nOpenSquare =
      std::count(sLink.begin(), sLink.end(), '[') - std::count(sLink.begin(), sLink.end(), ']');
  for (; nEnd > itStart->size(); --nEnd) {
    const char c = sText[nEnd - 1];
    if (c == ')' && nOpenRound < 0)
      ++nOpenRound;
    else if (c == ']' && nOpenSquare < 0)
      ++nOpenSquare;
    else if (kTrailing.find(c) == std::string_view::npos)
      break;
  }
  return nEnd > itStart->size() ? nEnd : 0;
}

}  // namespace

std::vector<STextLink> FindTextLinks(std::string_view sText) {
  std::vector<STextLink> links;
  size_t nPos = 0;
  while (nPos < sText.size()) {
    const bool bWordStart = nPos == 0 || !IsAsciiAlnum(sText[nPos - 1]);
    const size_t nLength = bWordStart ? LinkLength(sText.substr(nPos)) : 0;
    if (nLength == 0) {
      ++nPos;
      continue;
    }
    links.push_back({nPos, nLength});
    nPos += nLength;
  }
  return links;
}

std::string FileLink(std::string_view sPath) {
  // "file:///" before a Windows drive; a Linux path brings its own root slash.
  std::string sLink = sPath.starts_with('/') ? "file://" : "file:///";
  for (char c : sPath) {
    if (c == ' ')
      sLink += "%20";
    else
      sLink += c;
  }
  return sLink;
}

std::string InternalLinkCaption(const CXMLTree& folder, const XMLelement& note) {
  std::vector<const XMLelement*> path{&note};
  XMLelement* pParent = nullptr;
  while (folder.FindParent(*path.back(), pParent) && pParent) path.push_back(pParent);
  std::string sCaption = folder.FolderName() + ":";
  for (auto it = path.rbegin(); it != path.rend(); ++it)
    sCaption += (it == path.rbegin() ? " " : "/") + GetProperty(**it, kNameKey);
  return sCaption;
}

}  // namespace orv
