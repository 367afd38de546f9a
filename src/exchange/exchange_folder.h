#pragma once
// Between node records and a folder's notes: placing imported nodes by
// level, and listing a folder's notes with their levels for export.

#include <memory>
#include <string_view>
#include <vector>

#include "exchange/exchange_text.h"
#include "model/xml_tree.h"

namespace orv {

// Adds the nodes to `folder` below pUnder (the top level when null), in
// order. A node goes under the most recent node one level up; a level more
// than one deeper than the node before it counts as one deeper, a negative
// one as 0. No recursion and no allocation by level, so any level is safe.
void AddNodesAtLevels(CXMLTree& folder, XMLelement* pUnder, std::vector<SExchangeNode> nodes);

// A new folder named sName holding exactly these nodes.
std::unique_ptr<CXMLTree> MakeFolder(std::string_view sName, std::vector<SExchangeNode> nodes,
                                     const SNoteDefaults& defaults);

// A note as export writes it; the content stays the folder's.
struct SFolderNote {
  std::string sName;
  int64_t nLevel = 0;
  std::string_view sContent;
};

// The folder's notes in depth-first order with their depth as level; text,
// HTML and RTF notes carry their content, other types none.
std::vector<SFolderNote> FolderNotes(const CXMLTree& folder);

// Room enough for the notes' contents and the lines around them.
size_t ExportSize(const std::vector<SFolderNote>& notes);

}  // namespace orv
