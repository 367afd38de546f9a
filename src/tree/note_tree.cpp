#include "tree/note_tree.h"

#include <stdexcept>
#include <tuple>

#include "model/note_keys.h"
#include "model/note_walk.h"

namespace orv {
namespace {}  // namespace

CNoteTree::CNoteTree(COrvellaDoc& doc, CUiPort& ui, CSettingsStore& settings, CTreeViewPort& view)
    : m_doc(doc), m_ui(ui), m_settings(settings), m_view(view) {}

CXMLTree& CNoteTree::CurrentFolder() {
  return const_cast<CXMLTree&>(static_cast<const CNoteTree&>(*this).CurrentFolder());
}

const CXMLTree& CNoteTree::CurrentFolder() const {
  const CXMLTree* pFolder = m_doc.Folders().Current();
  if (!pFolder) throw std::invalid_argument("the current folder index is outside the folder list");
  return *pFolder;
}

void CNoteTree::RefreshTree(bool bKeepScroll) {
  // The one place the open editor's text goes back before the pane shows a
  // note again, so no command can reload a note over what was typed.
  m_view.StoreEditorContent();
  CXMLTree& folder = CurrentFolder();
  if (bKeepScroll) {
    const auto [nHorizontal, nVertical] = m_view.ScrollPosition();
    folder.SetTreeScroll(nHorizontal, nVertical);
  }
  struct SRefreshing {
    bool& rbFlag;
    explicit SRefreshing(bool& rb) : rbFlag(rb) { rbFlag = true; }
    ~SRefreshing() { rbFlag = false; }
  } refreshing(m_bRefreshing);
  m_view.RefreshTree();
  const auto [nHorizontal, nVertical] = folder.TreeScroll();
  m_view.SetScrollPosition(nHorizontal, nVertical);
}

bool CNoteTree::IsShown(const XMLelement& note) const {
  bool bFound = false;
  ForEachShownNote(CurrentFolder(), [&](const XMLelement& shown) {
    bFound = &shown == &note;
    return !bFound;
  });
  return bFound;
}

std::vector<XMLelement*> CNoteTree::ShownChildren(XMLelement* pParent) {
  return orv::ShownChildren(CurrentFolder(), pParent);
}

std::vector<XMLelement*> ShownChildren(CXMLTree& folder, XMLelement* pParent) {
  std::vector<XMLelement*> shown;
  for (const auto& pChild : folder.GetNoteList(pParent))
    if (pChild->IsNote() && (folder.ShowsHidden() || !CarriesHide(*pChild)))
      shown.push_back(pChild.get());
  return shown;
}

XMLelement* CNoteTree::SelectedNote() {
  XMLelement* pSelected = nullptr;
  ForEachShownNote(CurrentFolder(), [&](XMLelement& note) {
    if (PropertyIs(note, kSelectedKey, "true")) pSelected = &note;
    return !pSelected;
  });
  return pSelected;
}

void CNoteTree::Select(XMLelement* pNote) {
  // Every note, hidden ones too: a hidden note may not stay selected unseen.
  WalkNotes(
      CurrentFolder().TopLevel(), [](const XMLelement&) { return false; },
      [&](XMLelement& note, const std::vector<size_t>&) {
        if (&note != pNote && PropertyIs(note, kSelectedKey, "true"))
          SetProperty(note, kSelectedKey, "false");
        return true;
      });
  if (pNote) SetProperty(*pNote, kSelectedKey, "true");
}

}  // namespace orv
