#include "exchange/exchange_folder.h"

#include <algorithm>
#include <charconv>

#include "model/note_keys.h"
#include "model/note_walk.h"

namespace orv {

void AddNodesAtLevels(CXMLTree& folder, XMLelement* pUnder, std::vector<SExchangeNode> nodes) {
  // open[d] is the last note placed at depth d below pUnder.
  std::vector<XMLelement*> open;
  for (SExchangeNode& node : nodes) {
    const size_t nDepth =
        static_cast<size_t>(std::clamp<int64_t>(node.nLevel, 0, static_cast<int64_t>(open.size())));
    open.resize(nDepth);
    XMLelement* pParent = nDepth ? open.back() : pUnder;
    const bool bKnownType = node.nType >= kContentText && node.nType <= kContentRtf;
    const int32_t nType = bKnownType ? node.nType : kContentText;
    XMLelement* pNote = folder.InsertNote(
        {.sName = node.sName, .nType = nType, .nContentClass = nType, .pParent = pParent});
    if (!pNote) continue;  // pUnder is not a note: the caller passes one of this folder
    folder.ContentOf(*pNote)->SetContent(std::move(node.sContent));
    if (!node.sDescription.empty()) SetProperty(*pNote, kDescriptionKey, node.sDescription);
    if (!node.sCreated.empty()) SetProperty(*pNote, kCreateTimeKey, node.sCreated);
    if (!node.sModified.empty()) SetProperty(*pNote, kModifyTimeKey, node.sModified);
    open.push_back(pNote);
  }
}

std::unique_ptr<CXMLTree> MakeFolder(std::string_view sName, std::vector<SExchangeNode> nodes,
                                     const SNoteDefaults& defaults) {
  auto pFolder = std::make_unique<CXMLTree>(std::string_view{}, defaults);
  // A new tree starts with "Note #1"; an imported folder holds only the file's notes.
  pFolder->DeleteNote(*pFolder->TopLevel().front());
  pFolder->SetFolderName(std::string(sName));
  AddNodesAtLevels(*pFolder, nullptr, std::move(nodes));
  return pFolder;
}

std::vector<SFolderNote> FolderNotes(const CXMLTree& folder) {
  std::vector<SFolderNote> notes;
  WalkNotes(
      folder.TopLevel(), [](const XMLelement&) { return false; },
      [&](const XMLelement& note, const std::vector<size_t>& path) {
        SFolderNote& exported = notes.emplace_back();
        exported.sName = GetProperty(note, kNameKey);
        exported.nLevel = static_cast<int64_t>(path.size()) - 1;
        const std::string sType = GetProperty(note, kTypeKey);
        int32_t nType = -1;
        std::from_chars(sType.data(), sType.data() + sType.size(), nType);
        const CBaseContentNode* pContent = folder.ContentOf(note);
        if (nType >= kContentText && nType <= kContentRtf && pContent)
          exported.sContent = pContent->CachedContent();
        return true;
      });
  return notes;
}

size_t ExportSize(const std::vector<SFolderNote>& notes) {
  size_t nSize = 64;
  // The markers and fixed lines of a note take well under 160 bytes.
  for (const SFolderNote& note : notes) nSize += note.sName.size() + note.sContent.size() + 160;
  return nSize;
}

}  // namespace orv
