#pragma once
// Links as they stand in a note's text. Notes written by the Windows edition
// hold web, mail, file and internal links as plain text: its editor knew
// them by their look. We find them the same way, only to show and follow
// them; the text stays as it is.

#include <string>
#include <string_view>
#include <vector>

#include "model/xml_tree.h"

namespace orv {

// A link within a text, in bytes of its UTF-8.
struct STextLink {
  size_t nStart = 0;
  size_t nLength = 0;
  bool operator==(const STextLink&) const = default;
};

// The links that stand as plain text in sText ("https://…", "www.…",
// "mailto:…", "file:…", "wais://…"), in order. A link begins a word and
// ends before a blank or a quote; punctuation that closes a sentence after
// it is not part of it.
std::vector<STextLink> FindTextLinks(std::string_view sText);

// The link to a local file: "file://" and the absolute path, blanks as "%20".
std::string FileLink(std::string_view sPath);

// What an internal link to a note shows: its folder and its place there,
// "Work: Plans/2024".
std::string InternalLinkCaption(const CXMLTree& folder, const XMLelement& note);

}  // namespace orv
