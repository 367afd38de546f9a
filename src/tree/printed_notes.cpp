#include "tree/printed_notes.h"

#include "model/note_keys.h"
#include "tree/note_protection.h"

namespace orv {

std::vector<SPrintedNote> NotesToPrint(CNoteTree& tree, XMLelement& note, bool bSubnotes) {
  std::vector<SPrintedNote> printed;
  // Depth first with an explicit stack: notes may nest deeper than calls go.
  std::vector<std::pair<XMLelement*, size_t>> pending{{&note, 0}};
  while (!pending.empty()) {
    auto [pNote, nDepth] = pending.back();
    pending.pop_back();
    SPrintedNote& entry = printed.emplace_back(SPrintedNote{pNote,
                                                            nDepth,
                                                            MayStoreText(tree, *pNote),
                                                            GetProperty(*pNote, kNameKey),
                                                            GetProperty(*pNote, kTypeKey),
                                                            {}});
    if (entry.bContent) {
      if (CBaseContentNode* pContent = tree.CurrentFolder().ContentOf(*pNote))
        entry.sContent = pContent->GetContent();
    }
    if (!bSubnotes) break;
    const std::vector<XMLelement*> children = tree.ShownChildren(pNote);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      pending.emplace_back(*it, nDepth + 1);
  }
  return printed;
}

}  // namespace orv
