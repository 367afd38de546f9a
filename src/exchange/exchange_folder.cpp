#include "exchange/exchange_folder.h"

#include <algorithm>
#include <charconv>

#include "model/note_keys.h"
#include "model/note_walk.h"

namespace orv {

void AddNodesAtLevels(CXMLTree& folder, XMLelement* pUnder,
                      const std::vector<SExchangeNode>& nodes) {
  // open[d] is the last note placed at depth d below pUnder.
  std::vector<XMLelement*> open;
  for (const SExchangeNode& node : nodes) {
    const size_t nDepth =
        static_cast<size_t>(std::clamp<int64_t>(node.nLevel, 0, static_cast<int64_t>(open.size())));
    open.resize(nDepth);
    XMLelement* pParent = nDepth ? open.back() : pUnder;
    const bool bKnownType = node.nType >= kContentText && node.nType <= kContentRtf;
    const int32_t nType = bKnownType ? node.nType : kContentText;
    XMLelement* pNote = folder.InsertNote(
        {.sName = node.sName, .nType = nType, .nContentClass = nType, .pParent = pParent});
    if (!pNote) continue;  // pUnder is not a note: the caller passes one of this folder
    folder.ContentOf(*pNote)->SetContent(node.sContent);
    if (!node.sDescription.empty()) SetProperty(*pNote, kDescriptionKey, node.sDescription);
    if (!node.sCreated.empty()) SetProperty(*pNote, kCreateTimeKey, node.sCreated);
    if (!node.sModified.empty()) SetProperty(*pNote, kModifyTimeKey, node.sModified);
    open.push_back(pNote);
  }
}

std::unique_ptr<CXMLTree> MakeFolder(std::string_view sName,
                                     const std::vector<SExchangeNode>& nodes,
                                     const SNoteDefaults& defaults) {
  auto pFolder = std::make_unique<CXMLTree>(std::string_view{}, defaults);
  // A new tree starts with "Note #1"; an imported folder holds only the file's notes.
  pFolder->DeleteNote(*pFolder->TopLevel().front());
  pFolder->SetFolderName(std::string(sName));
  AddNodesAtLevels(*pFolder, nullptr, nodes);
  return pFolder;
}

std::vector<SExchangeNode> FolderNodes(const CXMLTree& folder) {
  std::vector<SExchangeNode> nodes;
  WalkNotes(
      folder.TopLevel(), [](const XMLelement&) { return false; },
      [&](const XMLelement& note, const std::vector<size_t>& path) {
        SExchangeNode& node = nodes.emplace_back();
        node.sName = GetProperty(note, kNameKey);
        node.nLevel = static_cast<int64_t>(path.size()) - 1;
        const std::string sType = GetProperty(note, kTypeKey);
        std::from_chars(sType.data(), sType.data() + sType.size(), node.nType);
        const CBaseContentNode* pContent = folder.ContentOf(note);
        if (node.nType >= kContentText && node.nType <= kContentRtf && pContent)
          node.sContent = pContent->CachedContent();
        return true;
      });
  return nodes;
}

}  // namespace orv
